// Console.h: key input from the console for the "Hit any key" prompts that
// start-up prints before any window exists. Keys inside the game come through
// the display's keyboard, not from here.
//
// Neither call ever hangs a run without a person at the keyboard: when the
// input is not a terminal (a pipe, a file, /dev/null, closed), nothing waits.
#pragma once

namespace platform {

// The answer when no key is there.
constexpr int NO_KEY = -1;

// Takes one key waiting on the console without waiting for one: the byte typed
// (0 to 255), or NO_KEY when nothing waits, at end of input, or on an error.
// On a terminal a single key counts, without Enter, and it is not echoed.
// fd: the input to read, standard input unless a test gives another.
int ConsoleReadKey(int fd = 0);

// On a terminal: waits until a key is pressed and returns it (the rest of a
// key's multi-byte sequence is dropped); NO_KEY if the terminal goes away.
// On anything else: returns at once what ConsoleReadKey gives.
int WaitForConsoleKey(int fd = 0);

} // namespace platform
