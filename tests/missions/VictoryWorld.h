// VictoryWorld.h: what the victory item and recording tests run in: the
// sample resource texts, an arena unit list of named units of chosen type
// letters, database name lookups answering from a table the test fills, and
// a maker of the tag-8 item.
#pragma once

#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "core/ConfigurationFileIO.h"
#include "core/ResourceLoader.h"
#include "missions/RecordNameCalls.h"
#include "missions/VictoryItem.h"
#include "support/TempTree.h"
#include "units/Unit.h"
#include "units/UnitList.h"

namespace victorytest {

// A tag-8 item: unit id, name, two values.
inline std::unique_ptr<UnitValuesItem> MakeValuesItem(uint16_t unitID, const char* name, uint32_t first,
                                                      uint32_t second)
{
    return std::make_unique<UnitValuesItem>(unitID, name, first, second);
}

class FakeUnit : public Unit {
public:
    FakeUnit(uint16_t id, char letter) : letter_(letter) { SetKey(id); }
    char GetTypeLetter() const override { return letter_; }
    bool LoadFields(std::istream&) override { return true; }
    void SaveFields(std::ostream&) const override {}

private:
    char letter_;
};

class VictoryWorld {
public:
    VictoryWorld()
    {
        Active() = this;
        previousUnits = UnitList::SetArenaList(&units);
        RecordNameCalls calls;
        calls.copyRecordName = [](uint16_t id, char* b, uint16_t n) { return Active()->Lookup('W', id, b, n); };
        calls.copyPlaneRecordName = [](uint16_t id, char* b, uint16_t n) { return Active()->Lookup('P', id, b, n); };
        calls.copySubRecordName = [](uint16_t id, char* b, uint16_t n) { return Active()->Lookup('U', id, b, n); };
        calls.copyShipRecordName = [](uint16_t id, char* b, uint16_t n) { return Active()->Lookup('S', id, b, n); };
        calls.copyFacilityRecordName = [](uint16_t id, char* b, uint16_t n) {
            return Active()->Lookup('F', id, b, n);
        };
        previousNames = SetRecordNameCalls(calls);
        tree.File("tessarn3.ini",
                  "[Tessarn3]\nResDirCount 1\nResDir1 " + std::string(TESSARN_DATA_DIR) + "/RESOURCE\n");
        ConfigurationFileIO ini((tree.root + "/tessarn3.ini").c_str());
        loader = std::make_unique<ResourceLoader>(ini);
        TheResourceLoader = loader.get();
    }
    ~VictoryWorld()
    {
        TheResourceLoader = nullptr;
        loader.reset();
        SetRecordNameCalls(previousNames);
        UnitList::SetArenaList(previousUnits);
        Active() = nullptr;
    }
    VictoryWorld(const VictoryWorld&) = delete;
    VictoryWorld& operator=(const VictoryWorld&) = delete;

    FakeUnit& AddUnit(uint16_t id, char letter, const char* name, uint16_t annexID = 0, const char* className = "")
    {
        auto* u = new FakeUnit(id, letter);
        u->SetName(name);
        u->SetClassName(className);
        u->SetAnnexID(annexID);
        units.Insert(u);
        return *u;
    }

    // Names the database record of a kind ('F', 'P', 'S', 'U', 'W').
    void Name(char letter, uint16_t id, const std::string& name) { names[{letter, id}] = name; }

    UnitList units;

private:
    static VictoryWorld*& Active()
    {
        static VictoryWorld* active = nullptr;
        return active;
    }
    bool Lookup(char letter, uint16_t id, char* buffer, uint16_t length) const
    {
        const auto found = names.find({letter, id});
        if (found == names.end())
            return false;
        std::strncpy(buffer, found->second.c_str(), length - 1u);
        buffer[length - 1] = '\0';
        return true;
    }

    std::map<std::pair<char, uint16_t>, std::string> names;
    TempTree tree;
    std::unique_ptr<ResourceLoader> loader;
    UnitList* previousUnits = nullptr;
    RecordNameCalls previousNames;
};

}  // namespace victorytest
