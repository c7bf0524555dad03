// FrameworkHooks.h: the outside services the window framework calls but does
// not have: UI_STORAGE, the store of named pictures; UI_HELP_SYSTEM, which
// shows a help topic; and UI_ERROR_SYSTEM, which reports a refused value.
// Each is reached through one pointer that is null unless the program (or a
// test) installs one; with none the framework does without.
#pragma once

#include <cstdint>

class UI_WIDGET;

// One object of a storage, open for reading. Closed when deleted.
class UI_STORAGE_OBJECT {
public:
    virtual ~UI_STORAGE_OBJECT() = default;
    // Reads a little-endian 16-bit value; false (value unchanged) when the
    // object ends first.
    virtual bool Load(uint16_t* value) = 0;
    // Reads count bytes; false when fewer remain (buffer then undefined).
    virtual bool Load(uint8_t* buffer, int32_t count) = 0;
};

class UI_STORAGE {
public:
    virtual ~UI_STORAGE() = default;
    // Enters the directory name; false when there is none.
    virtual bool ChangeDirectory(const char* name) = 0;
    // Opens the object name of the current directory for reading; null when
    // there is none. The caller deletes it.
    virtual UI_STORAGE_OBJECT* OpenObject(const char* name) = 0;

    int32_t storageError = 0;   // 0 while the storage is open without error

    // The framework's default storage; null when the program has none.
    static UI_STORAGE* defaultStorage;
};

class UI_HELP_SYSTEM {
public:
    virtual ~UI_HELP_SYSTEM() = default;
    // Shows helpTopic (0: the index) over the desktop.
    virtual void DisplayHelp(UI_WIDGET* desktop, int32_t helpTopic) = 0;
};

class UI_ERROR_SYSTEM {
public:
    virtual ~UI_ERROR_SYSTEM() = default;
    // Reports a refused value with the format and its two arguments; answers
    // UI_ERROR_LET_STAND when the user lets the value stand.
    virtual int32_t ReportError(UI_WIDGET* desktop, int32_t options, const char* format, const char* first,
                                const char* second) = 0;
};
constexpr int32_t UI_ERROR_LET_STAND = 0x20;

// The help system and the error system; null when there are none.
extern UI_HELP_SYSTEM* helpSystem;
extern UI_ERROR_SYSTEM* errorSystem;
