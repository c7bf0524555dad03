// UnitTestSupport.h: stand-ins for what the unit tests need of the layers
// above the unit model: a sensor class with settable reach figures, a unit
// class of any type letter with one field of its own, an event that records
// its handling, the event makers built on it, and a scope that installs an
// arena state, the sample resource texts and these stand-ins.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "annex/AnnexTables.h"
#include "core/ConfigurationFileIO.h"
#include "core/Event.h"
#include "core/IDList.h"
#include "core/IDRecord.h"
#include "core/ResourceLoader.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "support/ReportCapture.h"
#include "support/TempTree.h"
#include "units/Sensor.h"
#include "units/Unit.h"
#include "units/UnitEvents.h"
#include "units/UnitFactory.h"

namespace unittest {

// A sensor whose figures the test sets; every mode answers the same reach.
// Saved form: class code u8, key u16, state u32, then the figures.
class TestSensor : public Sensor {
public:
    explicit TestSensor(uint8_t type = TYPE_RADAR) : Sensor(type) {}

    uint16_t GetRange(uint32_t, bool alternative) const override { return alternative ? searchAlt : search; }
    uint16_t GetRangeDefault(uint32_t) const override { return reach; }
    Contact* Detect(Unit&, Unit&, const NavVector&, int, int32_t, bool, bool, bool) override { return nullptr; }
    bool TrackTarget(Unit&, Unit&, const NavVector&, int, bool, const ChannelEntry&, int16_t, bool, bool) override
    {
        return false;
    }
    bool CanTrack(Unit&, Unit&, const NavVector&, int, const ChannelEntry&, bool, bool) override { return false; }
    uint8_t GetClassCode() const override { return GetSensorType(); }
    void SetContactSource(Contact&) const override {}
    uint32_t GetFlagWord() const override { return flagWord; }
    uint32_t GetPrimaryBandMask() const override { return primaryMask; }
    uint16_t GetPrimaryReach() const override { return primaryReach; }
    uint32_t GetRelayBandMask() const override { return relayMask; }
    uint16_t GetRelayReach() const override { return relayReach; }
    bool HasRelays() const override { return relays != 0; }

    void Save(std::ostream& out) const override
    {
        SaveField(out, GetSensorType());
        SaveKey(out);
        SaveField(out, state_);
        for (uint16_t v : {search, searchAlt, reach, primaryReach, relayReach})
            SaveField(out, v);
        for (uint32_t v : {flagWord, primaryMask, relayMask})
            SaveField(out, v);
        SaveField(out, relays);
    }
    bool Load(std::istream& in) override
    {
        LoadKey(in);
        LoadField(in, state_);
        for (uint16_t* v : {&search, &searchAlt, &reach, &primaryReach, &relayReach})
            LoadField(in, *v);
        for (uint32_t* v : {&flagWord, &primaryMask, &relayMask})
            LoadField(in, *v);
        LoadField(in, relays);
        return static_cast<bool>(in);
    }

    void Set(uint32_t state) { state_ = state; }

    uint16_t search = 0, searchAlt = 0, reach = 0, primaryReach = 0, relayReach = 0;
    uint32_t flagWord = 0, primaryMask = 0, relayMask = 0;
    uint8_t relays = 0;
};

inline Sensor* MakeTestSensor(uint8_t type)
{
    return new TestSensor(type);
}

// The record factory's stand-in: a test sensor of the class, keeping the id.
inline Sensor* MakeRecordSensor(uint8_t sensorClass, uint16_t sensorID)
{
    auto* sensor = new TestSensor(sensorClass);
    sensor->SetSensorID(sensorID);
    return sensor;
}

// A fuel.dat record of the type and capacity (whole counts) in the
// scenario's fuel table, which must exist.
inline void AddFuelRecord(uint16_t id, uint32_t type, uint32_t capacity)
{
    auto* fuel = new FuelAnnex(id);
    fuel->fuelType = type;
    fuel->capacity = capacity;
    Annex::Tables().Fuels()->Insert(fuel);
}

// A unit of any type letter with one u16 field of its own.
// Record: letter u8, classWord u16, then the unit's part.
class TestUnit : public Unit {
public:
    explicit TestUnit(char letter = 'S') : letter_(letter) {}

    char GetTypeLetter() const override { return letter_; }
    void SaveFields(std::ostream& out) const override
    {
        SaveField(out, static_cast<uint8_t>(letter_));
        SaveField(out, classWord);
        SaveUnitRecord(out);
    }
    bool LoadFields(std::istream& in) override
    {
        LoadField(in, classWord);
        return in && LoadUnitRecord(in);
    }

    uint16_t classWord = 0;

private:
    char letter_;
};

template <char LETTER>
Unit* MakeTestUnit()
{
    return new TestUnit(LETTER);
}

// An event that remembers its type code, subject and value, and counts its
// handlings. Saved form: code u8, subject u16, value u16, due time u32.
class TestEvent : public Event {
public:
    TestEvent(uint8_t code = EventCode::SET_SPEED, uint16_t subject = 0, uint16_t value = 0)
        : code_(code), subject_(subject), value_(value) {}

    bool HandleEvent() override
    {
        ++handled;
        return false;
    }
    uint16_t GetSubject() const override { return subject_; }
    void SetSubject(uint16_t subject) override { subject_ = subject; }
    uint8_t TypeCode() const override { return code_; }
    bool Load(std::istream& in) override
    {
        LoadField(in, subject_);
        LoadField(in, value_);
        return LoadBase(in);
    }
    void Save(std::ostream& out) const override
    {
        SaveField(out, code_);
        SaveField(out, subject_);
        SaveField(out, value_);
        SaveBase(out);
    }
    Event* Clone() const override
    {
        auto* copy = new TestEvent(code_, subject_, value_);
        copy->SetDueTime(GetTime());
        return copy;
    }
    uint16_t Value() const { return value_; }

    int handled = 0;

private:
    uint8_t code_;
    uint16_t subject_;
    uint16_t value_;
};

// Events of the codes the unit model makes, as TestEvents; a set-speed event
// handled at once is recorded in `speedsSetNow`.
struct EventLog {
    static EventLog*& Active() { static EventLog* active = nullptr; return active; }
    std::vector<std::pair<uint16_t, uint16_t>> speedsSetNow;   // (unit, knots)
};

class SpeedNowEvent : public TestEvent {
public:
    using TestEvent::TestEvent;
    bool HandleEvent() override
    {
        if (EventLog::Active())
            EventLog::Active()->speedsSetNow.emplace_back(GetSubject(), Value());
        return TestEvent::HandleEvent();
    }
};

inline Event* MakeSpeedEvent(uint16_t unit, uint16_t knots, GameTime due)
{
    auto* e = new SpeedNowEvent(EventCode::SET_SPEED, unit, knots);
    e->SetDueTime(due);
    return e;
}
inline Event* MakeDeleteEvent(uint16_t unit, GameTime due)
{
    auto* e = new TestEvent(EventCode::DELETE_UNIT, unit);
    e->SetDueTime(due);
    return e;
}
inline Event* MakeTowedEvent(uint16_t unit)
{
    return new TestEvent(EventCode::TOWED_ARRAY, unit);
}
inline uint32_t ActionOf(const Event& e)
{
    return static_cast<const TestEvent&>(e).Value();
}

// Everything the unit tests stand on, installed while it lives: an arena
// state (queue, clock), the sample resource texts, the test sensor factory,
// the event makers and a report capture.
class UnitWorld {
public:
    UnitWorld()
    {
        previousState = gam2arena::SetArenaState(&arena);
        previousFactory = SetSensorFactory(&MakeTestSensor);
        UnitEventCalls calls;
        calls.makeSetSpeedEvent = &MakeSpeedEvent;
        calls.makeDeleteUnitEvent = &MakeDeleteEvent;
        calls.makeTowedArrayEvent = &MakeTowedEvent;
        calls.getMultiAction = &ActionOf;
        previousEvents = SetUnitEventCalls(calls);
        EventLog::Active() = &log;
        tree.File("tessarn3.ini", "[Tessarn3]\nResDirCount 1\nResDir1 " + std::string(TESSARN_DATA_DIR) +
                                      "/RESOURCE\n");
        ConfigurationFileIO ini((tree.root + "/tessarn3.ini").c_str());
        loader = std::make_unique<ResourceLoader>(ini);
        TheResourceLoader = loader.get();
    }
    ~UnitWorld()
    {
        TheResourceLoader = nullptr;
        loader.reset();
        EventLog::Active() = nullptr;
        SetUnitEventCalls(previousEvents);
        SetSensorFactory(previousFactory);
        gam2arena::SetArenaState(previousState);
    }
    UnitWorld(const UnitWorld&) = delete;
    UnitWorld& operator=(const UnitWorld&) = delete;

    // The queued events of a type code, head first.
    std::vector<TestEvent*> Queued(uint8_t code)
    {
        std::vector<TestEvent*> found;
        for (Event* e = arena.Queue().First(); e != nullptr; e = e->GetNext()) {
            if (e->TypeCode() == code)
                found.push_back(static_cast<TestEvent*>(e));
        }
        return found;
    }

    ArenaState arena;
    EventLog log;
    ReportCapture reports;

private:
    TempTree tree;
    std::unique_ptr<ResourceLoader> loader;
    ArenaState* previousState = nullptr;
    SensorFactory previousFactory = nullptr;
    UnitEventCalls previousEvents;
};

// The saved bytes of a unit's whole record.
inline std::string SavedRecord(const Unit& unit)
{
    std::ostringstream out;
    unit.SaveFields(out);
    return out.str();
}

// A diesel plant of one band per row covering -3 to 100 (tens of metres),
// speeds 5, 12, 20, 28 knots and use rate 10 per band.
inline PropulsionPlant* MakeDieselPlant(uint16_t key, uint32_t engine = EngineType::DIESEL)
{
    auto* plant = new PropulsionPlant();
    plant->SetKey(key);
    plant->engineType = engine;
    const uint16_t speeds[] = {5, 12, 20, 28};
    for (int row = 0; row < PropulsionPlant::SETTINGS; ++row) {
        for (int band = 0; band < PropulsionPlant::BANDS; ++band)
            plant->speedTable[row][band] = {100, -3, speeds[row]};
    }
    for (uint16_t& rate : plant->useRate)
        rate = 10;
    return plant;
}

// A tank of a fuel type with counts and a capacity.
inline FuelTank* MakeTank(uint32_t fuelType, uint32_t capacity, uint32_t count, uint32_t partial = 0)
{
    std::ostringstream out;
    SaveField(out, fuelType);
    SaveField(out, capacity);
    SaveField(out, count);
    SaveField(out, partial);
    auto* tank = new FuelTank();
    std::istringstream in(out.str());
    tank->Load(in);
    return tank;
}

// Id lists of a record filled for a test, and their ids in list order.
template <class List>
void Fill(List& list, std::initializer_list<uint16_t> ids)
{
    for (uint16_t id : ids)
        list.Insert(new IDNode(id));
}

inline void FillRecords(IDRecordList& list, std::initializer_list<uint16_t> ids)
{
    for (uint16_t id : ids)
        list.Insert(new IDRecord(id, 0));
}

inline std::vector<uint16_t> IdsOf(const IDList& list)
{
    std::vector<uint16_t> ids;
    for (const IDNode* n = list.First(); n != nullptr; n = n->GetNext())
        ids.push_back(n->GetKey());
    return ids;
}

inline std::vector<uint16_t> IdsOf(const IDRecordList& list)
{
    std::vector<uint16_t> ids;
    for (const IDRecord* n = list.First(); n != nullptr; n = n->GetNext())
        ids.push_back(n->GetKey());
    return ids;
}

}  // namespace unittest
