// Tests of TimedRecord, the attack option: its line of text for every reason
// of the attack-result table, counts, missing weapons and cut names; the
// table itself; the saved form byte for byte, round trips through a chain,
// and every cut of a saved chain refused.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>

#include "annex/AnnexTables.h"
#include "annex/TimedRecord.h"
#include "core/ConfigurationFileIO.h"
#include "core/ResourceLoader.h"
#include "support/Bytes.h"
#include "support/TempTree.h"

namespace {

constexpr uint16_t LANCE_ID = 12;      // second name and first name
constexpr uint16_t SHELL_ID = 13;      // first name only
constexpr uint16_t LONG_ID = 14;       // both names 31 characters
constexpr uint16_t MISSING_ID = 99;

// The scenario's weapon table holding three weapons, and the sample resource
// texts (built from data/resources/texts.txt) as TheResourceLoader.
class AttackOptionText : public testing::Test {
protected:
    void SetUp() override
    {
        Annex::Tables().Create();
        AddWeapon(LANCE_ID, "Mk 4", "Skylance");
        AddWeapon(SHELL_ID, "", "76mm Shell");
        AddWeapon(LONG_ID, std::string(31, 'S').c_str(), std::string(31, 'F').c_str());

        tree.File("tessarn3.ini", "[Tessarn3]\nResDirCount 1\nResDir1 " + std::string(TESSARN_DATA_DIR) +
                                      "/RESOURCE\n");
        ConfigurationFileIO ini((tree.root + "/tessarn3.ini").c_str());
        loader = std::make_unique<ResourceLoader>(ini);
        TheResourceLoader = loader.get();
    }
    void TearDown() override
    {
        TheResourceLoader = nullptr;
        loader.reset();
        Annex::Tables().Delete();
    }

    static void AddWeapon(uint16_t id, const char* secondName, const char* firstName)
    {
        auto* weapon = new WeaponAnnex(id);
        weapon->secondName.Set(secondName);
        weapon->className.Set(firstName);
        Annex::Tables().Weapons()->Insert(weapon);
    }

    static std::string Line(uint16_t weaponID, uint8_t quantity, uint16_t resultBits)
    {
        TimedRecord record;
        record.weaponID = weaponID;
        record.quantity = quantity;
        record.resultBits = resultBits;
        char text[TimedRecord::TEXT_SIZE];
        std::memset(text, 'X', sizeof text);
        record.Describe(text);
        EXPECT_EQ(text[TimedRecord::TEXT_SIZE - 1], '\0');
        return text;
    }

    TempTree tree;
    std::unique_ptr<ResourceLoader> loader;
};

TEST_F(AttackOptionText, NamesTheFirstReasonInTableOrder)
{
    struct Row {
        uint16_t bits;
        const char* expected;
    };
    const Row rows[] = {
        {0x0001, "No Ammo Ready : Mk 4 Skylance"},
        {0x0002, "Weapon Not Capable : Mk 4 Skylance"},
        {0x0004, "Nuclear Release Not Granted : Mk 4 Skylance"},
        {0x0080, "Not BOL Capable : Mk 4 Skylance"},
        {0x0010, "Altitude too low : Mk 4 Skylance"},
        {0x0008, "Altitude too high : Mk 4 Skylance"},
        {0x0020, "Speed too high : Mk 4 Skylance"},
        {0x0040, "Speed too low : Mk 4 Skylance"},
        {0x0400, "Target Not Illuminated : Mk 4 Skylance"},
        {0x0800, "Weapon Cannot Acquire Target : Mk 4 Skylance"},
        {0x1000, "Firing location invalid : Mk 4 Skylance"},
        {0x0200, "Target Too Close : Mk 4 Skylance"},
        {0x0100, "Out Of Range : Mk 4 Skylance"},
        // Several reasons: the table's order decides, not the bit order.
        {0x0300, "Target Too Close : Mk 4 Skylance"},
        {0x0018, "Altitude too low : Mk 4 Skylance"},
        {0x0090, "Not BOL Capable : Mk 4 Skylance"},
        {ATTACK_ALL_REASONS, "No Ammo Ready : Mk 4 Skylance"},
        {0xFFFF, "No Ammo Ready : Mk 4 Skylance"},
        // Bits no row names give no prefix of their own.
        {0x2000, "Mk 4 Skylance"},
        {0x6100, "Out Of Range : Mk 4 Skylance"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "bits 0x" << std::hex << r.bits);
        EXPECT_EQ(Line(LANCE_ID, 4, r.bits), r.expected);
    }
}

TEST_F(AttackOptionText, FireableOptionShowsItsCount)
{
    struct Row {
        uint16_t weaponID;
        uint8_t quantity;
        const char* expected;
    };
    const Row rows[] = {
        {LANCE_ID, 4, "4 x Mk 4 Skylance"},
        {LANCE_ID, 1, "1 x Mk 4 Skylance"},
        {LANCE_ID, 255, "255 x Mk 4 Skylance"},
        {LANCE_ID, 0, "None : Mk 4 Skylance"},       // the resource text as prefix
        {SHELL_ID, 12, "12 x 76mm Shell"},            // no blank before an empty second name
        {SHELL_ID, 0, "None : 76mm Shell"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.weaponID << " x" << int{r.quantity});
        EXPECT_EQ(Line(r.weaponID, r.quantity, 0), r.expected);
    }
}

TEST_F(AttackOptionText, MissingWeaponGivesTheResourceTextAlone)
{
    EXPECT_EQ(Line(MISSING_ID, 4, 0), "Unknown weapon");
    EXPECT_EQ(Line(MISSING_ID, 0, ATTACK_OUT_OF_RANGE), "Unknown weapon");

    Annex::Tables().Delete();   // no weapon table at all
    EXPECT_EQ(Line(LANCE_ID, 4, 0), "Unknown weapon");
}

TEST_F(AttackOptionText, LongLinesAreCutAt63Characters)
{
    const std::string name = std::string(31, 'S') + " " + std::string(31, 'F');   // 63 characters
    EXPECT_EQ(Line(LONG_ID, 0, ATTACK_NO_AMMO), ("No Ammo Ready : " + name).substr(0, 63));
    EXPECT_EQ(Line(LONG_ID, 0, ATTACK_CANNOT_ACQUIRE), ("Weapon Cannot Acquire Target : " + name).substr(0, 63));
    EXPECT_EQ(Line(LONG_ID, 100, 0), ("100 x " + name).substr(0, 63));
    EXPECT_EQ(Line(LONG_ID, 100, 0).size(), 63u);
}

TEST(AttackOptionTextWithoutResources, ResourceTextsCountAsEmpty)
{
    ASSERT_EQ(TheResourceLoader, nullptr);
    Annex::Tables().Create();
    auto* weapon = new WeaponAnnex(LANCE_ID);
    weapon->className.Set("Skylance");
    Annex::Tables().Weapons()->Insert(weapon);

    TimedRecord record;
    char text[TimedRecord::TEXT_SIZE];
    record.weaponID = LANCE_ID;
    record.Describe(text);
    EXPECT_STREQ(text, "Skylance");
    record.weaponID = MISSING_ID;
    record.Describe(text);
    EXPECT_STREQ(text, "");

    Annex::Tables().Delete();
}

TEST(AttackResultTable, HasOneRowPerReasonAfterAttackOk)
{
    const DBEnumTable& table = TimedRecord::AttackResults();
    ASSERT_EQ(table.count, 14);
    EXPECT_STREQ(table.rows[0].name, "Attack OK");
    EXPECT_EQ(table.rows[0].code, ATTACK_ALL_REASONS);
    uint32_t seen = 0;
    for (uint16_t i = 1; i < table.count; ++i) {
        const uint32_t bit = table.rows[i].code;
        SCOPED_TRACE(table.rows[i].name);
        EXPECT_EQ(bit & (bit - 1), 0u) << "one bit per reason";
        EXPECT_EQ(seen & bit, 0u) << "each bit once";
        seen |= bit;
    }
    EXPECT_EQ(seen, ATTACK_ALL_REASONS);
}

// ---------------------------------------------------------------------------
// Saved form

TimedRecord Sample()
{
    TimedRecord r;
    r.firstTime = 0x01020304;
    r.secondTime = 0xFFFFFFFE;
    r.idA = 0x1111;
    r.idB = 0x2222;
    r.idC = 0x3333;
    r.idD = 0xFFFF;
    r.position = LatLonPoint(-17694720, 44236799);
    r.mountKey = 5;
    r.weaponRecKey = 6;
    r.weaponID = 0x0102;
    r.quantity = 200;
    r.resultBits = 0x1FFF;
    r.value16 = 0x8001;
    r.weaponKind = 0x80000010;
    r.value16b = 0xABCD;
    return r;
}

void ExpectSameFields(const TimedRecord& a, const TimedRecord& b)
{
    EXPECT_EQ(a.firstTime.Get(), b.firstTime.Get());
    EXPECT_EQ(a.secondTime.Get(), b.secondTime.Get());
    EXPECT_EQ(a.idA, b.idA);
    EXPECT_EQ(a.idB, b.idB);
    EXPECT_EQ(a.idC, b.idC);
    EXPECT_EQ(a.idD, b.idD);
    EXPECT_EQ(a.position, b.position);
    EXPECT_EQ(a.mountKey, b.mountKey);
    EXPECT_EQ(a.weaponRecKey, b.weaponRecKey);
    EXPECT_EQ(a.weaponID, b.weaponID);
    EXPECT_EQ(a.quantity, b.quantity);
    EXPECT_EQ(a.resultBits, b.resultBits);
    EXPECT_EQ(a.value16, b.value16);
    EXPECT_EQ(a.weaponKind, b.weaponKind);
    EXPECT_EQ(a.value16b, b.value16b);
}

TEST(TimedRecordSave, WritesFortyOneBytesInFieldOrder)
{
    std::ostringstream out;
    Sample().Save(out);
    const std::string expected = Bytes({
        0x04, 0x03, 0x02, 0x01,                  // firstTime
        0xFE, 0xFF, 0xFF, 0xFF,                  // secondTime
        0x11, 0x11, 0x22, 0x22, 0x33, 0x33, 0xFF, 0xFF,   // idA .. idD
        0x00, 0x00, 0xF2, 0xFE,                  // latitude -17694720
        0xFF, 0xFF, 0xA2, 0x02,                  // longitude 44236799
        0x05, 0x00,                              // mountKey
        0x06, 0x00,                              // weaponRecKey
        0x02, 0x01,                              // weaponID
        0xC8,                                    // quantity
        0xFF, 0x1F,                              // resultBits
        0x01, 0x80,                              // value16
        0x10, 0x00, 0x00, 0x80,                  // weaponKind
        0xCD, 0xAB,                              // value16b
    });
    EXPECT_EQ(out.str(), expected);
    EXPECT_EQ(static_cast<int64_t>(out.str().size()), TimedRecord::SAVED_BYTES);
}

TEST(TimedRecordSave, NewRecordIsAllZero)
{
    std::ostringstream out;
    TimedRecord().Save(out);
    EXPECT_EQ(out.str(), std::string(TimedRecord::SAVED_BYTES, '\0'));
    EXPECT_EQ(TimedRecord().extra, nullptr);
}

TEST(TimedRecordSave, CopyTakesEveryFieldAndStartsOutsideTheChain)
{
    int stock = 3;
    TimedRecordChain chain;
    auto* original = new TimedRecord(Sample());
    original->extra = &stock;
    chain.Append(original);
    chain.Append(new TimedRecord);

    const TimedRecord copy(*original);
    ExpectSameFields(copy, *original);
    EXPECT_EQ(copy.extra, &stock);
    EXPECT_EQ(copy.GetNext(), nullptr);
    EXPECT_EQ(copy.GetPrev(), nullptr);
    EXPECT_NE(original->GetNext(), nullptr);
}

TEST(TimedRecordSave, ChainRoundTripsByteForByte)
{
    int stock = 1;
    TimedRecordChain chain;
    auto* first = new TimedRecord(Sample());
    first->extra = &stock;
    chain.Append(first);
    auto* second = new TimedRecord;
    second->idA = 7;
    second->quantity = 1;
    chain.Append(second);

    std::ostringstream out;
    ASSERT_TRUE(chain.Save(out));
    const std::string saved = out.str();
    ASSERT_EQ(static_cast<int64_t>(saved.size()), 2 + 2 * TimedRecord::SAVED_BYTES);
    EXPECT_EQ(saved.substr(0, 2), Bytes({0x02, 0x00}));

    std::istringstream in(saved);
    TimedRecordChain loaded;
    ASSERT_TRUE(loaded.Load(in));
    ASSERT_NE(loaded.First(), nullptr);
    ExpectSameFields(*loaded.First(), *first);
    EXPECT_EQ(loaded.First()->extra, nullptr);   // not saved
    ASSERT_NE(loaded.First()->GetNext(), nullptr);
    ExpectSameFields(*loaded.First()->GetNext(), *second);
    EXPECT_EQ(loaded.Last(), loaded.First()->GetNext());

    std::ostringstream again;
    ASSERT_TRUE(loaded.Save(again));
    EXPECT_EQ(again.str(), saved);
}

TEST(TimedRecordSave, EveryCutOfASavedChainIsRefused)
{
    TimedRecordChain chain;
    chain.Append(new TimedRecord(Sample()));
    chain.Append(new TimedRecord(Sample()));
    std::ostringstream out;
    ASSERT_TRUE(chain.Save(out));
    const std::string saved = out.str();

    for (size_t length = 0; length < saved.size(); ++length) {
        SCOPED_TRACE(testing::Message() << "cut at " << length);
        std::istringstream in(saved.substr(0, length));
        TimedRecordChain loaded;
        EXPECT_FALSE(loaded.Load(in));
        EXPECT_FALSE(static_cast<bool>(in));
        EXPECT_EQ(loaded.First(), nullptr);   // nothing half-read is kept
    }
}

TEST(TimedRecordSave, ShortReadLeavesTheRecordAsItWas)
{
    std::ostringstream out;
    TimedRecord other;
    other.idA = 9;
    other.Save(out);
    const std::string cut = out.str().substr(0, TimedRecord::SAVED_BYTES - 1);

    int stock = 0;
    TimedRecord record = Sample();
    record.extra = &stock;
    std::istringstream in(cut);
    EXPECT_FALSE(record.Load(in));
    ExpectSameFields(record, Sample());
    EXPECT_EQ(record.extra, &stock);
}

}  // namespace
