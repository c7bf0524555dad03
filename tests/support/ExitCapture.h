// ExitCapture.h: turns platform::ExitProgram into a C++ exception while it
// lives, so a test can check the exit code of code that ends the program:
//   ExitCapture capture;
//   EXPECT_EQ(capture.Run([&] { loader.Build(ini); }), 1);
#pragma once

#include <functional>

#include "platform/Exit.h"

class ExitCapture {
public:
    struct Exited { int code; };

    ExitCapture() { previous_ = platform::SetExitHandler(&Throw); }
    ~ExitCapture() { platform::SetExitHandler(previous_); }
    ExitCapture(const ExitCapture&) = delete;
    ExitCapture& operator=(const ExitCapture&) = delete;

    // Runs the code; answers the exit code it ended with, or -1 when it returned.
    int Run(const std::function<void()>& code)
    {
        try {
            code();
        } catch (const Exited& e) {
            return e.code;
        }
        return -1;
    }

private:
    static void Throw(int code) { throw Exited{code}; }
    platform::ExitHandler previous_ = nullptr;
};
