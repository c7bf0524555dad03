// PlanningWorld.h: what the contact planning and attack allocation tests run
// in: a game clock and event queue, an arena unit list of units whose reach,
// attack options and answers a test sets, the arena's side contact records,
// the mission's own side, and a mission that records the calls the planning
// makes of its overridable operations.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "annex/StockEntry.h"
#include "annex/TimedRecord.h"
#include "core/Event.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "engagement/SideEntry.h"
#include "missions/MissionRecord.h"
#include "missions/Side.h"
#include "units/Unit.h"
#include "units/UnitList.h"
#include "world/Game2UI2.h"

namespace planningtest {

// A unit whose letter, weapon reach, attack options, engagement answer,
// strength figures and time limit the test sets.
class FakeUnit : public Unit {
public:
    FakeUnit(uint16_t id, char letter) : letter_(letter) { SetKey(id); }

    char GetTypeLetter() const override { return letter_; }
    uint16_t GetWeaponReach(uint32_t) const override { return reachTenths; }
    uint16_t GetStrengthEstimateLow() const override { return strengthLow; }
    uint16_t GetStrengthEstimateHigh() const override { return strengthHigh; }
    uint32_t GetTimeLimit() const override { return timeLimit; }
    uint16_t GetLauncherID() const override { return launcherID; }
    bool EvadeThreat(Contact&) override
    {
        ++engageAsked;
        return acceptsEngagement;
    }
    void BuildEngagementList(uint32_t, uint16_t targetID, const NavVector&, Chain<TimedRecord>& out,
                             uint32_t flags) override
    {
        lastMode = flags;
        for (const TimedRecord& o : offers) {
            if (o.idD != targetID)
                continue;
            auto* copy = new TimedRecord(o);
            out.Append(copy);
        }
    }
    void SaveFields(std::ostream&) const override {}
    bool LoadFields(std::istream&) override { return true; }

    uint16_t reachTenths = 0;           // tenths of a nautical mile
    uint16_t strengthLow = 0;
    uint16_t strengthHigh = 0;
    uint32_t timeLimit = 0;
    uint16_t launcherID = 0;
    bool acceptsEngagement = false;
    int engageAsked = 0;
    uint32_t lastMode = 0;
    std::vector<TimedRecord> offers;    // options handed out per target

private:
    char letter_;
};

// A mission that counts the planning's calls of its overridable operations
// and otherwise behaves as the base.
class CountingMission : public MissionRecord {
public:
    explicit CountingMission(Side* owner) : MissionRecord(3, "Test", owner) {}

    void ScheduleContactCheck(Contact* contact, uint16_t code) override
    {
        scheduled.push_back(code);
        MissionRecord::ScheduleContactCheck(contact, code);
    }
    void CheckIdleState(MissionUnitRec* record) override
    {
        idleChecked.push_back(record->GetUnitID());
        MissionRecord::CheckIdleState(record);
    }
    void OnEngageResult(uint16_t unitID, uint8_t clearMark, Contact* contact, uint8_t done) override
    {
        engageResults.push_back({unitID, clearMark, done});
        MissionRecord::OnEngageResult(unitID, clearMark, contact, done);
    }

    struct EngageResult {
        uint16_t unitID;
        uint8_t clearMark;
        uint8_t done;
        bool operator==(const EngageResult&) const = default;
    };
    std::vector<uint16_t> scheduled;
    std::vector<uint16_t> idleChecked;
    std::vector<EngageResult> engageResults;
};

class PlanningWorld {
public:
    // The mission's side is 1, hostile toward side 2, friendly toward 3; the
    // scanned record has key 10.
    PlanningWorld() : side(1), mission(&side)
    {
        previousState = gam2arena::SetArenaState(&state);
        previousUnits = UnitList::SetArenaList(&units);
        previousSides = SideContactsList::SetArenaList(&sides);
        side.AddRelation(new SideEntry(2, 1));
        side.AddRelation(new SideEntry(3, 2));
        record = new SideContacts(10);
        sides.Insert(record);
        previousPlayerSide = Game2UI2::GetCurrentSideID();
    }
    ~PlanningWorld()
    {
        Game2UI2::SetCurrentSideID(previousPlayerSide);
        gam2arena::SetCurrentSide(nullptr);
        for (Unit* u = units.First(); u != nullptr; u = u->GetNext())
            u->ForgetMemberships();
        SideContactsList::SetArenaList(previousSides);
        UnitList::SetArenaList(previousUnits);
        gam2arena::SetArenaState(previousState);
    }
    PlanningWorld(const PlanningWorld&) = delete;
    PlanningWorld& operator=(const PlanningWorld&) = delete;

    // A unit of the arena at `at`, on the scanned record; with `inMission`
    // also a unit of the mission (state IDLE).
    FakeUnit& AddUnit(uint16_t id, char letter, const LatLonPoint& at = {}, bool inMission = true)
    {
        auto* u = new FakeUnit(id, letter);
        u->SetPosition(at);
        u->sideEntryID = record->GetKey();
        units.Insert(u);
        record->ownUnits.Insert(new IDNode(id));
        if (inMission) {
            auto* r = new MissionUnitRec(id);
            r->state = MissionUnitState::IDLE;
            mission.units.Insert(r);
        }
        return *u;
    }
    // A contact of the scanned record on unit `unitID`.
    Contact& AddContact(uint16_t unitID, uint32_t classBits, const LatLonPoint& at = {}, uint8_t sideID = 2)
    {
        auto* c = new Contact();
        c->SetKey(unitID);
        c->SetTypeFlags(classBits);
        c->SetPosition(at);
        c->sideId = sideID;
        record->contacts.Insert(c);
        return *c;
    }
    // The scanned record becomes the player's, and side 1 the player's side.
    void MakePlayerSide()
    {
        gam2arena::SetCurrentSide(record);
        Game2UI2::SetCurrentSideID(side.GetID());
    }
    void SetTime(uint32_t seconds) { state.SetGameTime(GameTime(seconds)); }

    // The type codes and units of the queued events, head first; the queue is
    // emptied.
    std::vector<std::pair<uint8_t, uint16_t>> TakeEvents()
    {
        std::vector<std::pair<uint8_t, uint16_t>> seen;
        while (Event* e = gam2arena::FindEvent(nullptr, EventCode::ANY)) {
            state.Queue().Remove(e);
            seen.emplace_back(e->TypeCode(), e->GetSubject());
            delete e;
        }
        return seen;
    }

    ArenaState state;
    UnitList units;
    SideContactsList sides;
    SideContacts* record = nullptr;   // owned by sides
    Side side;
    CountingMission mission;

private:
    ArenaState* previousState = nullptr;
    UnitList* previousUnits = nullptr;
    SideContactsList* previousSides = nullptr;
    uint16_t previousPlayerSide = 0;
};

// An attack option of `shooter` against `target`.
inline TimedRecord Option(uint16_t shooter, uint16_t target, StockEntry* stock, uint32_t kind, uint16_t value,
                          uint32_t time, uint16_t flags = 0)
{
    TimedRecord o;
    o.idA = shooter;
    o.idB = shooter;
    o.idD = target;
    o.extra = stock;
    o.weaponKind = kind;
    o.value16 = value;
    o.firstTime = GameTime(time);
    o.resultBits = flags;
    return o;
}

}  // namespace planningtest
