// MissionList.h: MissionList, the keyed list of one side's missions (by
// mission id), which owns them and writes and reads the side's mission
// section; and the mission type table that tells the loader which class a
// saved type code makes.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/SavedTreeListOf.h"
#include "missions/MissionRecord.h"

class Side;

// A new, empty mission of a type code for loading (the class's stream
// constructor: type code and owning side); its Load reads the rest.
using MissionLoadMaker = MissionRecord* (*)(uint16_t type, Side* side);

// Mission type codes.
namespace MissionType {
constexpr uint16_t STANDING = 1;
constexpr uint16_t HOLDING = 2;
constexpr uint16_t PATROL = 3;
constexpr uint16_t TRANSIT = 4;
constexpr uint16_t SUPPORT = 5;
constexpr uint16_t STRIKE = 6;
constexpr uint16_t INTERCEPT = 7;
constexpr uint16_t FERRY = 8;
constexpr uint16_t RECON = 9;
constexpr uint16_t LAST = 9;
} // namespace MissionType

// The loader's maker of a type code: null for a code outside 1..9 and for a
// type whose class the program does not have yet (counted as unknown).
MissionLoadMaker GetMissionLoadMaker(uint16_t type);
// Replaces the maker of a type code 1..9 (null: the type becomes unknown);
// returns the one it replaces. For tests and for types added later.
MissionLoadMaker SetMissionLoadMaker(uint16_t type, MissionLoadMaker maker);

// Mission section, little-endian:
//   count      u16
//   missions   count times, in id order, each as its own Save writes it:
//              the u16 type code first (MissionRecord::SaveBase), then the
//              base record and the type's own fields.
class MissionList : public SavedTreeListOf<MissionRecord> {
public:
    // Text of the fatal error on a mission type code the program has no
    // class for.
    static constexpr int32_t UNKNOWN_TYPE_TEXT = 0x7B00DA;

    explicit MissionList(Side* owner) : side(owner) {}
    ~MissionList() override;
    MissionList(const MissionList&) = delete;
    MissionList& operator=(const MissionList&) = delete;

    // Writes the mission section; answers whether the stream is still good.
    bool Save(std::ostream& out) const override;
    // Reads a mission section and adds its missions beside those already in
    // the list (the list is not emptied). Every mission read receives `side`.
    // An unknown type code is the fatal error UNKNOWN_TYPE_TEXT; should that
    // return, the stream is failed and the load ends. A mission cut short, or
    // one whose id is 0 or already listed, is deleted, never listed, and the
    // stream stays failed; the missions read before it stay. Answers whether
    // the stream is still good.
    bool Load(std::istream& in) override;

    Side* GetSide() const { return side; }

protected:
    Side* side;   // owner of the list's missions; not owned
};
