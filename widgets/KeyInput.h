// KeyInput.h: the thin layer over the keyboard and mouse library (Allegro 4):
// installing and removing the keyboard and the mouse, asking whether a key is
// waiting, and reading one key translated into a framework key code
// (KeyTranslation.h). The library is reached through KeyLibrary, which a test
// replaces to script keys and shift states.
#pragma once

#include <cstdint>

// The keyboard library the key layer reads.
class KeyLibrary {
public:
    virtual ~KeyLibrary() = default;
    // Installs the keyboard; true when it works.
    virtual bool Install() = 0;
    virtual void Remove() = 0;
    // True when a key is waiting to be read.
    virtual bool KeyWaiting() = 0;
    // Takes the next key: key number times 256 plus the character.
    virtual int32_t ReadKey() = 0;
    // The library's shift flags now.
    virtual int32_t Shifts() = 0;
};

// Installs library (nullptr: the real library) and returns the one it
// replaces, nullptr meaning the real library.
KeyLibrary* SetKeyLibrary(KeyLibrary* library);

// Installs the keyboard; true when it works (not before the library itself is
// started, nor without a keyboard driver). RemoveKeyboard undoes it.
bool InstallKeyboard();
void RemoveKeyboard();

// Installs the mouse: 1 when there is one, with the library's own pointer
// hidden (the framework draws the pointer itself), else 0. RemoveMouse undoes
// it. Always the real library.
int32_t InstallMouse();
void RemoveMouse();

// 1 when a key is waiting, with shifts set to 0; else 0 with shifts set to the
// framework shift bits of the current library shift flags.
int32_t KeyWaiting(int32_t& shifts);

// When a key is waiting, reads it and fills the three outputs with its
// framework code, shift bits (from the shift flags as the key is taken) and
// raw value; otherwise changes nothing.
void TranslateKey(int32_t& code, int32_t& shifts, int32_t& value);
