// ContactWorld.h: what the contact tests run in: a game clock and event queue,
// an arena unit list of units whose figures a test sets, the arena's list of
// side contact records, the resource texts of the sample data set, and the
// contact calls recording the events made, the relations set and the messages
// posted.
#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/ConfigurationFileIO.h"
#include "core/Event.h"
#include "core/ResourceLoader.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/ContactCalls.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "support/TempTree.h"
#include "units/SideRecords.h"
#include "units/Unit.h"
#include "units/UnitList.h"
#include "world/UncertainPoly.h"

namespace contacttest {

// A unit whose letter, target mask, weapon kind, size class and group flag the
// test sets.
class FakeUnit : public Unit {
public:
    FakeUnit(uint16_t id, char letter, uint32_t mask) : letter_(letter), mask_(mask) { SetKey(id); }

    char GetTypeLetter() const override { return letter_; }
    uint32_t GetTargetMask() const override { return mask_; }
    uint32_t GetWeaponKind() const override { return weaponKind; }
    uint8_t GetSizeClass() const override { return sizeClass; }
    bool IsGroup() const override { return group; }
    void SaveFields(std::ostream& out) const override { SaveField(out, static_cast<uint8_t>(letter_)); }
    bool LoadFields(std::istream&) override { return true; }

    uint32_t weaponKind = 0;
    uint8_t sizeClass = 0;
    bool group = false;

private:
    char letter_;
    uint32_t mask_;
};

// An event that remembers its code and record key.
class KeyedEvent : public Event {
public:
    KeyedEvent(uint8_t code, uint16_t key) : code_(code), key_(key) {}
    bool HandleEvent() override { return false; }
    uint8_t TypeCode() const override { return code_; }
    bool Load(std::istream&) override { return true; }
    void Save(std::ostream&) const override {}
    uint16_t Key() const { return key_; }

private:
    uint8_t code_;
    uint16_t key_;
};

struct Relation {
    uint16_t side;
    uint8_t toward;
    uint8_t relation;
};

struct Message {
    uint16_t side;
    uint32_t level;
    char letter;
    std::string text;
};

class ContactWorld {
public:
    ContactWorld()
    {
        Active() = this;
        previousState = gam2arena::SetArenaState(&state);
        previousUnits = UnitList::SetArenaList(&units);
        previousSides = SideContactsList::SetArenaList(&sides);
        ContactCalls calls;
        calls.makeRemoveEmptyEntryEvent = [](uint16_t key) -> Event* { return new KeyedEvent(0x50, key); };
        calls.makeContactAreaEvent = [](uint16_t key) -> Event* { return new KeyedEvent(0x55, key); };
        calls.setRelation = [](uint16_t side, uint8_t toward, uint8_t relation) {
            Active()->relations.push_back({side, toward, relation});
        };
        calls.getRelation = [](uint16_t, uint8_t toward) -> uint8_t { return toward == 7 ? 1 : 2; };
        calls.postGameMessage = [](uint16_t side, uint32_t level, char letter, const char* text) {
            Active()->messages.push_back({side, level, letter, text});
        };
        previousCalls = SetContactCalls(calls);
        SideCalls sideCalls = SetSideCalls(SideCalls{});
        previousSideCalls = sideCalls;
        sideCalls.sideExists = [](uint16_t side) { return side != 0 && side < 10; };
        SetSideCalls(sideCalls);
        tree.File("tessarn3.ini",
                  "[Tessarn3]\nResDirCount 1\nResDir1 " + std::string(TESSARN_DATA_DIR) + "/RESOURCE\n");
        ConfigurationFileIO ini((tree.root + "/tessarn3.ini").c_str());
        loader = std::make_unique<ResourceLoader>(ini);
        TheResourceLoader = loader.get();
    }
    ~ContactWorld()
    {
        TheResourceLoader = nullptr;
        loader.reset();
        for (Unit* u = units.First(); u != nullptr; u = u->GetNext())
            u->ForgetMemberships();
        SetSideCalls(previousSideCalls);
        SetContactCalls(previousCalls);
        SideContactsList::SetArenaList(previousSides);
        UnitList::SetArenaList(previousUnits);
        gam2arena::SetArenaState(previousState);
        Active() = nullptr;
    }
    ContactWorld(const ContactWorld&) = delete;
    ContactWorld& operator=(const ContactWorld&) = delete;

    FakeUnit& AddUnit(uint16_t id, char letter, uint32_t mask, const LatLonPoint& at = {})
    {
        auto* u = new FakeUnit(id, letter, mask);
        u->SetPosition(at);
        units.Insert(u);
        return *u;
    }
    SideContacts& AddRecord(uint16_t key)
    {
        auto* r = new SideContacts(key);
        sides.Insert(r);
        return *r;
    }
    void SetTime(uint32_t seconds) { state.SetGameTime(GameTime(seconds)); }

    // The codes and keys of the queued events, head first; the queue is emptied.
    std::vector<std::pair<uint8_t, uint16_t>> TakeEvents()
    {
        std::vector<std::pair<uint8_t, uint16_t>> seen;
        while (Event* e = gam2arena::FindEvent(nullptr, EventCode::ANY)) {
            state.Queue().Remove(e);
            const auto* keyed = static_cast<KeyedEvent*>(e);
            seen.emplace_back(keyed->TypeCode(), keyed->Key());
            delete e;
        }
        return seen;
    }

    static ContactWorld*& Active()
    {
        static ContactWorld* active = nullptr;
        return active;
    }

    ArenaState state;
    UnitList units;
    SideContactsList sides;
    std::vector<Relation> relations;
    std::vector<Message> messages;

private:
    TempTree tree;
    std::unique_ptr<ResourceLoader> loader;
    ArenaState* previousState = nullptr;
    UnitList* previousUnits = nullptr;
    SideContactsList* previousSides = nullptr;
    ContactCalls previousCalls;
    SideCalls previousSideCalls;
};

// A square area of `halfSide` nautical miles either side of `centre`.
inline Uncertain_Poly* SquareArea(const LatLonPoint& centre, int32_t halfSideNm)
{
    const int32_t h = halfSideNm * 4096;
    const LatLonPoint ring[4] = {{centre.lat + h, centre.lon - h},
                                 {centre.lat + h, centre.lon + h},
                                 {centre.lat - h, centre.lon + h},
                                 {centre.lat - h, centre.lon - h}};
    return new Uncertain_Poly(ring, 4);
}

}  // namespace contacttest
