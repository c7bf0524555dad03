// GroupRecord.h: GroupRecord, one record of a group's keyed list (its kind,
// value and time, a 4 x 4 grid of positions and two rows of four words),
// with its saved form. What the fields mean is the group's.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/GameTime.h"
#include "core/LatLonPoint.h"
#include "core/TreeListOf.h"

class GroupRecord : public TreeListNode<GroupRecord> {
public:
    static constexpr uint32_t KIND_512 = 0x200;
    static constexpr int GRID_SIDE = 4;
    static constexpr int ROW_LENGTH = 4;

    // Key 0; kind and value as given; isKind512 1 for kind 0x200; every
    // other field 0 and every grid position default.
    GroupRecord(uint32_t kind = 0, uint32_t value = 0);
    ~GroupRecord() override = default;

    // Saved form, little-endian, 167 bytes:
    //   key          u16
    //   kind         u32
    //   value        u32
    //   time         u32   game seconds
    //   word1        u16
    //   isKind512    u8
    //   byte2, byte3 u8 each
    //   word3, word4 u16 each
    //   rows         4 x (rowA[i] u16, rowB[i] u16)
    //   grid         16 positions, row by row, each lat i32, lon i32
    // word2 is not saved: a loaded record has it 0. Load reads into a fresh
    // record; a form cut short leaves the stream failed, answers false and
    // changes nothing.
    void Save(std::ostream& out) const;
    bool Load(std::istream& in);

    uint32_t kind = 0;
    uint32_t value = 0;
    GameTime time;
    uint16_t word1 = 0;
    uint16_t word2 = 0;
    uint8_t isKind512 = 0;
    uint8_t byte2 = 0;
    uint8_t byte3 = 0;
    LatLonPoint grid[GRID_SIDE][GRID_SIDE];
    uint16_t rowA[ROW_LENGTH] = {};
    uint16_t rowB[ROW_LENGTH] = {};
    uint16_t word3 = 0;
    uint16_t word4 = 0;
};
