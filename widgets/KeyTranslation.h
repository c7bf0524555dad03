// KeyTranslation.h: the translation of one keyboard-library key (Allegro 4's
// key number times 256 plus the character, with the library's shift flags)
// into the framework's PC keyboard code, shift bits and raw value. A pure
// function; reading keys from the library is in KeyInput.h.
//
// Framework key codes are PC keyboard codes: scan code times 256 plus the
// character (Enter 0x1C0D, Esc 0x011B, F1 0x3B00, Alt-F1 0x6800), the codes in
// which the framework's event and hot-key tables are written.
#pragma once

#include <cstdint>

// The library's shift flags that the translation reads.
constexpr int32_t LIB_SHIFT_FLAG = 0x0001;
constexpr int32_t LIB_CTRL_FLAG = 0x0002;
constexpr int32_t LIB_ALT_FLAG = 0x0004;
constexpr int32_t LIB_LOCK_FLAGS = 0x0700;   // scroll, num and caps lock

struct TranslatedKey {
    int32_t code;     // framework key code
    int32_t shifts;   // framework shift bits (alt 8, ctrl 4, shift 3)
    int32_t value;    // the library value, sign-extended from 16 bits
};

// The framework shift bits of library shift flags: alt 8, ctrl 4, shift 3,
// combined by OR; the lock and other flags give nothing.
int32_t FrameworkShifts(int32_t libraryShifts);

// Translates a library value (its low 16 bits, read as a signed 16-bit value:
// key number n = value >> 8, character c = value & 0xFF) under the library's
// shift flags. The lock flags never change the rule that applies; what is
// left of the flags chooses:
//   - Ctrl alone, Alt alone, or Shift alone where a key has a code of its own
//     for it: the PC code of that combination where the framework acts on it
//     (Ctrl-C 0x2E03, Ctrl-Tab 0x9400, Ctrl-F5 0x6200, Ctrl-arrows and Ctrl
//     editing keys, Alt-F4 0x6B00, Alt with a letter or digit for the hot keys,
//     Shift-Tab 0x0F00, Shift-F6 0x5900, Ctrl-Pause 0 ...), or where the
//     library value would read as such a code (Alt-F2 0x6900, Alt-F3 0x6A00,
//     Ctrl-F2 0x5F00, Ctrl-PgUp 0x84E0 ...); Ctrl-F1 gives 0x5E00 and Alt-F1
//     0x6800.
//   - otherwise Ctrl alone keeps the library value; Alt alone gives a
//     printable character (0x20 to 0x7E) and else keeps the library value.
//   - any other state (none, Shift, several modifiers): the key's code in the
//     plain table (Enter 0x1C0D, F1 0x3B00, k 0x1A5B, Ins 0x52E0, Del 0x53E0
//     ...), the cursor code of a keypad arrow key that brings no character,
//     else a printable character, else the library value.
// A library value kept as the code that would read as one of the framework's
// keys (FrameworkKeyCode) becomes 0xFF00 plus the key number instead, which no
// table holds: a key the framework does not know never acts as one it does.
TranslatedKey TranslateLibraryKey(int32_t libraryValue, int32_t libraryShifts);

// True for the codes the framework acts on: the key codes of the default event
// and hot-key tables, the quit codes 0x2E03 and 0, and the screenshot key
// Alt-F1 (0x6800).
bool FrameworkKeyCode(int32_t code);
