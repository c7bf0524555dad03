// UI_KEYBOARD_INPUT.cpp: the keyboard device's polling and its Alt tracker.
#include "widgets/UI_KEYBOARD_INPUT.h"

#include <climits>

#include "widgets/KeyInput.h"

namespace {

// No translation gives this code: TranslateKey left it, so no key was read.
constexpr int32_t NO_KEY = INT32_MIN;

// Key codes that end the program: Ctrl-C, and 0 (Ctrl-Break).
bool QuitKey(int32_t code)
{
    return code == 0x2E03 || code == 0;
}

} // namespace

UI_KEYBOARD_INPUT::UI_KEYBOARD_INPUT(int32_t state) : UI_INPUT_DEVICE(UI_KEY_EVENT, state)
{
    ready = InstallKeyboard() ? 1 : 0;
}

UI_KEYBOARD_INPUT::~UI_KEYBOARD_INPUT()
{
    if (ready != 0) {
        RemoveKeyboard();
        ready = 0;
    }
}

int32_t UI_KEYBOARD_INPUT::Event(UI_MESSAGE* event)
{
    if (event != nullptr && (event->type == UI_DEVICE_OFF || event->type == UI_DEVICE_ON))
        deviceState = event->type;
    return deviceState;
}

void UI_KEYBOARD_INPUT::Poll()
{
    if (ready == 0)
        return;
    const bool deliver = deviceState != UI_DEVICE_OFF && inputManager != nullptr;

    int32_t heldShifts = 0;
    if (KeyWaiting(heldShifts) == 0) {
        if ((heldShifts & UI_SHIFT_ALT) != 0) {
            if (altState == ALT_IDLE)
                altState = ALT_ALONE;
        } else {
            if (altState == ALT_ALONE && deliver) {
                const UI_MESSAGE menuKey(UI_CODE_MENU_KEY);
                inputManager->Put(&menuKey, UI_PUT_AT_TAIL);
            }
            altState = ALT_IDLE;
        }
        return;
    }

    if (altState == ALT_ALONE)
        altState = ALT_CHORD;   // Alt with a key: no menu key when it goes up
    UI_MESSAGE key(UI_KEY_EVENT);
    key.code = NO_KEY;
    TranslateKey(key.code, key.keyData.shifts, key.keyData.keyValue);
    // A key taken under Alt is a chord even when no poll saw Alt alone before
    // it (a slow pass): Alt going up then gives no menu key.
    if ((key.keyData.shifts & UI_SHIFT_ALT) != 0)
        altState = ALT_CHORD;
    if (key.code == NO_KEY || !deliver)
        return;   // the key went between the two calls, or is dropped
    if (QuitKey(key.code)) {
        key.type = UI_CODE_QUIT;
        inputManager->Put(&key, 0);
    } else {
        inputManager->Put(&key, UI_PUT_AT_TAIL);
    }
}
