// FuelTankTest.cpp: a unit's fuel tank: building it from a fuel.dat record,
// drawing fuel in the three count modes across whole counts and partials,
// the time it lasts at a rate, and its saved form by file version and header
// flag, with every damaged form refused.
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "annex/AnnexTables.h"
#include "core/Chain.h"
#include "core/ScenarioAdmin.h"
#include "support/Bytes.h"
#include "units/FuelTank.h"

namespace {

// Fuel type codes the rows use.
constexpr uint32_t NO_FUEL = 0;
constexpr uint32_t DIESEL = 1;
constexpr uint32_t BATTERY = 4;
constexpr uint32_t AVIATION = 7;
constexpr uint32_t TORPEDO = 9;
constexpr uint32_t UNKNOWN = 12;

// Installs a header object with the given file version and flag byte as
// gAdmin for its lifetime, and puts the one it replaced back.
class AdminScope {
public:
    explicit AdminScope(VersionNumber version = VersionNumber(3, 6, 3, 0), uint8_t flag = 0)
        : previous_(gAdmin)
    {
        admin_.SetFileVersion(version);
        admin_.SetShortHeader(flag);
        gAdmin = &admin_;
    }
    ~AdminScope() { gAdmin = previous_; }
    AdminScope(const AdminScope&) = delete;
    AdminScope& operator=(const AdminScope&) = delete;

private:
    ScenarioAdmin admin_;
    ScenarioAdmin* previous_;
};

// The scenario's fuel table holds one record per fuel type code used here:
// record id = 100 + code, capacity = 10 x (code + 1).
class FuelTankTest : public testing::Test {
protected:
    void SetUp() override
    {
        Annex::Tables().Create();
        for (uint32_t code : {NO_FUEL, DIESEL, BATTERY, AVIATION, TORPEDO, UNKNOWN}) {
            FuelAnnex* record = new FuelAnnex(static_cast<uint16_t>(100 + code));
            record->fuelType = code;
            record->capacity = 10 * (code + 1);
            Annex::Tables().Fuels()->Insert(record);
        }
    }
    void TearDown() override { Annex::Tables().Delete(); }

    // A tank of the given type holding count and partial.
    static FuelTank Tank(uint32_t fuelType, uint32_t count, uint32_t partial)
    {
        FuelTank tank(static_cast<uint16_t>(100 + fuelType));
        tank.SetCount(count);
        tank.SetPartial(partial);
        return tank;
    }

    AdminScope admin;
};

std::string Saved(const FuelTank& tank)
{
    std::ostringstream out;
    EXPECT_TRUE(tank.Save(out));
    return out.str();
}

// A little-endian u32 as four bytes.
std::string U32(uint32_t v)
{
    return Bytes({static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF), static_cast<int>(v >> 24)});
}

}  // namespace

TEST_F(FuelTankTest, IsBuiltFullFromItsFuelRecord)
{
    const FuelTank blank;
    EXPECT_EQ(blank.GetFuelType(), 1u);
    EXPECT_EQ(blank.GetCapacity(), 0u);
    EXPECT_EQ(blank.GetCount(), 0u);
    EXPECT_EQ(blank.GetPartial(), 0u);

    const FuelTank diesel(101);
    EXPECT_EQ(diesel.GetFuelType(), DIESEL);
    EXPECT_EQ(diesel.GetCapacity(), 20u);
    EXPECT_EQ(diesel.GetCount(), 20u);
    EXPECT_EQ(diesel.GetPartial(), 0u);

    // A record the table lacks, and no table at all: an empty tank of no fuel.
    const FuelTank missing(999);
    EXPECT_EQ(missing.GetFuelType(), NO_FUEL);
    EXPECT_EQ(missing.GetCapacity(), 0u);
    EXPECT_EQ(missing.GetCount(), 0u);
    Annex::Tables().Delete();
    const FuelTank noTable(101);
    EXPECT_EQ(noTable.GetFuelType(), NO_FUEL);
    EXPECT_EQ(noTable.GetCount(), 0u);
}

TEST_F(FuelTankTest, ConsumeDrawsPartialFirstThenWholeCounts)
{
    enum Mode { TABLE, RAW, HUNDRED, BOTH };
    struct Row {
        const char* what;
        uint32_t fuelType, count, partial, amount;
        Mode mode;
        bool ok;
        uint32_t countAfter, partialAfter;
    };
    const Row rows[] = {
        {"partial alone",               DIESEL,   5, 100, 100,       TABLE,   true,  5, 0},
        {"two counts for one (+1)",     DIESEL,   2, 0,   36000,     TABLE,   true,  0, 36000},
        {"then from partial",           DIESEL,   0, 36000, 36000,   TABLE,   true,  0, 0},
        {"partial then counts",         DIESEL,   3, 10,  36010,     TABLE,   true,  1, 36000},
        {"short by one unit",           DIESEL,   0, 10,  11,        TABLE,   false, 0, 0},
        {"counts run out",              DIESEL,   1, 0,   36000,     TABLE,   false, 0, 0},
        {"battery, one unit a count",   BATTERY,  10, 0,  4,         TABLE,   true,  5, 1},
        {"raw: no conversion",          DIESEL,   5, 0,   3,         RAW,     true,  2, 0},
        {"raw: partial then units",     DIESEL,   5, 2,   6,         RAW,     true,  1, 0},
        {"raw: every unit",             DIESEL,   5, 0,   5,         RAW,     true,  0, 0},
        {"raw: one unit short",         DIESEL,   5, 0,   6,         RAW,     false, 0, 0},
        {"hundreds: from partial",      AVIATION, 3, 500, 250,       HUNDRED, true,  3, 250},
        {"hundreds: across counts",     AVIATION, 3, 50,  250,       HUNDRED, true,  0, 100},
        {"hundreds: one count short",   AVIATION, 2, 50,  250,       HUNDRED, false, 0, 0},
        {"raw wins over hundreds",      AVIATION, 5, 0,   3,         BOTH,    true,  2, 0},
        // Torpedo fuel has 0 units a count: it used to divide by zero; it is
        // now drawn in raw units.
        {"torpedo fuel in table mode",  TORPEDO,  100, 0, 30,        TABLE,   true,  70, 0},
        {"torpedo fuel runs out",       TORPEDO,  3, 1,   5,         TABLE,   false, 0, 0},
        // A code above 9 used to read past the table; it counts one unit.
        {"unknown fuel code",           UNKNOWN,  10, 0,  4,         TABLE,   true,  5, 1},
        // One unit a count: the +1 used to wrap the counts needed to 0, so
        // the draw succeeded and left a wrapped partial of 1.
        {"largest draw, unit counts",   BATTERY,  UINT32_MAX, 0, UINT32_MAX, TABLE, false, 0, 0},
        {"largest draw, diesel",        DIESEL,   UINT32_MAX, 0, UINT32_MAX, TABLE, true,
         UINT32_MAX - 119305, 12705},   // 119305 counts drawn
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        FuelTank tank = Tank(r.fuelType, r.count, r.partial);
        const bool raw = r.mode == RAW || r.mode == BOTH;
        const bool hundred = r.mode == HUNDRED || r.mode == BOTH;
        EXPECT_EQ(tank.Consume(r.amount, raw, hundred), r.ok);
        EXPECT_EQ(tank.GetCount(), r.countAfter);
        EXPECT_EQ(tank.GetPartial(), r.partialAfter);
        EXPECT_EQ(tank.GetFuelType(), r.fuelType);
    }
}

// Over many draws of uneven size, every successful draw lowers what the tank
// holds in base units by exactly the amount, whatever counts it breaks into.
TEST_F(FuelTankTest, ConsumeKeepsEveryBaseUnitAcrossCounts)
{
    struct Row { uint32_t fuelType; bool raw, hundred; uint32_t count; };
    const Row rows[] = {
        {DIESEL, false, false, 40},
        {AVIATION, false, true, 500},
        {BATTERY, false, false, 3000},
        {TORPEDO, false, false, 3000},
        {UNKNOWN, false, false, 3000},
        {DIESEL, true, false, 3000},
    };
    const uint32_t amounts[] = {1, 99, 100, 101, 7000, 35999, 36000, 36001, 0, 250};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "fuel type " << r.fuelType << (r.raw ? " raw" : "")
                                        << (r.hundred ? " per hundred" : ""));
        FuelTank tank = Tank(r.fuelType, r.count, 0);
        int draws = 0;
        for (int step = 0; step < 1000; ++step) {
            const uint32_t amount = amounts[step % 10];
            const uint32_t before = tank.GetRemaining(0, r.raw, r.hundred);
            if (!tank.Consume(amount, r.raw, r.hundred)) {
                // A tank holding exactly the amount cannot give it in whole
                // counts: the draw takes one count more than the quotient.
                EXPECT_LE(before, amount);
                EXPECT_EQ(tank.GetRemaining(0, r.raw, r.hundred), 0u);
                break;
            }
            ++draws;
            ASSERT_EQ(tank.GetRemaining(0, r.raw, r.hundred), before - amount);
        }
        EXPECT_GT(draws, 2);
        EXPECT_EQ(tank.GetCount(), 0u);   // every tank ran dry within the steps
    }
}

TEST_F(FuelTankTest, RemainingIsTheAmountTimesSixtyOverTheRate)
{
    enum Mode { TABLE, RAW, HUNDRED };
    struct Row {
        const char* what;
        uint32_t fuelType, count, partial, rate;
        Mode mode;
        uint32_t expected;
    };
    const Row rows[] = {
        {"aviation, rate 0",           AVIATION, 3, 500, 0,   HUNDRED, 800},
        {"aviation, rate 60",          AVIATION, 3, 500, 60,  HUNDRED, 800},
        {"diesel, an hour's count",    DIESEL,   1, 0,   600, TABLE,   3600},
        {"truncates",                  DIESEL,   0, 7,   120, TABLE,   3},
        {"raw counts units",           DIESEL,   5, 2,   0,   RAW,     7},
        {"empty",                      DIESEL,   0, 0,   60,  TABLE,   0},
        // Torpedo fuel in table mode used to count 0 units a count (3).
        {"torpedo fuel as raw",        TORPEDO,  7, 3,   0,   TABLE,   10},
        // A code above 9 used to read past the table.
        {"unknown code, one a count",  UNKNOWN,  7, 3,   60,  TABLE,   10},
        // 1989 counts x 36000 x 60 passes 2^32: it used to answer 21211.
        {"1989 diesel counts",         DIESEL,   1989, 0, 60, TABLE,   71604000},
        {"1988 diesel counts",         DIESEL,   1988, 0, 60, TABLE,   71568000},
        {"saturates, slow rate",       DIESEL,   1u << 20, 0, 1, TABLE, UINT32_MAX},
        {"saturates, rate 0",          DIESEL,   UINT32_MAX, UINT32_MAX, 0, TABLE, UINT32_MAX},
        {"largest that fits",          BATTERY,  UINT32_MAX - 5, 5, 0, TABLE, UINT32_MAX},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const FuelTank tank = Tank(r.fuelType, r.count, r.partial);
        EXPECT_EQ(tank.GetRemaining(r.rate, r.mode == RAW, r.mode == HUNDRED), r.expected);
    }
}

TEST_F(FuelTankTest, SavesSixteenBytesAndReadsThemBackExactly)
{
    FuelTank tank = Tank(AVIATION, 0x01020304, 0xA0B0C0D0);
    const std::string saved = Saved(tank);
    ASSERT_EQ(saved.size(), static_cast<size_t>(FuelTank::SAVED_BYTES));
    EXPECT_EQ(saved, U32(AVIATION) + U32(80) + U32(0x01020304) + U32(0xA0B0C0D0));

    FuelTank back;
    std::istringstream in(saved);
    ASSERT_TRUE(back.Load(in));
    EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
    EXPECT_EQ(back.GetFuelType(), AVIATION);
    EXPECT_EQ(back.GetCapacity(), 80u);
    EXPECT_EQ(back.GetCount(), 0x01020304u);
    EXPECT_EQ(back.GetPartial(), 0xA0B0C0D0u);
    EXPECT_EQ(Saved(back), saved);

    // A unit's chain of tanks: u16 count, then each tank.
    Chain<FuelTank> tanks;
    tanks.Append(new FuelTank(Tank(DIESEL, 12, 345)));
    tanks.Append(new FuelTank(Tank(TORPEDO, 6, 0)));
    std::ostringstream out;
    ASSERT_TRUE(tanks.Save(out));
    EXPECT_EQ(out.str().size(), 2u + 2u * FuelTank::SAVED_BYTES);
    Chain<FuelTank> loaded;
    std::istringstream chainIn(out.str());
    ASSERT_TRUE(loaded.Load(chainIn));
    std::ostringstream again;
    ASSERT_TRUE(loaded.Save(again));
    EXPECT_EQ(again.str(), out.str());
}

// Older files and files with the short header carry only three fields a tank.
TEST(FuelTankLayout, PartialIsReadOnlyFromFilesThatCarryIt)
{
    struct Row { VersionNumber version; uint8_t flag; bool carriesPartial; };
    const Row rows[] = {
        {{0, 0, 0, 0}, 0, false},
        {{3, 5, 9, 1}, 0, false},
        {{3, 5, 9, 2}, 0, true},
        {{3, 5, 9, 5}, 1, true},     // before 3.5.10.0 the flag does not matter
        {{3, 5, 10, 0}, 1, false},
        {{3, 5, 10, 0}, 0, true},
        {{3, 6, 3, 0}, 0, true},
        {{3, 6, 3, 0}, 1, false},
    };
    // A tank of diesel, 20 counts of 30, then a word that belongs to what
    // follows the tank in the file.
    const std::string bytes = U32(DIESEL) + U32(30) + U32(20) + U32(0x55667788);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.version.Text() + " flag " + std::to_string(r.flag));
        AdminScope admin(r.version, r.flag);
        FuelTank tank;
        tank.SetPartial(999);
        std::istringstream in(bytes);
        ASSERT_TRUE(tank.Load(in));
        EXPECT_EQ(tank.GetFuelType(), DIESEL);
        EXPECT_EQ(tank.GetCapacity(), 30u);
        EXPECT_EQ(tank.GetCount(), 20u);
        EXPECT_EQ(tank.GetPartial(), r.carriesPartial ? 0x55667788u : 0u);
        EXPECT_EQ(static_cast<size_t>(in.tellg()), r.carriesPartial ? 16u : 12u);
    }

    // With no header object the present layout is read.
    ScenarioAdmin* const previous = gAdmin;
    gAdmin = nullptr;
    FuelTank tank;
    std::istringstream in(bytes);
    EXPECT_TRUE(tank.Load(in));
    EXPECT_EQ(tank.GetPartial(), 0x55667788u);
    gAdmin = previous;
}

// Each cut fails, leaves the tank as it was, and a chain of tanks is refused
// whole; the sanitizer build proves nothing is read past the end.
TEST_F(FuelTankTest, EveryTruncationIsRefused)
{
    const FuelTank sample = Tank(DIESEL, 7, 123);
    const std::string one = Saved(sample);
    for (size_t cut = 0; cut < one.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "tank cut at " << cut);
        FuelTank tank = Tank(AVIATION, 1, 2);
        std::istringstream in(one.substr(0, cut));
        EXPECT_FALSE(tank.Load(in));
        EXPECT_TRUE(in.fail());
        EXPECT_EQ(tank.GetFuelType(), AVIATION);
        EXPECT_EQ(tank.GetCount(), 1u);
        EXPECT_EQ(tank.GetPartial(), 2u);
    }

    Chain<FuelTank> tanks;
    tanks.Append(new FuelTank(Tank(DIESEL, 12, 345)));
    tanks.Append(new FuelTank(Tank(BATTERY, 6, 0)));
    std::ostringstream out;
    ASSERT_TRUE(tanks.Save(out));
    const std::string chain = out.str();
    for (size_t cut = 0; cut < chain.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "chain cut at " << cut);
        Chain<FuelTank> loaded;
        std::istringstream in(chain.substr(0, cut));
        EXPECT_FALSE(loaded.Load(in));
        EXPECT_EQ(loaded.First(), nullptr);
    }

    // The three-field layout is cut as short.
    AdminScope old(VersionNumber(3, 5, 9, 0));
    const std::string shortForm = one.substr(0, 12);
    for (size_t cut = 0; cut < shortForm.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "short form cut at " << cut);
        FuelTank tank;
        std::istringstream in(shortForm.substr(0, cut));
        EXPECT_FALSE(tank.Load(in));
    }
}
