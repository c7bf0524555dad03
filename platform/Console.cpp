// Console.cpp: console keys through poll and a briefly raw terminal.
#include "platform/Console.h"

#include <cerrno>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace platform {

namespace {

// Puts a terminal into single-key mode (no line editing, no echo) while it
// lives and restores the settings it found. vmin 0 makes reads return at once.
class RawTerminal {
public:
    RawTerminal(int fd, cc_t vmin) : fd_(fd)
    {
        if (tcgetattr(fd_, &saved_) != 0)
            return;
        termios raw = saved_;
        raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
        raw.c_cc[VMIN] = vmin;
        raw.c_cc[VTIME] = 0;
        active_ = tcsetattr(fd_, TCSANOW, &raw) == 0;
    }
    ~RawTerminal()
    {
        if (active_)
            tcsetattr(fd_, TCSANOW, &saved_);
    }
    RawTerminal(const RawTerminal&) = delete;
    RawTerminal& operator=(const RawTerminal&) = delete;

private:
    int fd_;
    termios saved_{};
    bool active_ = false;
};

// Waits up to timeoutMs (-1: no limit) for input on fd. True when a read will
// not block; a hang-up or an error counts too, the read then tells which.
bool InputReady(int fd, int timeoutMs)
{
    pollfd watch{fd, POLLIN, 0};
    for (;;) {
        const int ready = poll(&watch, 1, timeoutMs);
        if (ready > 0)
            return true;
        if (ready == 0)
            return false;
        if (errno != EINTR)
            return true;   // let read report the error
    }
}

int ReadOneByte(int fd)
{
    unsigned char byte = 0;
    for (;;) {
        const ssize_t got = read(fd, &byte, 1);
        if (got == 1)
            return byte;
        if (got < 0 && errno == EINTR)
            continue;
        return NO_KEY;   // end of input or an error
    }
}

} // namespace

int ConsoleReadKey(int fd)
{
    if (isatty(fd)) {
        RawTerminal raw(fd, 0);
        if (!InputReady(fd, 0))
            return NO_KEY;
        return ReadOneByte(fd);
    }
    // A pipe or file: poll first, so that an open pipe with nothing in it
    // does not hold the caller.
    if (!InputReady(fd, 0))
        return NO_KEY;
    return ReadOneByte(fd);
}

int WaitForConsoleKey(int fd)
{
    if (!isatty(fd))
        return ConsoleReadKey(fd);
    RawTerminal raw(fd, 1);
    if (!InputReady(fd, -1))
        return NO_KEY;
    const int key = ReadOneByte(fd);
    if (key != NO_KEY)
        tcflush(fd, TCIFLUSH);   // the tail of an arrow or function key
    return key;
}

} // namespace platform
