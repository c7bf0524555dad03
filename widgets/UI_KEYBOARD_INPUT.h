// UI_KEYBOARD_INPUT.h: the keyboard device, through which every key reaches
// the window framework: each key becomes a key event (or the quit event for
// Ctrl-C), and Alt pressed and released alone becomes UI_CODE_MENU_KEY, which
// opens the menu bar. The translation of keys is in KeyTranslation.h.
#pragma once

#include <cstdint>

#include "widgets/UI_INPUT_MANAGER.h"

class UI_KEYBOARD_INPUT : public UI_INPUT_DEVICE {
public:
    // A device of type UI_KEY_EVENT in state (UI_DEVICE_ON or UI_DEVICE_OFF);
    // installs the keyboard and is ready once that worked.
    explicit UI_KEYBOARD_INPUT(int32_t state = UI_DEVICE_ON);
    // Removes the keyboard when it was installed.
    ~UI_KEYBOARD_INPUT() override;

    // UI_DEVICE_OFF and UI_DEVICE_ON set the device state; every message is
    // answered with the state.
    int32_t Event(UI_MESSAGE* event) override;

    // Puts at most one message per call, unless the device is off or there is
    // no input manager (keys are read and lost all the same):
    //   - a key: a key event (type UI_KEY_EVENT, the framework code, qualifier
    //     0, keyData with the shift bits and the raw library value) at the
    //     tail; the codes 0x2E03 (Ctrl-C) and 0 (Ctrl-Break) make it a
    //     UI_CODE_QUIT event at the head instead;
    //   - no key: Alt released after it was pressed with no key in between
    //     puts UI_CODE_MENU_KEY at the tail.
    void Poll() override;

    // The Alt tracker: ALT_IDLE, ALT_ALONE (Alt down, no key since),
    // ALT_CHORD (Alt down and a key came).
    enum : uint8_t { ALT_IDLE = 0, ALT_ALONE = 1, ALT_CHORD = 2 };
    uint8_t altState = ALT_IDLE;
};
