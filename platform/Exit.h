// Exit.h: ending the program with an exit code from deep inside start-up code
// (the INI reader, the resource indexing), behind a seam that tests replace so
// that they can see the ending without their own process ending.
#pragma once

namespace platform {

// Flushes standard output and ends the program with the code. Under a test
// handler it calls the handler instead; the handler must not return (a test
// handler throws), and if it does, the program still ends here.
[[noreturn]] void ExitProgram(int code);

// Installs a handler in place of the real ending and returns the previous one;
// nullptr restores the real ending.
using ExitHandler = void (*)(int code);
ExitHandler SetExitHandler(ExitHandler handler);

}  // namespace platform
