// GroupRecord.cpp: a group's record and its saved form.
#include "engagement/GroupRecord.h"

#include <algorithm>
#include <istream>
#include <iterator>
#include <ostream>

#include "core/StreamFields.h"

GroupRecord::GroupRecord(uint32_t recordKind, uint32_t recordValue)
    : kind(recordKind), value(recordValue), isKind512(recordKind == KIND_512 ? 1 : 0)
{
}

void GroupRecord::Save(std::ostream& out) const
{
    SaveKey(out);
    SaveField(out, kind);
    SaveField(out, value);
    time.Save(out);
    SaveField(out, word1);
    SaveField(out, isKind512);
    SaveField(out, byte2);
    SaveField(out, byte3);
    SaveField(out, word3);
    SaveField(out, word4);
    for (int i = 0; i < ROW_LENGTH; ++i) {
        SaveField(out, rowA[i]);
        SaveField(out, rowB[i]);
    }
    for (const auto& row : grid) {
        for (const LatLonPoint& point : row)
            point.Save(out);
    }
}

bool GroupRecord::Load(std::istream& in)
{
    GroupRecord read;
    read.LoadKey(in);
    LoadField(in, read.kind);
    LoadField(in, read.value);
    read.time.Load(in);
    LoadField(in, read.word1);
    LoadField(in, read.isKind512);
    LoadField(in, read.byte2);
    LoadField(in, read.byte3);
    LoadField(in, read.word3);
    LoadField(in, read.word4);
    for (int i = 0; i < ROW_LENGTH; ++i) {
        LoadField(in, read.rowA[i]);
        LoadField(in, read.rowB[i]);
    }
    for (auto& row : read.grid) {
        for (LatLonPoint& point : row)
            point.Load(in);
    }
    if (!in)
        return false;
    SetKey(read.GetKey());
    kind = read.kind;
    value = read.value;
    time = read.time;
    word1 = read.word1;
    word2 = 0;
    isKind512 = read.isKind512;
    byte2 = read.byte2;
    byte3 = read.byte3;
    word3 = read.word3;
    word4 = read.word4;
    std::copy(std::begin(read.rowA), std::end(read.rowA), std::begin(rowA));
    std::copy(std::begin(read.rowB), std::end(read.rowB), std::begin(rowB));
    for (int r = 0; r < GRID_SIDE; ++r)
        std::copy(std::begin(read.grid[r]), std::end(read.grid[r]), std::begin(grid[r]));
    return true;
}
