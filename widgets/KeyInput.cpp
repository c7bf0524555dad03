// KeyInput.cpp: the key layer over Allegro's keyboard and mouse, and the
// installed keyboard library.
#include "widgets/KeyInput.h"

#include <allegro.h>

#include "widgets/KeyTranslation.h"

namespace {

// Allegro's keyboard. Every call first checks that Allegro and its keyboard
// are there: its own calls crash before allegro_init, and keypressed answers
// true without a keyboard driver.
class AllegroKeyboard : public KeyLibrary {
public:
    bool Install() override
    {
        return system_driver != nullptr && install_keyboard() == 0;
    }
    void Remove() override
    {
        if (keyboard_driver != nullptr)
            remove_keyboard();
    }
    bool KeyWaiting() override
    {
        return keyboard_driver != nullptr && keypressed() != 0;
    }
    int32_t ReadKey() override
    {
        return keyboard_driver != nullptr ? readkey() : 0;
    }
    int32_t Shifts() override
    {
        return keyboard_driver != nullptr ? key_shifts : 0;
    }
};

KeyLibrary*& Installed()
{
    static KeyLibrary* installed = nullptr;
    return installed;
}

KeyLibrary& Library()
{
    static AllegroKeyboard allegro;
    KeyLibrary* installed = Installed();
    return installed != nullptr ? *installed : allegro;
}

} // namespace

KeyLibrary* SetKeyLibrary(KeyLibrary* library)
{
    KeyLibrary* previous = Installed();
    Installed() = library;
    return previous;
}

bool InstallKeyboard()
{
    return Library().Install();
}

void RemoveKeyboard()
{
    Library().Remove();
}

int32_t InstallMouse()
{
    if (system_driver == nullptr || install_mouse() < 0)
        return 0;
    show_mouse(nullptr);
    return 1;
}

void RemoveMouse()
{
    if (mouse_driver != nullptr)
        remove_mouse();
}

int32_t KeyWaiting(int32_t& shifts)
{
    KeyLibrary& library = Library();
    if (library.KeyWaiting()) {
        shifts = 0;
        return 1;
    }
    shifts = FrameworkShifts(library.Shifts());
    return 0;
}

void TranslateKey(int32_t& code, int32_t& shifts, int32_t& value)
{
    KeyLibrary& library = Library();
    if (!library.KeyWaiting())
        return;
    const int32_t libraryShifts = library.Shifts();   // as the key is taken
    const TranslatedKey key = TranslateLibraryKey(library.ReadKey(), libraryShifts);
    code = key.code;
    shifts = key.shifts;
    value = key.value;
}
