// Tests of SignatureRecord: setting and clearing bands at the absent level,
// folding records into per-band highs (order, offsets, saturation), and the
// saved form: its size, the key kept through a list round trip, byte for
// byte, and every cut refused.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "annex/SignatureRecord.h"
#include "support/Bytes.h"
#include "support/ReportCapture.h"

namespace {

constexpr int BANDS = SignatureRecord::BAND_COUNT;

// An out array prepared as the callers prepare it.
struct Levels {
    int16_t at[BANDS];
    Levels()
    {
        for (int16_t& level : at)
            level = SignatureRecord::ABSENT_LEVEL;
    }
};

TEST(SignatureRecord, NewRecordIsEmpty)
{
    const SignatureRecord record;
    EXPECT_EQ(record.GetKey(), 0);
    EXPECT_EQ(record.GetBandMask(), 0u);
    EXPECT_EQ(record.GetDirection(), 0);
    for (int band = 0; band < BANDS; ++band)
        EXPECT_EQ(record.GetBandLevel(band), 0) << band;
}

TEST(SignatureRecord, SetBandLevelAddsOrRemovesBands)
{
    struct Row {
        int16_t level;
        uint32_t expectedMask;
    };
    // Start from bands 0, 3 and 5 present; set bands 3 and 4.
    const Row rows[] = {
        {-32768, 0x21},   // at or below the absent level: out of the mask
        {-32767, 0x21},
        {-32766, 0x39},   // just above it: in
        {0, 0x39},
        {32767, 0x39},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.level);
        SignatureRecord record(1);
        record.SetBandLevel(0x29, 50);
        record.SetBandLevel(0x18, r.level);
        EXPECT_EQ(record.GetBandMask(), r.expectedMask);
        EXPECT_EQ(record.GetBandLevel(3), r.level);   // a removed band keeps the low level
        EXPECT_EQ(record.GetBandLevel(4), r.level);
        EXPECT_EQ(record.GetBandLevel(0), 50);
        EXPECT_EQ(record.GetBandLevel(5), 50);
        EXPECT_EQ(record.GetBandLevel(2), 0);
    }
}

TEST(SignatureRecord, MaskBitsAboveBand23AreIgnored)
{
    SignatureRecord record;
    record.SetBandLevel(0xFF800001, 40);   // bands 0 and 23 plus eight beyond
    EXPECT_EQ(record.GetBandMask(), 0x00800001u);
    EXPECT_EQ(record.GetBandLevel(23), 40);
    EXPECT_EQ(record.GetBandLevel(24), 0);
    EXPECT_EQ(record.GetBandLevel(-1), 0);

    Levels out;
    record.RaiseBandLevels(0xFFFFFFFF, out.at, 0);
    EXPECT_EQ(out.at[0], 40);
    EXPECT_EQ(out.at[23], 40);
}

TEST(SignatureRecord, RaiseKeepsTheHighestLevelPerBand)
{
    SignatureRecord low(1);
    low.SetBandLevel(0x8, 10);
    SignatureRecord high(2);
    high.SetBandLevel(0x8, 20);

    Levels one;
    low.RaiseBandLevels(0xFFFFFF, one.at, 0);
    high.RaiseBandLevels(0xFFFFFF, one.at, 0);
    Levels other;
    high.RaiseBandLevels(0xFFFFFF, other.at, 0);
    low.RaiseBandLevels(0xFFFFFF, other.at, 0);
    EXPECT_EQ(one.at[3], 20);
    EXPECT_EQ(other.at[3], 20);
    EXPECT_EQ(one.at[2], SignatureRecord::ABSENT_LEVEL);
}

TEST(SignatureRecord, RaiseTouchesOnlyBandsInBothMasks)
{
    SignatureRecord record;
    record.SetBandLevel(0x6, 100);          // bands 1 and 2
    record.SetBandLevel(0x8, -32767);       // band 3 set to the absent level, not present

    Levels out;
    record.RaiseBandLevels(0x9, out.at, 0);   // bands 0 and 3: the record has neither
    for (int band = 0; band < BANDS; ++band)
        EXPECT_EQ(out.at[band], SignatureRecord::ABSENT_LEVEL) << band;

    record.RaiseBandLevels(0x4, out.at, 0);
    EXPECT_EQ(out.at[1], SignatureRecord::ABSENT_LEVEL);
    EXPECT_EQ(out.at[2], 100);
}

TEST(SignatureRecord, RaiseAddsTheOffset)
{
    struct Row {
        int16_t level;
        int16_t offset;
        int16_t before;
        int16_t expected;
    };
    const Row rows[] = {
        {10, 5, -32767, 15},
        {10, -5, -32767, 5},
        {10, -5, 5, 5},            // not greater: kept
        {10, -5, 4, 5},
        {-32766, -32768, -32768, -32768},   // the sum lies below every level
        // The sum passes 32767: it used to wrap to -32536 and stay below out.
        {32000, 1000, 100, 32767},
        {32767, 32767, -32767, 32767},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.level << " + " << r.offset << " over " << r.before);
        SignatureRecord record;
        record.SetBandLevel(0x1, r.level);
        int16_t out[BANDS] = {};
        out[0] = r.before;
        record.RaiseBandLevels(0x1, out, r.offset);
        EXPECT_EQ(out[0], r.expected);
    }
}

TEST(SignatureRecord, RaiseIntoNullIsReported)
{
    ReportCapture reports;
    SignatureRecord record;
    record.SetBandLevel(0x1, 1);
    record.RaiseBandLevels(0x1, nullptr, 0);
    ASSERT_EQ(reports.fatals.size(), 1u);
    EXPECT_EQ(reports.fatals[0], "SignatureRecord::RaiseBandLevels: out is NULL");
}

// ---------------------------------------------------------------------------
// Saved form

SignatureRecord* Sample(uint16_t key, int16_t base)
{
    auto* record = new SignatureRecord(key);
    for (int band = 0; band < BANDS; band += 3)
        record->SetBandLevel(uint32_t{1} << band, static_cast<int16_t>(base + band));
    record->SetBandLevel(uint32_t{1} << 23, -32767);   // level kept, band absent
    record->SetDirection(1800);
    return record;
}

TEST(SignatureRecordSave, WritesTheKeyThenFiftyTwoBytes)
{
    SignatureRecord record(0x0A0B);
    record.SetBandLevel(0x1, -2);
    record.SetBandLevel(0x800000, 0x1234);
    record.SetDirection(900);   // not saved

    std::ostringstream out;
    record.Save(out);
    std::string expected = Bytes({0x0B, 0x0A, 0xFE, 0xFF});
    expected += std::string(2 * 22, '\0');
    expected += Bytes({0x34, 0x12, 0x01, 0x00, 0x80, 0x00});
    EXPECT_EQ(out.str(), expected);
    EXPECT_EQ(static_cast<int64_t>(out.str().size()), SignatureRecord::SAVED_BYTES);
    EXPECT_EQ(SignatureRecord::SAVED_BYTES, 2 + 52);
}

TEST(SignatureRecordSave, ListKeepsKeysAndRoundTripsByteForByte)
{
    SignatureList list;
    SignatureRecord* const a = Sample(7, 100);
    SignatureRecord* const b = Sample(3, -200);
    list.Insert(a);
    list.Insert(b);

    std::ostringstream out;
    ASSERT_TRUE(list.Save(out));
    const std::string saved = out.str();
    ASSERT_EQ(static_cast<int64_t>(saved.size()), 2 + 2 * SignatureRecord::SAVED_BYTES);

    std::istringstream in(saved);
    SignatureList loaded;
    ASSERT_TRUE(loaded.Load(in));
    // Entries are found again by unit: the keys came back, not 0.
    for (const SignatureRecord* original : {a, b}) {
        const SignatureRecord* const copy = loaded.Find(original->GetKey());
        ASSERT_NE(copy, nullptr) << original->GetKey();
        EXPECT_EQ(copy->GetBandMask(), original->GetBandMask());
        for (int band = 0; band < BANDS; ++band)
            EXPECT_EQ(copy->GetBandLevel(band), original->GetBandLevel(band)) << band;
        EXPECT_EQ(copy->GetDirection(), 0);   // rebuilt at the next scan
    }
    EXPECT_EQ(loaded.Find(0), nullptr);
    EXPECT_EQ(loaded.GetLastKey(), 7);

    std::ostringstream again;
    ASSERT_TRUE(loaded.Save(again));
    EXPECT_EQ(again.str(), saved);
}

TEST(SignatureRecordSave, EveryCutIsRefused)
{
    SignatureList list;
    list.Insert(Sample(1, 5));
    list.Insert(Sample(2, 6));
    std::ostringstream out;
    ASSERT_TRUE(list.Save(out));
    const std::string saved = out.str();

    for (size_t length = 0; length < saved.size(); ++length) {
        SCOPED_TRACE(testing::Message() << "cut at " << length);
        std::istringstream in(saved.substr(0, length));
        SignatureList loaded;
        EXPECT_FALSE(loaded.Load(in));
        // Only records read whole are listed: the first, once its bytes are all there.
        const bool firstWhole = static_cast<int64_t>(length) >= 2 + SignatureRecord::SAVED_BYTES;
        EXPECT_EQ(loaded.Find(1) != nullptr, firstWhole);
        EXPECT_EQ(loaded.Find(2), nullptr);
    }
}

TEST(SignatureRecordSave, ShortReadLeavesTheRecordAsItWas)
{
    std::ostringstream out;
    SignatureRecord(9).Save(out);
    std::istringstream in(out.str().substr(0, SignatureRecord::SAVED_BYTES - 1));

    SignatureRecord record(4);
    record.SetBandLevel(0x3, 77);
    record.SetDirection(450);
    EXPECT_FALSE(record.Load(in));
    EXPECT_EQ(record.GetKey(), 4);
    EXPECT_EQ(record.GetBandMask(), 0x3u);
    EXPECT_EQ(record.GetBandLevel(1), 77);
    EXPECT_EQ(record.GetDirection(), 450);
}

TEST(SignatureRecordSave, LoadDropsMaskBitsBeyondTheBands)
{
    std::string bytes = Bytes({0x05, 0x00});
    bytes += std::string(2 * BANDS, '\0');
    bytes += Bytes({0x01, 0x00, 0x00, 0xFF});   // band 0 and bits 24 to 31
    std::istringstream in(bytes);
    SignatureRecord record;
    ASSERT_TRUE(record.Load(in));
    EXPECT_EQ(record.GetKey(), 5);
    EXPECT_EQ(record.GetBandMask(), 0x1u);
}

}  // namespace
