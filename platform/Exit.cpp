// Exit.cpp: the program ending and its test seam.
#include "platform/Exit.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
ExitHandler gExitHandler = nullptr;
}  // namespace

void ExitProgram(int code)
{
    std::fflush(stdout);
    if (gExitHandler != nullptr)
        gExitHandler(code);
    std::exit(code);
}

ExitHandler SetExitHandler(ExitHandler handler)
{
    const ExitHandler previous = gExitHandler;
    gExitHandler = handler;
    return previous;
}

}  // namespace platform
