// VictoryManagerWorld.h: what the victory manager tests run in: a game clock and
// event queue, an arena unit list, the resource texts of the data set, a
// side manager of a few sides each with its victory manager (reached through
// the victory calls), the player's side, and a record of every window,
// picture, sound and evaluation text the victory code asks for.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/ConfigurationFileIO.h"
#include "core/ResourceLoader.h"
#include "core/gam2arena.h"
#include "missions/VictoryCalls.h"
#include "missions/VictoryCondition.h"
#include "missions/VictoryManager.h"
#include "support/ReportCapture.h"
#include "support/TempTree.h"
#include "units/Unit.h"
#include "units/UnitList.h"
#include "world/Game2UI2.h"

namespace managertest {

// A unit of a side whose letter, platform id and damage the test sets.
class SideUnit : public Unit {
public:
    SideUnit(uint16_t id, uint16_t side, char letter, uint16_t platformID, int32_t damage)
        : letter_(letter), damage_(damage)
    {
        SetKey(id);
        SetSideID(side);
        SetAnnexID(platformID);
    }
    char GetTypeLetter() const override { return letter_; }
    int32_t GetDamagePercent() const override { return damage_; }
    void SaveFields(std::ostream&) const override {}
    bool LoadFields(std::istream&) override { return true; }

private:
    char letter_;
    int32_t damage_;
};

// A condition whose met state the test sets; it notes the units it was
// shown and the side it was asked for.
class ScriptedCondition : public VictoryCondition {
public:
    explicit ScriptedCondition(bool isMet = false, std::string text = "") : metNow(isMet), text_(std::move(text)) {}
    bool IsMet() const override { return metNow; }
    void CheckUnit(Unit* unit, uint16_t sideID) override
    {
        seenUnits.push_back(unit != nullptr ? unit->GetID() : 0);
        seenSide = sideID;
    }
    std::string Describe() const override { return text_; }

    bool metNow;
    std::vector<uint16_t> seenUnits;   // 0 for the periodic check
    uint16_t seenSide = 0;

private:
    std::string text_;
};

// What the victory code asked of the windows, in order.
struct Shown {
    std::vector<std::string> messages;     // message window texts
    std::vector<uint16_t> messageKeys;
    std::vector<VictoryAnswer> answers;
    std::vector<uint32_t> modalWindows;
    std::vector<int> pictures;             // end-of-game picture, met flag
    std::vector<int32_t> sounds;
    std::vector<std::string> evaluations;  // texts for the evaluation pane

    static Shown*& Active()
    {
        static Shown* active = nullptr;
        return active;
    }
};

class ManagerWorld {
public:
    ManagerWorld()
    {
        previousState = gam2arena::SetArenaState(&state);
        previousUnits = UnitList::SetArenaList(&units);
        previousPlayer = Game2UI2::GetCurrentSideID();
        Shown::Active() = &shown;
        World() = this;
        VictoryCalls calls;
        calls.listSides = [](std::vector<uint16_t>& ids) {
            if (!World()->hasSideManager)
                return false;
            for (const auto& [id, side] : World()->sides)
                ids.push_back(id);
            return true;
        };
        calls.findSide = [](uint16_t id, VictoryManager*& manager) {
            auto found = World()->sides.find(id);
            if (!World()->hasSideManager || found == World()->sides.end())
                return false;
            manager = found->second.get();
            return true;
        };
        calls.getSideText = [](uint16_t id, std::string& name) {
            auto found = World()->names.find(id);
            if (found == World()->names.end())
                return false;
            name = found->second;
            return true;
        };
        calls.showMessageWindow = [](const char* text, uint16_t key, VictoryAnswer answer) {
            Shown::Active()->messages.emplace_back(text);
            Shown::Active()->messageKeys.push_back(key);
            Shown::Active()->answers.push_back(answer);
        };
        calls.runModalWindow = [](uint32_t kind) { Shown::Active()->modalWindows.push_back(kind); };
        calls.showEndOfGamePicture = [](uint8_t met) { Shown::Active()->pictures.push_back(met); };
        calls.playSound = [](int32_t resource) { Shown::Active()->sounds.push_back(resource); };
        calls.showEvaluationText = [](const char* text) { Shown::Active()->evaluations.emplace_back(text); };
        previousCalls = SetVictoryCalls(calls);
        unit2gam::ResetAllUnitsLostQuestion();

        tree.File("tessarn3.ini", "[Tessarn3]\nResDirCount 1\nResDir1 " + std::string(TESSARN_DATA_DIR) +
                                      "/RESOURCE\n");
        ConfigurationFileIO ini((tree.root + "/tessarn3.ini").c_str());
        loader = std::make_unique<ResourceLoader>(ini);
        TheResourceLoader = loader.get();
    }
    ~ManagerWorld()
    {
        TheResourceLoader = nullptr;
        loader.reset();
        sides.clear();
        SetVictoryCalls(previousCalls);
        Shown::Active() = nullptr;
        World() = nullptr;
        Game2UI2::SetCurrentSideID(previousPlayer);
        UnitList::SetArenaList(previousUnits);
        gam2arena::SetArenaState(previousState);
    }
    ManagerWorld(const ManagerWorld&) = delete;
    ManagerWorld& operator=(const ManagerWorld&) = delete;

    // A side with its manager and name.
    VictoryManager& AddSide(uint16_t id, const std::string& name = "")
    {
        sides[id] = std::make_unique<VictoryManager>(id);
        names[id] = name.empty() ? "Side " + std::to_string(id) : name;
        return *sides[id];
    }
    // A unit of the arena's unit list.
    SideUnit& AddUnit(uint16_t id, uint16_t side, char letter = 'S', uint16_t platformID = 7, int32_t damage = 100)
    {
        auto* u = new SideUnit(id, side, letter, platformID, damage);
        units.Insert(u);
        return *u;
    }
    void SetTime(uint32_t seconds) { state.SetGameTime(GameTime(seconds)); }

    ArenaState state;
    UnitList units;
    std::map<uint16_t, std::unique_ptr<VictoryManager>> sides;
    std::map<uint16_t, std::string> names;
    bool hasSideManager = true;
    Shown shown;
    ReportCapture reports;

private:
    static ManagerWorld*& World()
    {
        static ManagerWorld* world = nullptr;
        return world;
    }

    TempTree tree;
    std::unique_ptr<ResourceLoader> loader;
    ArenaState* previousState = nullptr;
    UnitList* previousUnits = nullptr;
    uint16_t previousPlayer = 0;
    VictoryCalls previousCalls;
};

}  // namespace managertest
