// Tests of console key input: it never waits on a pipe, a file or a closed
// input, and on a terminal it takes single keys without Enter.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include "platform/Console.h"

using namespace platform;

namespace {

// Both ends of a pipe, closed when the test ends.
struct Pipe {
    int read = -1;
    int write = -1;
    Pipe()
    {
        int ends[2];
        if (pipe(ends) == 0) {
            read = ends[0];
            write = ends[1];
        }
    }
    ~Pipe()
    {
        CloseWriter();
        if (read >= 0)
            close(read);
    }
    void CloseWriter()
    {
        if (write >= 0)
            close(write);
        write = -1;
    }
};

// A pseudo-terminal: the test types on the master side and the code under
// test reads the slave side as its console.
struct PseudoTerminal {
    int master = -1;
    int slave = -1;
    PseudoTerminal()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            return;
        const char* name = ptsname(master);
        if (name != nullptr)
            slave = open(name, O_RDWR | O_NOCTTY);
    }
    ~PseudoTerminal()
    {
        CloseMaster();
        if (slave >= 0)
            close(slave);
    }
    void CloseMaster()
    {
        if (master >= 0)
            close(master);
        master = -1;
    }
    void Type(const char* keys) const { ASSERT_EQ(::write(master, keys, strlen(keys)), static_cast<ssize_t>(strlen(keys))); }
};

// Polls ConsoleReadKey for up to two seconds: the terminal driver hands typed
// keys to the slave side a moment after the master writes them.
int ReadKeySoon(int fd)
{
    for (int tries = 0; tries < 200; ++tries) {
        const int key = ConsoleReadKey(fd);
        if (key != NO_KEY)
            return key;
        usleep(10000);
    }
    return NO_KEY;
}

} // namespace

TEST(ConsoleKeys, PipeWithNothingWaitingAnswersAtOnce)
{
    Pipe input;
    ASSERT_GE(input.read, 0);
    EXPECT_EQ(ConsoleReadKey(input.read), NO_KEY);
    EXPECT_EQ(WaitForConsoleKey(input.read), NO_KEY);   // writer still open: must not block
}

TEST(ConsoleKeys, PipeHandsOutBytesOneByOne)
{
    Pipe input;
    ASSERT_GE(input.read, 0);
    ASSERT_EQ(write(input.write, "x\xff", 2), 2);
    EXPECT_EQ(WaitForConsoleKey(input.read), 'x');
    EXPECT_EQ(ConsoleReadKey(input.read), 0xFF);         // a byte, not a negative char
    EXPECT_EQ(ConsoleReadKey(input.read), NO_KEY);
}

TEST(ConsoleKeys, EndOfInputAndBadInputGiveNoKey)
{
    Pipe input;
    ASSERT_GE(input.read, 0);
    input.CloseWriter();
    EXPECT_EQ(ConsoleReadKey(input.read), NO_KEY);
    EXPECT_EQ(WaitForConsoleKey(input.read), NO_KEY);

    const int empty = open("/dev/null", O_RDONLY);
    ASSERT_GE(empty, 0);
    EXPECT_EQ(WaitForConsoleKey(empty), NO_KEY);
    close(empty);

    EXPECT_EQ(ConsoleReadKey(-1), NO_KEY);
    EXPECT_EQ(WaitForConsoleKey(-1), NO_KEY);
}

TEST(ConsoleKeys, TerminalTakesASingleKeyWithoutEnter)
{
    PseudoTerminal terminal;
    if (terminal.slave < 0)
        GTEST_SKIP() << "no pseudo-terminal on this machine";
    termios before{};
    ASSERT_EQ(tcgetattr(terminal.slave, &before), 0);

    EXPECT_EQ(ConsoleReadKey(terminal.slave), NO_KEY);
    terminal.Type("q");                                  // no line end
    EXPECT_EQ(WaitForConsoleKey(terminal.slave), 'q');
    terminal.Type("k");
    EXPECT_EQ(ReadKeySoon(terminal.slave), 'k');

    termios after{};
    ASSERT_EQ(tcgetattr(terminal.slave, &after), 0);
    EXPECT_EQ(after.c_lflag, before.c_lflag);            // line mode and echo restored
    EXPECT_EQ(after.c_cc[VMIN], before.c_cc[VMIN]);
}

TEST(ConsoleKeys, TerminalThatGoesAwayEndsTheWait)
{
    PseudoTerminal terminal;
    if (terminal.slave < 0)
        GTEST_SKIP() << "no pseudo-terminal on this machine";
    terminal.CloseMaster();
    EXPECT_EQ(WaitForConsoleKey(terminal.slave), NO_KEY);
}
