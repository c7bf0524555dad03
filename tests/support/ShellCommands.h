// ShellCommands.h: running shell commands from a test (xdotool under Xvfb):
// whether one succeeds, and the first line one prints.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// Runs a shell command; true when it succeeds.
inline bool Shell(const std::string& command)
{
    return std::system(command.c_str()) == 0;
}

// The first line a shell command prints, empty when none.
inline std::string FirstLine(const std::string& command)
{
    std::string line;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[128];
        if (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
            line = buffer;
        pclose(pipe);
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return line;
}
