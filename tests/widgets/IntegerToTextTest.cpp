// Tests of IntegerToText: signs only in radix 10, unsigned 32 bits in every
// other radix, the extremes, and radixes it cannot write.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "widgets/IntegerToText.h"

namespace {

TEST(IntegerToText, WritesDigitsInTheRadix)
{
    struct Row { int32_t value; int32_t radix; const char* text; };
    const Row rows[] = {
        {0, 10, "0"},
        {0, 2, "0"},
        {-42, 10, "-42"},
        {-1, 16, "FFFFFFFF"},            // no sign outside radix 10
        {255, 16, "FF"},
        {INT32_MAX, 10, "2147483647"},
        {INT32_MIN, 10, "-2147483648"},  // negated without overflow
        {INT32_MIN, 16, "80000000"},
        {-1, 2, "11111111111111111111111111111111"},   // 32 digits: the largest text
        {35, 36, "Z"},
        {-1, 36, "1Z141Z3"},
        {8, 8, "10"},
        {5, 1, ""},                      // radixes it cannot write: empty
        {5, 37, ""},
        {5, -10, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.value << " in radix " << r.radix);
        char buffer[33];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(IntegerToText(r.value, buffer, r.radix), buffer);
        EXPECT_EQ(std::string(buffer), r.text);
    }
    EXPECT_EQ(IntegerToText(1, nullptr, 10), nullptr);
}

} // namespace
