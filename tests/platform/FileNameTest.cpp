// Tests of the sanitiser for names taken from files.
#include <gtest/gtest.h>

#include "platform/FileName.h"

using platform::SafeFileName;

TEST(SafeFileName, ReplacesWhatCouldLeaveTheFolder)
{
    struct Row { std::string text; std::string expected; };
    const Row rows[] = {
        {"Northern Watch",    "Northern Watch"},    // blanks and letters stay
        {"Op. Blue 2",        "Op. Blue 2"},        // a single dot stays
        {"a\\b/c",            "a_b_c"},             // both separators
        {"..\\..\\etc",       "______etc"},         // no way up
        {"C:drive",           "C_drive"},
        {"what?*",            "what__"},
        {"tab\there\n",       "tab_here_"},
        {std::string("nul\0x", 5), "nul_x"},
        {"del\x7f",           "del_"},
        {"..",                "__"},
        {"...",               "___"},
        {".",                 "_"},
        {"a..b",              "a__b"},
        {".hidden",           ".hidden"},
        {"end.",              "end."},
        {"caf\xe9",           "caf\xe9"},           // bytes above 0x7F stay
        {"",                  ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        const std::string safe = SafeFileName(r.text);
        EXPECT_EQ(safe, r.expected);
        EXPECT_EQ(safe.size(), r.text.size());
    }
}
