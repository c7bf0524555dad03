// Tests of the stream field wrappers and the plain-integer helpers: exact
// widths and little-endian bytes, round trips, short reads that leave the
// value alone, and comparisons.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/StreamFields.h"
#include "support/Bytes.h"

namespace {

template <typename Field>
std::string Saved(Field field)
{
    std::ostringstream out;
    field.Save(out);
    return out.str();
}

// Saves value, checks the bytes, loads them back into a field holding
// something else, and checks every shorter cut leaves the field unchanged.
template <typename Field, typename Value>
void CheckField(Value value, const std::string& expected)
{
    SCOPED_TRACE(testing::Message() << "value " << static_cast<int64_t>(value));
    EXPECT_EQ(Saved(Field(value)), expected);

    std::istringstream in(expected);
    Field loaded(static_cast<Value>(7));
    EXPECT_TRUE(loaded.Load(in));
    EXPECT_EQ(loaded.Get(), value);
    EXPECT_EQ(in.peek(), EOF);   // nothing more was read

    for (size_t cut = 0; cut < expected.size(); ++cut) {
        std::istringstream shortIn(expected.substr(0, cut));
        Field untouched(static_cast<Value>(7));
        EXPECT_FALSE(untouched.Load(shortIn)) << "cut at " << cut;
        EXPECT_EQ(untouched.Get(), 7) << "cut at " << cut;
    }
}

}  // namespace

TEST(StreamFields, EachWidthIsItsBytesLeastSignificantFirst)
{
    CheckField<StreamLong>(int32_t{0}, Bytes({0, 0, 0, 0}));
    CheckField<StreamLong>(int32_t{-2}, Bytes({0xFE, 0xFF, 0xFF, 0xFF}));
    CheckField<StreamLong>(INT32_MIN, Bytes({0, 0, 0, 0x80}));
    CheckField<StreamLong>(INT32_MAX, Bytes({0xFF, 0xFF, 0xFF, 0x7F}));
    CheckField<StreamInt32>(uint32_t{0x12345678}, Bytes({0x78, 0x56, 0x34, 0x12}));
    CheckField<StreamInt32>(UINT32_MAX, Bytes({0xFF, 0xFF, 0xFF, 0xFF}));
    CheckField<StreamShort>(int16_t{-2}, Bytes({0xFE, 0xFF}));
    CheckField<StreamShort>(INT16_MIN, Bytes({0x00, 0x80}));
    CheckField<StreamInt16>(uint16_t{0x1234}, Bytes({0x34, 0x12}));
    CheckField<StreamInt16>(UINT16_MAX, Bytes({0xFF, 0xFF}));
    CheckField<StreamByte>(int8_t{-128}, Bytes({0x80}));
    CheckField<StreamByte>(int8_t{127}, Bytes({0x7F}));
    CheckField<StreamInt8>(uint8_t{0xAB}, Bytes({0xAB}));
}

TEST(StreamFields, FieldsFollowOneAnotherWithoutPadding)
{
    std::ostringstream out;
    StreamInt8(1).Save(out);
    StreamLong(-1).Save(out);
    StreamInt16(0x0302).Save(out);
    EXPECT_EQ(out.str(), Bytes({1, 0xFF, 0xFF, 0xFF, 0xFF, 2, 3}));

    std::istringstream in(out.str());
    StreamInt8 a;
    StreamLong b;
    StreamInt16 c;
    a.Load(in);
    b.Load(in);
    c.Load(in);
    EXPECT_TRUE(in);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, -1);
    EXPECT_EQ(c, 0x0302);
}

TEST(StreamFields, LoadOnAFailedStreamReadsNothing)
{
    std::istringstream in(Bytes({1, 2, 3, 4}));
    in.setstate(std::ios::failbit);
    StreamLong field(9);
    field.Load(in);
    EXPECT_EQ(field, 9);
}

TEST(StreamFields, ComparisonsAndAssignmentUseTheWholeValue)
{
    StreamInt16 a(0x1234);
    StreamInt16 b(0x1235);
    EXPECT_TRUE(a != b);
    EXPECT_FALSE(a == b);
    b = a;
    EXPECT_TRUE(a == b);
    StreamByte c(-1);
    StreamByte d(static_cast<int8_t>(0x7F));
    EXPECT_TRUE(c != d);
    EXPECT_TRUE(StreamLong(-5) == StreamLong(-5));
    EXPECT_TRUE(StreamInt8(200) == StreamInt8(200));
}

TEST(StreamFields, PlainIntegerHelpersRoundTrip)
{
    std::ostringstream out;
    SaveField(out, int32_t{-123456});
    SaveField(out, uint16_t{0xBEEF});
    SaveField(out, uint8_t{5});
    EXPECT_EQ(out.str(), Bytes({0xC0, 0x1D, 0xFE, 0xFF, 0xEF, 0xBE, 5}));

    std::istringstream in(out.str());
    int32_t a = 0;
    uint16_t b = 0;
    uint8_t c = 0;
    EXPECT_TRUE(LoadField(in, a));
    EXPECT_TRUE(LoadField(in, b));
    EXPECT_TRUE(LoadField(in, c));
    EXPECT_EQ(a, -123456);
    EXPECT_EQ(b, 0xBEEF);
    EXPECT_EQ(c, 5);

    uint16_t untouched = 77;
    EXPECT_FALSE(LoadField(in, untouched));   // stream exhausted
    EXPECT_EQ(untouched, 77);
}
