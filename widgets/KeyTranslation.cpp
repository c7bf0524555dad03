// KeyTranslation.cpp: the tables that turn the library's key numbers into PC
// keyboard codes, and the rules that choose among them.
#include "widgets/KeyTranslation.h"

#include <algorithm>
#include <array>

#include <allegro.h>

static_assert(LIB_SHIFT_FLAG == KB_SHIFT_FLAG && LIB_CTRL_FLAG == KB_CTRL_FLAG &&
              LIB_ALT_FLAG == KB_ALT_FLAG);
static_assert(LIB_LOCK_FLAGS == (KB_SCROLOCK_FLAG | KB_NUMLOCK_FLAG | KB_CAPSLOCK_FLAG));

namespace {

struct KeyCode {
    int32_t key;    // library key number
    int32_t code;   // framework key code
};

// Keys in the plain state (no modifier, Shift alone, or several together).
// The main-row digits 0, 3, 5, 7 and 9 give the keypad codes, K and L the
// bracket codes and T, U and V the characters 0x80 to 0x82, as they always
// have: windows that read these codes depend on them. Ins and Del give the
// grey-key codes that the string fields act on.
constexpr KeyCode PLAIN_CODES[] = {
    {KEY_D, 0x2064}, {KEY_G, 0x2267}, {KEY_H, 0x2368}, {KEY_K, 0x1A5B},
    {KEY_L, 0x1B5D}, {KEY_T, 0x1480}, {KEY_U, 0x1681}, {KEY_V, 0x2F82},
    {KEY_0, 0x5200}, {KEY_3, 0x5100}, {KEY_5, 0x4C00}, {KEY_7, 0x4700},
    {KEY_9, 0x4900},
    {KEY_0_PAD, 0x5200}, {KEY_3_PAD, 0x5100}, {KEY_5_PAD, 0x4C00}, {KEY_7_PAD, 0x4700},
    {KEY_9_PAD, 0x4900},
    {KEY_F1, 0x3B00}, {KEY_F2, 0x3C00}, {KEY_F3, 0x3D00}, {KEY_F4, 0x3E00},
    {KEY_F5, 0x3F00}, {KEY_F6, 0x4000}, {KEY_F7, 0x4100}, {KEY_F8, 0x4200},
    {KEY_F9, 0x4300}, {KEY_F10, 0x4400}, {KEY_F11, 0x8500}, {KEY_F12, 0x8600},
    {KEY_ESC, 0x011B}, {KEY_TILDE, 0x2960}, {KEY_MINUS, 0x4A2D}, {KEY_EQUALS, 0x4E2B},
    {KEY_BACKSPACE, 0x0E08}, {KEY_TAB, 0x0F09}, {KEY_OPENBRACE, 0x1A5B},
    {KEY_CLOSEBRACE, 0x1B5D}, {KEY_ENTER, 0x1C0D}, {KEY_STOP, 0x342E},
    {KEY_SLASH, 0xE02F}, {KEY_SPACE, 0x3920},
    {KEY_HOME, 0x47E0}, {KEY_END, 0x4FE0}, {KEY_PGUP, 0x49E0}, {KEY_PGDN, 0x51E0},
    {KEY_LEFT, 0x4B00}, {KEY_RIGHT, 0x4D00}, {KEY_UP, 0x4800}, {KEY_DOWN, 0x5000},
    {KEY_SLASH_PAD, 0xE02F}, {KEY_ASTERISK, 0x372A}, {KEY_MINUS_PAD, 0x4A2D},
    {KEY_PLUS_PAD, 0x4E2B}, {KEY_DEL_PAD, 0x5300}, {KEY_ENTER_PAD, 0xE00D},
    {KEY_INSERT, 0x52E0}, {KEY_DEL, 0x53E0},
};

// Keypad keys that act as cursor keys when they bring no character (Num Lock
// off, or Shift with Num Lock on), in the plain state.
constexpr KeyCode KEYPAD_CURSOR_CODES[] = {
    {KEY_1_PAD, 0x4F00}, {KEY_2_PAD, 0x5000}, {KEY_4_PAD, 0x4B00},
    {KEY_6_PAD, 0x4D00}, {KEY_8_PAD, 0x4800},
};

// Shift alone.
constexpr KeyCode SHIFT_CODES[] = {
    {KEY_TAB, 0x0F00},   // previous field
    {KEY_F6, 0x5900},    // previous field
};

// Ctrl alone. Grey keys give the PC's grey codes, keypad keys (whatever Num
// Lock says) the keypad codes. Ctrl-Pause is the PC's Ctrl-Break, code 0.
constexpr KeyCode CTRL_CODES[] = {
    {KEY_C, 0x2E03},    {KEY_PAUSE, 0x0000}, {KEY_TAB, 0x9400},    {KEY_SPACE, 0x3920},
    {KEY_F1, 0x5E00},   {KEY_F2, 0x5F00},    {KEY_F3, 0x6000},     {KEY_F4, 0x6100},
    {KEY_F5, 0x6200},   {KEY_F6, 0x6300},    {KEY_F8, 0x6500},
    {KEY_LEFT, 0x73E0}, {KEY_RIGHT, 0x74E0}, {KEY_HOME, 0x77E0},   {KEY_END, 0x75E0},
    {KEY_INSERT, 0x92E0}, {KEY_DEL, 0x93E0}, {KEY_PGUP, 0x84E0},
    {KEY_0_PAD, 0x9200}, {KEY_1_PAD, 0x7500}, {KEY_4_PAD, 0x7300}, {KEY_6_PAD, 0x7400},
    {KEY_7_PAD, 0x7700}, {KEY_8_PAD, 0x8D00}, {KEY_9_PAD, 0x8400}, {KEY_DEL_PAD, 0x9300},
};

// Alt alone: the hot-key letters and digits, the window keys Alt-F4 to
// Alt-F10, and PC codes for the keys whose library value would read as one
// of those.
constexpr KeyCode ALT_CODES[] = {
    {KEY_Q, 0x1000}, {KEY_W, 0x1100}, {KEY_E, 0x1200}, {KEY_R, 0x1300}, {KEY_T, 0x1400},
    {KEY_Y, 0x1500}, {KEY_U, 0x1600}, {KEY_I, 0x1700}, {KEY_O, 0x1800}, {KEY_P, 0x1900},
    {KEY_A, 0x1E00}, {KEY_S, 0x1F00}, {KEY_D, 0x2000}, {KEY_F, 0x2100}, {KEY_G, 0x2200},
    {KEY_H, 0x2300}, {KEY_J, 0x2400}, {KEY_K, 0x2500}, {KEY_L, 0x2600},
    {KEY_Z, 0x2C00}, {KEY_X, 0x2D00}, {KEY_C, 0x2E00}, {KEY_V, 0x2F00}, {KEY_B, 0x3000},
    {KEY_N, 0x3100}, {KEY_M, 0x3200},
    {KEY_1, 0x7800}, {KEY_2, 0x7900}, {KEY_3, 0x7A00}, {KEY_4, 0x7B00}, {KEY_5, 0x7C00},
    {KEY_6, 0x7D00}, {KEY_7, 0x7E00}, {KEY_8, 0x7F00}, {KEY_9, 0x8000}, {KEY_0, 0x8100},
    {KEY_MINUS, 0x8200}, {KEY_EQUALS, 0x8300}, {KEY_STOP, 0x3400}, {KEY_SPACE, 0x3920},
    {KEY_MINUS_PAD, 0x4A00}, {KEY_PLUS_PAD, 0x4E00},
    {KEY_F1, 0x6800}, {KEY_F2, 0x6900}, {KEY_F3, 0x6A00}, {KEY_F4, 0x6B00},
    {KEY_F5, 0x6C00}, {KEY_F6, 0x6D00}, {KEY_F7, 0x6E00}, {KEY_F8, 0x6F00},
    {KEY_F9, 0x7000}, {KEY_F10, 0x7100},
    {KEY_LEFT, 0x9B00}, {KEY_RIGHT, 0x9D00},
    {KEY_COMMA, 0x3300}, {KEY_SLASH, 0x3500}, {KEY_DEL, 0xA300}, {KEY_HOME, 0x9700},
    {KEY_PGUP, 0x9900},
};

// The codes the framework acts on: the default event table's key codes, the
// default hot-key table, the quit codes and the screenshot key.
constexpr std::array<int32_t, 91> FRAMEWORK_CODES = {
    // event table, in its order
    0x1C0D, 0x011B, 0x48E0, 0x4800, 0x50E0, 0x5000, 0x4BE0, 0x4B00, 0x4DE0, 0x4D00,
    0x0F00, 0x5900, 0x0F09, 0x6200, 0x6300, 0x92E0, 0x9200, 0x6500, 0x0E08, 0x53E0,
    0x9300, 0x93E0, 0x7300, 0x73E0, 0x9B00, 0x7400, 0x74E0, 0x9D00, 0x47E0, 0x7700,
    0x77E0, 0x4FE0, 0x7500, 0x75E0, 0x52E0, 0x49E0, 0x51E0, 0x6E00, 0x6F00, 0x6C00,
    0x6100, 0x0000, 0x2E03, 0x6B00, 0x6D00, 0x9400,
    // hot-key table: system button, minimize, maximize
    0x3400, 0x3920, 0x8200, 0x4A00, 0x7000, 0x8300, 0x4E00, 0x7100,
    // hot-key letters q to p, a to l, z to m; digits 1 to 0
    0x1000, 0x1100, 0x1200, 0x1300, 0x1400, 0x1500, 0x1600, 0x1700, 0x1800, 0x1900,
    0x1E00, 0x1F00, 0x2000, 0x2100, 0x2200, 0x2300, 0x2400, 0x2500, 0x2600,
    0x2C00, 0x2D00, 0x2E00, 0x2F00, 0x3000, 0x3100, 0x3200,
    0x7800, 0x7900, 0x7A00, 0x7B00, 0x7C00, 0x7D00, 0x7E00, 0x7F00, 0x8000, 0x8100,
    // the main loop's screenshot key, Alt-F1
    0x6800,
};

constexpr int32_t UNKNOWN_KEY_CODE = 0xFF00;   // plus the key number

// The code of key in table, or -1 when the table does not hold it.
template <size_t N>
int32_t FindCode(const KeyCode (&table)[N], int32_t key)
{
    for (const KeyCode& row : table) {
        if (row.key == key)
            return row.code;
    }
    return -1;
}

bool Printable(int32_t character)
{
    return character >= 0x20 && character <= 0x7E;
}

} // namespace

int32_t FrameworkShifts(int32_t libraryShifts)
{
    int32_t shifts = 0;
    if ((libraryShifts & LIB_ALT_FLAG) != 0)
        shifts |= 8;
    if ((libraryShifts & LIB_CTRL_FLAG) != 0)
        shifts |= 4;
    if ((libraryShifts & LIB_SHIFT_FLAG) != 0)
        shifts |= 3;
    return shifts;
}

bool FrameworkKeyCode(int32_t code)
{
    static const std::array<int32_t, FRAMEWORK_CODES.size()> sorted = [] {
        std::array<int32_t, FRAMEWORK_CODES.size()> codes = FRAMEWORK_CODES;
        std::sort(codes.begin(), codes.end());
        return codes;
    }();
    return std::binary_search(sorted.begin(), sorted.end(), code);
}

TranslatedKey TranslateLibraryKey(int32_t libraryValue, int32_t libraryShifts)
{
    const int32_t value = static_cast<int16_t>(static_cast<uint16_t>(libraryValue & 0xFFFF));
    const int32_t key = value >> 8;        // negative for values from 0x8000 up
    const int32_t character = value & 0xFF;
    const int32_t state = libraryShifts & ~LIB_LOCK_FLAGS;

    TranslatedKey result{value, FrameworkShifts(libraryShifts), value};
    int32_t code = -1;
    if (state == LIB_CTRL_FLAG) {
        code = FindCode(CTRL_CODES, key);
    } else if (state == LIB_ALT_FLAG) {
        code = FindCode(ALT_CODES, key);
        if (code < 0 && Printable(character))
            code = character;
    } else {
        if (state == LIB_SHIFT_FLAG)
            code = FindCode(SHIFT_CODES, key);
        if (code < 0)
            code = FindCode(PLAIN_CODES, key);
        if (code < 0 && character == 0)
            code = FindCode(KEYPAD_CURSOR_CODES, key);
        if (code < 0 && Printable(character))
            code = character;
    }

    if (code >= 0)
        result.code = code;
    else if (FrameworkKeyCode(value))
        result.code = UNKNOWN_KEY_CODE | key;   // value in the table: 0 <= key <= 0x9D
    return result;
}
