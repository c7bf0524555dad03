// Tests of the ID family: the saved forms of IDList, NavIDList, IDPointList
// and RecordList byte for byte, virtual saving of derived nodes, copying, the
// reference-list rule with a reverse-index callback as the platform database
// uses it, and damaged input cut at every length.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/IDList.h"
#include "core/RecordList.h"
#include "support/Bytes.h"

namespace {

template <class List>
std::string Saved(const List& list)
{
    std::ostringstream out;
    EXPECT_TRUE(list.Save(out));
    return out.str();
}

std::vector<uint16_t> Ids(const TreeList& list)
{
    std::vector<uint16_t> ids;
    for (TreeListBase* node = list.First(); node; node = node->GetNext())
        ids.push_back(node->GetKey());
    return ids;
}

IDList* MakeIDList(std::initializer_list<uint16_t> ids)
{
    IDList* list = new IDList;
    for (uint16_t id : ids)
        list->Insert(new IDNode(id));
    return list;
}

}  // namespace

TEST(IDFamily, NewNodesHoldZeroes)
{
    EXPECT_EQ(IDNode().GetKey(), 0);
    EXPECT_EQ(IDNode(17).GetKey(), 17);
    EXPECT_EQ(NavIDNode().GetKey(), 0);
    EXPECT_EQ(NavIDNode().GetValue(), 0);
    EXPECT_EQ(NavIDNode(3, 9).GetValue(), 9);
    EXPECT_EQ(IDPoint().GetPosition(), LatLonPoint(0, 0));
    EXPECT_EQ(IDPoint(4).GetKey(), 4);
    EXPECT_TRUE(IDListNode().GetIDList().First() == nullptr);
}

TEST(IDListSave, WritesTheCountThenTheIdentifiersInAscendingOrder)
{
    IDList list;
    for (uint16_t id : {9, 2, 5})
        list.Insert(new IDNode(id));
    const std::string saved = Saved(list);
    EXPECT_EQ(saved, Bytes({0x03, 0x00, 0x02, 0x00, 0x05, 0x00, 0x09, 0x00}));

    IDList loaded;
    std::istringstream in(saved);
    EXPECT_TRUE(loaded.Load(in));
    EXPECT_EQ(Ids(loaded), (std::vector<uint16_t>{2, 5, 9}));
    EXPECT_EQ(loaded.GetLastKey(), 9);
}

TEST(IDListSave, NavIDAndPointListsWriteTheirFieldsAfterEachIdentifier)
{
    NavIDList nav;
    nav.Insert(new NavIDNode(0x0102, 0xA0B0));
    nav.Insert(new NavIDNode(1, 2));
    const std::string navSaved = Saved(nav);
    EXPECT_EQ(navSaved, Bytes({2, 0, 1, 0, 2, 0, 0x02, 0x01, 0xB0, 0xA0}));
    NavIDList navLoaded;
    std::istringstream navIn(navSaved);
    EXPECT_TRUE(navLoaded.Load(navIn));
    ASSERT_NE(navLoaded.Find(0x0102), nullptr);
    EXPECT_EQ(navLoaded.Find(0x0102)->GetValue(), 0xA0B0);
    EXPECT_EQ(navLoaded.First()->GetNext()->GetValue(), 0xA0B0);

    IDPointList points;
    points.Insert(new IDPoint(7, LatLonPoint(-1, 0x01020304)));
    const std::string pointSaved = Saved(points);
    EXPECT_EQ(pointSaved, Bytes({1, 0, 7, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01}));
    IDPointList pointLoaded;
    std::istringstream pointIn(pointSaved);
    EXPECT_TRUE(pointLoaded.Load(pointIn));
    ASSERT_NE(pointLoaded.First(), nullptr);
    EXPECT_EQ(pointLoaded.First()->GetPosition(), LatLonPoint(-1, 0x01020304));
}

// Save is virtual: a derived node in a list of IDNode writes its own form.
TEST(IDListSave, DerivedNodesSaveAsTheirOwnClass)
{
    IDList list;
    list.Insert(new IDNode(1));
    list.Insert(new NavIDNode(2, 0x0304));
    EXPECT_EQ(Saved(list), Bytes({2, 0, 1, 0, 2, 0, 4, 3}));
}

TEST(IDListCopy, CopiesEveryIdentifierIntoNewNodes)
{
    EXPECT_EQ(CopyIDList(nullptr), nullptr);

    IDList* source = MakeIDList({30, 10, 20, 10});
    IDList* copy = CopyIDList(source);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Ids(*copy), (std::vector<uint16_t>{10, 10, 20, 30}));
    EXPECT_NE(copy->First(), source->First());
    delete source;
    EXPECT_EQ(Ids(*copy), (std::vector<uint16_t>{10, 10, 20, 30}));
    delete copy;
}

namespace {

// A platform record as the database files hold it: its identifier and the
// identifiers of the sensors it carries.
struct Platform : TreeListNode<Platform> {
    void Save(std::ostream& out) const
    {
        SaveKey(out);
        sensors.Save(out);
    }
    void Load(std::istream& in)
    {
        LoadKey(in);
        sensors.Load(in);
    }
    IDList sensors;
};

std::string PlatformFile(std::initializer_list<std::pair<uint16_t, std::initializer_list<uint16_t>>> records)
{
    SavedTreeListOf<Platform> table;
    for (const auto& [id, sensors] : records) {
        Platform* p = new Platform;
        p->SetKey(id);
        for (uint16_t s : sensors)
            p->sensors.Insert(new IDNode(s));
        table.Insert(p);
    }
    return Saved(table);
}

RecordList* gSensorIndex = nullptr;
int gRecordsSeen = 0;

void IndexPlatformSensors(Platform* record)
{
    ++gRecordsSeen;
    IndexRecordKeys(gSensorIndex, record->sensors, record->GetKey());
}

std::vector<uint16_t> IndexedUnder(uint16_t sensor)
{
    const IDListNode* entry = gSensorIndex ? gSensorIndex->Find(sensor) : nullptr;
    return entry ? Ids(entry->GetIDList()) : std::vector<uint16_t>{};
}

class ReferenceRule : public testing::Test {
protected:
    void SetUp() override
    {
        gSensorIndex = nullptr;
        gRecordsSeen = 0;
    }
    void TearDown() override
    {
        delete gSensorIndex;
        gSensorIndex = nullptr;
    }

    const std::string file = PlatformFile({
        {10, {100, 200}},
        {12, {200}},
        {40, {}},
        {41, {100, 300}},
    });
};

}  // namespace

TEST_F(ReferenceRule, KeepsTheNamedRecordsAndIndexesEveryRecordRead)
{
    std::unique_ptr<IDList> reference(MakeIDList({12, 40, 99}));
    SavedTreeListOf<Platform> table;
    std::istringstream in(file);
    EXPECT_TRUE(table.LoadMatching(in, reference.get(), &IndexPlatformSensors));

    EXPECT_EQ(Ids(table), (std::vector<uint16_t>{12, 40}));
    EXPECT_EQ(Ids(table.Find(12)->sensors), (std::vector<uint16_t>{200}));
    EXPECT_EQ(gRecordsSeen, 4);
    ASSERT_NE(gSensorIndex, nullptr);
    EXPECT_EQ(Ids(*gSensorIndex), (std::vector<uint16_t>{100, 200, 300}));
    EXPECT_EQ(IndexedUnder(100), (std::vector<uint16_t>{10, 41}));
    EXPECT_EQ(IndexedUnder(200), (std::vector<uint16_t>{10, 12}));
    EXPECT_EQ(IndexedUnder(300), (std::vector<uint16_t>{41}));
}

TEST_F(ReferenceRule, AnEmptyReferenceKeepsNothingButTheIndexSeesEverything)
{
    IDList reference;
    SavedTreeListOf<Platform> table;
    std::istringstream in(file);
    EXPECT_TRUE(table.LoadMatching(in, &reference, &IndexPlatformSensors));
    EXPECT_EQ(table.First(), nullptr);
    EXPECT_EQ(gRecordsSeen, 4);
    EXPECT_EQ(IndexedUnder(100), (std::vector<uint16_t>{10, 41}));
}

TEST_F(ReferenceRule, ARecordIsIndexedOnceUnderEachKey)
{
    // A record naming a sensor twice, and the same file read twice.
    const std::string twice = PlatformFile({{7, {5, 5, 6}}});
    for (int pass = 0; pass < 2; ++pass) {
        IDList reference;
        SavedTreeListOf<Platform> table;
        std::istringstream in(twice);
        EXPECT_TRUE(table.LoadMatching(in, &reference, &IndexPlatformSensors));
    }
    EXPECT_EQ(IndexedUnder(5), (std::vector<uint16_t>{7}));
    EXPECT_EQ(IndexedUnder(6), (std::vector<uint16_t>{7}));

    // A record with no keys still creates the index on first use.
    delete gSensorIndex;
    gSensorIndex = nullptr;
    IDList none;
    IndexRecordKeys(gSensorIndex, none, 3);
    ASSERT_NE(gSensorIndex, nullptr);
    EXPECT_EQ(gSensorIndex->First(), nullptr);
}

TEST(RecordListSave, NestedListsFollowEachIdentifier)
{
    RecordList index;
    index.Insert(new IDListNode(7));   // an empty nested list
    index.AddRecord(5, 2);
    index.AddRecord(5, 1);
    index.AddRecord(5, 2);
    const std::string saved = Saved(index);
    EXPECT_EQ(saved, Bytes({2, 0, 5, 0, 2, 0, 1, 0, 2, 0, 7, 0, 0, 0}));

    RecordList loaded;
    std::istringstream in(saved);
    EXPECT_TRUE(loaded.Load(in));
    ASSERT_NE(loaded.Find(5), nullptr);
    EXPECT_EQ(Ids(loaded.Find(5)->GetIDList()), (std::vector<uint16_t>{1, 2}));
    EXPECT_EQ(loaded.Find(5)->GetIDList().GetLastKey(), 2);
    ASSERT_NE(loaded.Find(7), nullptr);
    EXPECT_EQ(loaded.Find(7)->GetIDList().First(), nullptr);
    EXPECT_EQ(loaded.First()->GetNext(), loaded.Find(7));
    EXPECT_EQ(Saved(loaded), saved);
}

// Each cut fails; the sanitizer build proves that nothing cut short leaks.
TEST(IDListDamage, EveryTruncationLoadsAsFailure)
{
    IDList ids;
    for (uint16_t id : {4, 8, 15})
        ids.Insert(new IDNode(id));
    RecordList index;
    index.AddRecord(3, 30);
    index.AddRecord(3, 31);
    index.AddRecord(9, 90);
    IDPointList points;
    points.Insert(new IDPoint(1, LatLonPoint(5, 6)));
    points.Insert(new IDPoint(2, LatLonPoint(7, 8)));

    struct Case {
        const char* name;
        std::string saved;
        bool (*load)(std::istream& in, std::vector<uint16_t>& keys);
        std::vector<uint16_t> all;
    };
    const Case cases[] = {
        {"IDList", Saved(ids),
         [](std::istream& in, std::vector<uint16_t>& keys) {
             IDList list;
             const bool good = list.Load(in);
             keys = Ids(list);
             return good;
         },
         {4, 8, 15}},
        {"RecordList", Saved(index),
         [](std::istream& in, std::vector<uint16_t>& keys) {
             RecordList list;
             const bool good = list.Load(in);
             keys = Ids(list);
             return good;
         },
         {3, 9}},
        {"IDPointList", Saved(points),
         [](std::istream& in, std::vector<uint16_t>& keys) {
             IDPointList list;
             const bool good = list.Load(in);
             keys = Ids(list);
             return good;
         },
         {1, 2}},
    };
    for (const Case& c : cases) {
        for (size_t cut = 0; cut <= c.saved.size(); ++cut) {
            SCOPED_TRACE(testing::Message() << c.name << " cut at " << cut << " of " << c.saved.size());
            std::istringstream in(c.saved.substr(0, cut));
            std::vector<uint16_t> keys;
            const bool good = c.load(in, keys);
            EXPECT_EQ(good, cut == c.saved.size());
            EXPECT_EQ(in.fail(), !good);
            // Only whole elements, and in order: a prefix of the full list.
            ASSERT_LE(keys.size(), c.all.size());
            EXPECT_EQ(keys, std::vector<uint16_t>(c.all.begin(), c.all.begin() + static_cast<std::ptrdiff_t>(keys.size())));
        }
    }
}
