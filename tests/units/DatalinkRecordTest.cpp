// DatalinkRecordTest.cpp: communications channels: states and link counts,
// opening links between two units (forced, full, kind 8, submerged, the
// data-link flag, exclusive bits), testing a held link, the saved form, and
// the channel lists built from comm.dat records with a facility's land line.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "annex/AnnexTables.h"
#include "units/DatalinkRecord.h"
#include "units/UnitTestSupport.h"

namespace {

using namespace unittest;

constexpr uint16_t A_ID = 10;
constexpr uint16_t B_ID = 20;

DatalinkRecord* Channel(uint16_t key, uint16_t kind, uint16_t range, uint8_t maxLinks = 4, uint32_t flags = 0)
{
    auto* record = new DatalinkRecord(kind);
    record->SetKey(key);
    record->linkRange = range;
    record->maxLinks = maxLinks;
    record->channelFlags = flags;
    return record;
}

// Two units, a (the record's owner) and b, each with its channels.
class TwoUnits : public testing::Test {
protected:
    TwoUnits() : a('S'), b('S')
    {
        a.SetKey(A_ID);
        b.SetKey(B_ID);
    }

    DatalinkRecord& AddTo(TestUnit& unit, DatalinkRecord* record)
    {
        unit.datalinks.Insert(record);
        return *record;
    }

    TestUnit a;
    TestUnit b;
};

}  // namespace

TEST(DatalinkRecord, StatesAndLinkCounts)
{
    DatalinkRecord record(3);
    record.maxLinks = 2;
    record.channelFlags = DatalinkRecord::FLAG_NEEDS_LINK_FLAG;
    record.AddLink(7);
    record.AddLink(7);   // already linked: nothing
    EXPECT_EQ(record.linkCount, 1);
    EXPECT_EQ(record.GetState(), DatalinkRecord::STATE_OPEN);
    EXPECT_NE(record.channelFlags & DatalinkRecord::FLAG_IN_USE, 0u);
    record.AddLink(8);
    EXPECT_EQ(record.GetState(), DatalinkRecord::STATE_FULL);
    record.DropLink(9);   // not linked: nothing
    EXPECT_EQ(record.linkCount, 2);
    record.DropLink(7);
    EXPECT_EQ(record.GetState(), DatalinkRecord::STATE_OPEN);
    EXPECT_NE(record.channelFlags & DatalinkRecord::FLAG_IN_USE, 0u);   // 8 still linked
    record.DropLink(8);
    EXPECT_EQ(record.channelFlags & DatalinkRecord::FLAG_IN_USE, 0u);

    struct Row { uint32_t state; bool emptied; };
    const Row rows[] = {{0, true}, {2, false}, {3, false}, {5, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.state);
        record.SetState(DatalinkRecord::STATE_OPEN);
        record.AddLink(1);
        record.SetState(r.state);
        EXPECT_EQ(record.GetState(), r.state);
        EXPECT_EQ(record.HoldsLink(1), !r.emptied);
        EXPECT_EQ(record.linkCount, r.emptied ? 0 : 1);
    }
}

TEST_F(TwoUnits, ConnectLinksTheFirstFittingPairBothWays)
{
    DatalinkRecord& own = AddTo(a, Channel(1, 5, 100, 1));
    AddTo(b, Channel(1, 6, 100));                 // another kind
    DatalinkRecord& match = AddTo(b, Channel(2, 5, 100));
    EXPECT_TRUE(own.Connect(a, b, 100, 0, 0, false));
    EXPECT_TRUE(own.HoldsLink(B_ID));
    EXPECT_TRUE(match.HoldsLink(A_ID));
    EXPECT_EQ(own.GetState(), DatalinkRecord::STATE_FULL);   // maxLinks 1

    // A full record links no more, unless forced, which opens it again.
    TestUnit c('S');
    c.SetKey(30);
    DatalinkRecord& third = *Channel(1, 5, 100, 1);
    c.datalinks.Insert(&third);
    third.AddLink(99);
    EXPECT_EQ(third.GetState(), DatalinkRecord::STATE_FULL);
    EXPECT_FALSE(own.Connect(a, c, 10, 0, 0, false));
    EXPECT_TRUE(own.Connect(a, c, 5000, 0, 0, true));
    EXPECT_TRUE(own.HoldsLink(30));
    EXPECT_TRUE(third.HoldsLink(A_ID));
    EXPECT_EQ(own.GetState(), DatalinkRecord::STATE_OPEN);
    EXPECT_EQ(third.GetState(), DatalinkRecord::STATE_OPEN);

    TestUnit silent('S');
    EXPECT_FALSE(own.Connect(a, silent, 0, 0, 0, true));   // nothing to link to
}

TEST_F(TwoUnits, ConnectRefusals)
{
    struct Row {
        const char* name;
        uint16_t kind;
        uint32_t ownFlags, otherFlags;
        int32_t distance;
        int16_t aAltitude, bAltitude;
        char bLetter;
        bool aHasLinkFlag;
        bool linked;
    };
    const Row rows[] = {
        {"plain", 5, 0, 0, 50, 0, 0, 'S', true, true},
        {"at the reach", 5, 0, 0, 60, 0, 0, 'S', true, true},
        {"beyond the reach", 5, 0, 0, 61, 0, 0, 'S', true, false},
        {"shared exclusive bit", 5, 0x4, 0xC, 10, 0, 0, 'S', true, false},
        {"different exclusive bits", 5, 0x4, 0x8, 10, 0, 0, 'S', true, true},
        {"kind 8 without a common group", 8, 0x1000, 0x2000, 10, 0, 0, 'S', true, false},
        {"kind 8 with a common group", 8, 0x3000, 0x2000, 10, 0, 0, 'S', true, true},
        {"submerged owner to a ship", 5, 0, 0, 10, -3, 0, 'S', true, false},
        {"submerged owner to a weapon", 5, 0, 0, 10, -3, -1, 'W', true, true},
        {"ship to a submerged unit", 5, 0, 0, 10, 0, -3, 'U', true, false},
        {"flag 1 without the unit's data-link flag", 5, 0x1, 0, 10, 0, 0, 'S', false, false},
        {"flag 1 with the data-link flag", 5, 0x1, 0, 10, 0, 0, 'S', true, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TestUnit owner('S');
        TestUnit other(r.bLetter);
        owner.SetKey(A_ID);
        other.SetKey(B_ID);
        owner.SetAltitude(r.aAltitude);
        other.SetAltitude(r.bAltitude);
        if (!r.aHasLinkFlag)
            owner.DisableDataLink();
        DatalinkRecord* own = Channel(1, r.kind, 60, 4, r.ownFlags);
        owner.datalinks.Insert(own);
        other.datalinks.Insert(Channel(1, r.kind, 60, 4, r.otherFlags));
        EXPECT_EQ(own->Connect(owner, other, r.distance, 0, 0, false), r.linked);
        EXPECT_EQ(own->HoldsLink(B_ID), r.linked);
    }
}

TEST_F(TwoUnits, ConnectGoesOnWithTheOwnersNextRecord)
{
    DatalinkRecord& first = AddTo(a, Channel(1, 5, 100));
    DatalinkRecord& second = AddTo(a, Channel(2, 6, 100));
    DatalinkRecord& other = AddTo(b, Channel(1, 6, 100));
    EXPECT_TRUE(first.Connect(a, b, 10, 0, 0, false));
    EXPECT_FALSE(first.HoldsLink(B_ID));
    EXPECT_TRUE(second.HoldsLink(B_ID));
    EXPECT_TRUE(other.HoldsLink(A_ID));
}

TEST_F(TwoUnits, CheckLinkKeepsOrDropsTheLink)
{
    struct Row { const char* name; int32_t distance; bool keep; int16_t bAltitude; bool holds; };
    const Row rows[] = {
        {"within reach", 40, false, 0, true},
        {"beyond reach", 41, false, 0, false},
        {"beyond reach, kept", 41, true, 0, true},
        {"the other submerged", 10, false, -5, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TestUnit owner('S');
        TestUnit other('S');
        owner.SetKey(A_ID);
        other.SetKey(B_ID);
        owner.attachedID = B_ID;
        DatalinkRecord* spare = Channel(1, 5, 40);
        DatalinkRecord* own = Channel(2, 5, 40);
        owner.datalinks.Insert(spare);
        owner.datalinks.Insert(own);
        DatalinkRecord* theirs = Channel(1, 5, 40);
        other.datalinks.Insert(theirs);
        own->AddLink(B_ID);
        theirs->AddLink(A_ID);
        other.SetAltitude(r.bAltitude);
        EXPECT_EQ(spare->CheckLink(owner, other, r.distance, 0, 0, r.keep), r.holds);
        EXPECT_EQ(own->HoldsLink(B_ID), r.holds);
        EXPECT_EQ(theirs->HoldsLink(A_ID), r.holds);
    }
}

TEST_F(TwoUnits, CheckLinkOnlyForTheAttachedUnitAndOneSidedLinksDrop)
{
    DatalinkRecord& own = AddTo(a, Channel(1, 5, 40));
    AddTo(b, Channel(1, 5, 40));
    own.AddLink(B_ID);
    EXPECT_FALSE(own.CheckLink(a, b, 1, 0, 0, true));   // b is not the attached unit
    EXPECT_TRUE(own.HoldsLink(B_ID));
    a.attachedID = B_ID;
    EXPECT_FALSE(own.CheckLink(a, b, 1, 0, 0, true));   // b holds no link back
    EXPECT_FALSE(own.HoldsLink(B_ID));
    EXPECT_FALSE(own.CheckLink(a, b, 1, 0, 0, true));   // no link at all
}

TEST(DatalinkRecord, SavedFormRoundTripsAndCutsAreRefused)
{
    DatalinkRecord record(8);
    record.SetKey(3);
    record.channelFlags = 0x3001;
    record.auxWord = 41;
    record.linkRange = 250;
    record.maxLinks = 6;
    record.AddLink(12);
    record.AddLink(15);
    std::ostringstream out;
    record.Save(out);
    EXPECT_EQ(out.str().size(), 2u + 4u + 2u + 2u + 2u + 1u + 1u + (2u + 2u * 2u) + 4u);
    DatalinkRecord back;
    {
        std::istringstream in(out.str());
        ASSERT_TRUE(back.Load(in));
    }
    std::ostringstream again;
    back.Save(again);
    EXPECT_EQ(again.str(), out.str());
    EXPECT_EQ(back.channelFlags, 0x3021u);
    for (size_t cut = 0; cut < out.str().size(); ++cut) {
        SCOPED_TRACE(cut);
        DatalinkRecord damaged;
        std::istringstream in(out.str().substr(0, cut));
        EXPECT_FALSE(damaged.Load(in));
    }
}

// The comm table: 1 a flagged link of reach 300, 2 a plain one of 120, 3 a
// plain one of 200.
class CommRecords : public testing::Test {
protected:
    CommRecords()
    {
        Annex::Tables().Create();
        Add(1, 7, 1, 300, 2);
        Add(2, 5, 0, 120, 3);
        Add(3, 6, 0, 200, 0);
    }
    ~CommRecords() override { Annex::Tables().Delete(); }

    static void Add(uint16_t id, uint16_t type, uint32_t flags, uint16_t range, uint8_t byteValue)
    {
        auto* comm = new CommAnnex(id);
        comm->commType = type;
        comm->flags = flags;
        comm->range = range;
        comm->byteValue = byteValue;
        Annex::Tables().Comms()->Insert(comm);
    }

    static void Fill(IDList& list, std::initializer_list<uint16_t> ids)
    {
        for (uint16_t id : ids)
            list.Insert(new IDNode(id));
    }
};

TEST_F(CommRecords, RecordsComeFromCommDatWithUnflaggedOnesFirst)
{
    std::unique_ptr<DatalinkRecord> missing(DatalinkRecord::FromCommRecord(99));
    EXPECT_EQ(missing->GetState(), DatalinkRecord::STATE_OPEN);
    EXPECT_EQ(missing->channelKind, 0);
    EXPECT_EQ(missing->linkRange, 0);
    EXPECT_EQ(missing->auxWord, 0);

    TestUnit unit('S');
    IDList ids;
    Fill(ids, {1, 2, 3, 99});
    BuildCommList(unit.datalinks, ids);
    std::vector<uint16_t> order;
    for (const DatalinkRecord* r = unit.datalinks.First(); r != nullptr; r = r->GetNext())
        order.push_back(r->auxWord);
    EXPECT_EQ(order, (std::vector<uint16_t>{2, 3, 0, 1}));   // the flagged record last
    const DatalinkRecord* flagged = unit.datalinks.Find(4);
    ASSERT_NE(flagged, nullptr);
    EXPECT_EQ(flagged->channelKind, 7);
    EXPECT_EQ(flagged->linkRange, 300);
    EXPECT_EQ(flagged->maxLinks, 2);
    unit.RefreshLinkReach();
    EXPECT_EQ(unit.GetLinkReach1(), 300);
    EXPECT_EQ(unit.GetLinkReach0(), 200);
}

TEST_F(CommRecords, LandLineComesFirstAndAddsNoReach)
{
    TestUnit facility('F');
    AddLandLine(facility.datalinks);
    facility.RefreshLinkReach();
    const DatalinkRecord* line = facility.datalinks.First();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->GetKey(), 1);
    EXPECT_EQ(line->channelKind, DatalinkRecord::KIND_NO_REACH);
    EXPECT_EQ(line->linkRange, 8000);
    EXPECT_EQ(line->maxLinks, 0);
    EXPECT_EQ(facility.GetLinkReach1(), 0);   // a land line alone gives no reach

    IDList ids;
    Fill(ids, {1, 3});
    BuildCommList(facility.datalinks, ids);
    std::vector<uint16_t> keys;
    for (const DatalinkRecord* r = facility.datalinks.First(); r != nullptr; r = r->GetNext())
        keys.push_back(static_cast<uint16_t>(r->GetKey() * 100 + r->auxWord));
    EXPECT_EQ(keys, (std::vector<uint16_t>{100, 203, 301}));
    facility.RefreshLinkReach();
    EXPECT_EQ(facility.GetLinkReach1(), 300);
    EXPECT_EQ(facility.GetLinkReach0(), 200);
}
