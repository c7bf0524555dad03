// ConditionWorld.h: what the victory condition tests run in: a game clock,
// an arena unit list of units with a side, a map point and a damage
// percentage, fixed relations between sides (1 and 2 hostile, 1 and 3
// friendly, each side friendly to itself), the sample resource texts, and
// builders of the conditions' saved records.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <sstream>
#include <string>

#include "core/ConfigurationFileIO.h"
#include "core/NameString.h"
#include "core/ResourceLoader.h"
#include "core/StreamFields.h"
#include "core/XYPoint.h"
#include "core/XYRect.h"
#include "core/gam2arena.h"
#include "missions/VictoryCondition.h"
#include "missions/VictoryItem.h"
#include "missions/VictoryItemList.h"
#include "support/TempTree.h"
#include "units/GroupBridge.h"
#include "units/PlaneBridge.h"
#include "units/Unit.h"
#include "units/UnitList.h"

namespace conditiontest {

class LossUnit : public Unit {
public:
    LossUnit(uint16_t id, char letter) : letter_(letter) { SetKey(id); }
    char GetTypeLetter() const override { return letter_; }
    int32_t GetDamagePercent() const override { return damage; }
    void SaveFields(std::ostream&) const override {}
    bool LoadFields(std::istream&) override { return true; }

    int32_t damage = 100;

private:
    char letter_;
};

// Sides 1 and 2 are hostile, 1 and 3 friendly; a side is friendly to itself.
inline bool TestHostile(uint16_t a, uint16_t b) { return (a == 1 && b == 2) || (a == 2 && b == 1); }
inline bool TestFriendly(uint16_t a, uint16_t b) { return a == b || (a == 1 && b == 3) || (a == 3 && b == 1); }

class ConditionWorld {
public:
    ConditionWorld()
    {
        previousState = gam2arena::SetArenaState(&state);
        previousUnits = UnitList::SetArenaList(&units);
        GroupBridgeCalls group;
        group.areHostile = &TestHostile;
        previousGroup = SetGroupBridgeCalls(group);
        PlaneBridgeCalls plane;
        plane.areFriendly = &TestFriendly;
        previousPlane = SetPlaneBridgeCalls(plane);
        tree.File("tessarn3.ini",
                  "[Tessarn3]\nResDirCount 1\nResDir1 " + std::string(TESSARN_DATA_DIR) + "/RESOURCE\n");
        ConfigurationFileIO ini((tree.root + "/tessarn3.ini").c_str());
        loader = std::make_unique<ResourceLoader>(ini);
        previousLoader = TheResourceLoader;
        TheResourceLoader = loader.get();
    }
    ~ConditionWorld()
    {
        TheResourceLoader = previousLoader;
        SetPlaneBridgeCalls(previousPlane);
        SetGroupBridgeCalls(previousGroup);
        UnitList::SetArenaList(previousUnits);
        gam2arena::SetArenaState(previousState);
    }
    ConditionWorld(const ConditionWorld&) = delete;
    ConditionWorld& operator=(const ConditionWorld&) = delete;

    LossUnit& AddUnit(uint16_t id, uint16_t side, const char* name, XYPoint at = XYPoint(50, 50), char letter = 'S',
                      uint16_t annexID = 0)
    {
        auto* u = new LossUnit(id, letter);
        u->SetSideID(side);
        u->SetName(name);
        u->SetAnnexID(annexID);
        u->SetXY(at);
        units.Insert(u);
        return *u;
    }
    void RemoveUnit(uint16_t id)
    {
        Unit* u = units.Find(id);
        units.Remove(u);
        delete u;
    }

    void At(uint32_t now) { state.SetGameTime(now); }

    ArenaState state;
    UnitList units;

private:
    TempTree tree;
    std::unique_ptr<ResourceLoader> loader;
    ResourceLoader* previousLoader = nullptr;
    ArenaState* previousState = nullptr;
    UnitList* previousUnits = nullptr;
    GroupBridgeCalls previousGroup;
    PlaneBridgeCalls previousPlane;
};

// ---- saved records ----

// An item list's saved form: a u32 count, then the records given.
inline std::string ListOf(std::initializer_list<std::string> records)
{
    std::ostringstream out;
    SaveField<uint32_t>(out, static_cast<uint32_t>(records.size()));
    for (const std::string& r : records)
        out << r;
    return out.str();
}
inline std::string NameBytes(const char* name)
{
    NameString n;
    n.Set(name);
    std::ostringstream out;
    n.Save(out);
    return out.str();
}
// A unit item (tag 3).
inline std::string UnitRecord(uint16_t id, const char* name)
{
    std::ostringstream out;
    SaveField<uint8_t>(out, VictoryTag::UNIT);
    SaveField(out, id);
    return out.str() + NameBytes(name);
}
// A platform kind item (tag 1).
inline std::string KindRecord(uint16_t annexID, uint32_t letter)
{
    std::ostringstream out;
    SaveField<uint8_t>(out, VictoryTag::PLATFORM_KIND);
    SaveField(out, annexID);
    SaveField(out, letter);
    return out.str();
}
// A tracking item (tag 8): elapsed and entered game seconds.
inline std::string TrackRecord(uint16_t id, const char* name, uint32_t elapsed, uint32_t entered)
{
    std::ostringstream head;
    SaveField<uint8_t>(head, VictoryTag::UNIT_VALUES);
    SaveField(head, id);
    std::ostringstream tail;
    SaveField(tail, elapsed);
    SaveField(tail, entered);
    return head.str() + NameBytes(name) + tail.str();
}

const std::string NO_SUB(1, '\0');

// A unit-count condition's record, kind byte first.
struct UnitsSpec {
    uint16_t required = 1;
    uint16_t damageThreshold = 100;
    uint16_t count = 0;
    uint8_t met = 0;
    uint8_t hostile = 1;
    std::string targets = ListOf({});
    std::string counted = ListOf({});
    std::string sub = NO_SUB;
};
inline std::string UnitsRecord(const UnitsSpec& s)
{
    std::ostringstream out;
    SaveField<uint8_t>(out, VictoryCondition::KIND_UNITS);
    SaveField(out, s.required);
    SaveField(out, s.damageThreshold);
    SaveField(out, s.count);
    SaveField(out, s.met);
    SaveField(out, s.hostile);
    return out.str() + s.targets + s.counted + s.sub;
}

// An area condition's record, kind byte first, in the current layout or,
// with `old`, in that of files before 2.1.13.0 (an old spare byte, no
// tracking lists).
struct AreaSpec {
    uint8_t met = 0;
    XYRect area{0, 100, 100, 0};
    uint32_t time = 0;
    uint32_t duration = 0;
    uint16_t required = 1;
    uint8_t hostile = 0;
    uint8_t inArea = 1;
    uint8_t failed = 0;
    uint8_t achieved = 0;
    std::string targets = ListOf({});
    std::string counted = ListOf({});
    std::string tracked = ListOf({});
    std::string trackedInside = ListOf({});
    std::string sub = NO_SUB;
};
inline std::string AreaRecord(const AreaSpec& s, bool old = false)
{
    std::ostringstream out;
    SaveField<uint8_t>(out, VictoryCondition::KIND_AREA);
    SaveField(out, s.met);
    s.area.Save(out);
    SaveField(out, s.time);
    SaveField(out, s.duration);
    SaveField(out, s.duration);
    SaveField(out, s.required);
    SaveField(out, s.hostile);
    SaveField(out, s.inArea);
    SaveField(out, s.failed);
    SaveField(out, s.achieved);
    if (old)
        return out.str() + '\x5A' + s.targets + s.counted + s.sub;
    return out.str() + s.targets + s.counted + s.tracked + s.trackedInside + s.sub;
}

// Reads one condition record (kind byte first); null when refused.
inline std::unique_ptr<VictoryCondition> Read(const std::string& bytes)
{
    std::istringstream in(bytes);
    uint8_t kind = 0;
    if (!LoadField(in, kind))
        return nullptr;
    return std::unique_ptr<VictoryCondition>(VictoryCondition::LoadKind(kind, in));
}
inline std::string Saved(const VictoryCondition& c)
{
    std::ostringstream out;
    c.SaveData(out);
    return out.str();
}

}  // namespace conditiontest
