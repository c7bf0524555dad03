// status.cpp: the cost of the unit information panels the windows refresh
// every frame: ClearUnitStatus plus GetUnitStatusText for an own ship and
// for a contact, and the roster of a 40-member group (goal 20 us a panel).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include <unistd.h>

#include "core/ConfigurationFileIO.h"
#include "core/ResourceLoader.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "units/Group.h"
#include "units/Status.h"
#include "units/UnitList.h"
#include "world/game2ui.h"

#include "BenchShip.h"

namespace {

// A ship that fills a panel of the size a ship's own does, times included.
class PanelShip : public BenchShip {
public:
    void GetStatus(UnitStatus& status) const override
    {
        std::snprintf(status.lines[0], UnitStatus::LINE_SIZE, "%.32s", GetName().Text());
        for (int line = 1; line < 12; ++line)
            std::snprintf(status.lines[line], UnitStatus::LINE_SIZE, "%d", line * 37);
        FormatStatusTime(45296, status.lines[12]);
        FormatStatusTime(3725, status.lines[13]);
        status.lineCount = 14;
    }
};

// A unit list with a ship (id 1, own), its contact on a ship (id 2), a
// 40-member group (id 3), the side's contacts and the sample resource texts.
class Panels {
public:
    explicit Panels(benchmark::State& state)
    {
        const std::string ini = std::string("/tmp/tessarn-bench-status-") + std::to_string(::getpid()) + ".ini";
        if (FILE* f = std::fopen(ini.c_str(), "w")) {
            std::fprintf(f, "[Tessarn3]\nResDirCount 1\nResDir1 %s/RESOURCE\n", TESSARN_DATA_DIR);
            std::fclose(f);
        }
        ConfigurationFileIO config(ini.c_str());
        loader = std::make_unique<ResourceLoader>(config);
        std::remove(ini.c_str());
        TheResourceLoader = loader.get();
        previousArena = gam2arena::SetArenaState(&arena);
        previousUnits = UnitList::SetArenaList(&units);
        previousSides = SideContactsList::SetArenaList(&sides);
        side = new SideContacts(1);
        sides.Insert(side);
        arena.SetStartDate(1991, 6, 1, 8, 0, 0);
        auto* own = new PanelShip();
        own->SetKey(1);
        own->SetName("Resolute");
        units.Insert(own);
        auto* other = new PanelShip();
        other->SetKey(2);
        units.Insert(other);
        Contact* c = new Contact(*other, 1);
        c->sizeClass = 8;
        c->knownBits = ContactKnown::COURSE | ContactKnown::SPEED;
        side->MergeContact(&c);
        gam2arena::SetCurrentSide(side);
        InstallContactTexts();
        game2ui::SetContactOfPlayer(1, true);
        group = new Group();
        group->SetKey(3);
        units.Insert(group);
        for (uint16_t id = 100; id < 140; ++id) {
            auto* member = new PanelShip();
            member->SetKey(id);
            member->SetName(("Escort " + std::to_string(id)).c_str());
            units.Insert(member);
            group->members.Insert(new GroupEntry(id));
        }
        UnitStatus check;
        GetUnitStatusText(2, &check);
        if (check.lineCount != 77 || check.lines[25][0] == '\0')
            state.SkipWithError("the contact panel is not filled (resource texts missing?)");
    }
    ~Panels()
    {
        game2ui::ClearContactsOfPlayer();
        SetContactTextCalls(ContactTextCalls{});
        gam2arena::SetCurrentSide(nullptr);
        for (Unit* u = units.First(); u != nullptr; u = u->GetNext())
            u->ForgetMemberships();
        units.DeleteAll();
        UnitList::SetArenaList(previousUnits);
        SideContactsList::SetArenaList(previousSides);
        gam2arena::SetArenaState(previousArena);
        TheResourceLoader = nullptr;
    }

    ArenaState arena;
    UnitList units;
    SideContactsList sides;
    SideContacts* side = nullptr;   // owned by sides
    Group* group = nullptr;

private:
    std::unique_ptr<ResourceLoader> loader;
    ArenaState* previousArena = nullptr;
    UnitList* previousUnits = nullptr;
    SideContactsList* previousSides = nullptr;
};

// Arg: the unit id, 1 for the own ship, 2 for the contact.
void Panel(benchmark::State& state)
{
    Panels panels(state);
    const auto id = static_cast<uint16_t>(state.range(0));
    UnitStatus status;
    for (auto _ : state) {
        ClearUnitStatus(status);
        GetUnitStatusText(id, &status);
        benchmark::DoNotOptimize(status);
    }
}
BENCHMARK(Panel)->ArgName("unit")->Arg(1)->Arg(2);

void RosterOf40(benchmark::State& state)
{
    Panels panels(state);
    char text[2048];
    for (auto _ : state) {
        GetGroupRosterText(3, text, sizeof text);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(RosterOf40);

}  // namespace
