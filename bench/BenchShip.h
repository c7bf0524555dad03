// BenchShip.h: the plainest ship a benchmark can put on the map: the base
// unit's behaviour unchanged, saved as letter 'S' and the unit record.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/StreamFields.h"
#include "units/Unit.h"

class BenchShip : public Unit {
public:
    char GetTypeLetter() const override { return 'S'; }
    void SaveFields(std::ostream& out) const override
    {
        SaveField(out, static_cast<uint8_t>('S'));
        SaveUnitRecord(out);
    }
    bool LoadFields(std::istream& in) override { return LoadUnitRecord(in); }
};
