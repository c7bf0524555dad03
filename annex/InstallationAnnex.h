// InstallationAnnex.h: InstallationAnnex, one record of installa.dat: an air
// base or other installation, a position and the facilities placed around it.
// The air base built from it belongs to the unit model.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/AnnexFile.h"
#include "core/IDList.h"
#include "core/LatLonPoint.h"
#include "core/NameString.h"
#include "core/TreeListOf.h"

class InstallationAnnex : public TreeListNode<InstallationAnnex> {
public:
    // File layout, little-endian:
    //   ID          u16
    //   points      u16 count, then count x (u16 facility.dat ID, i32 lat,
    //               i32 lon): each facility and its offset from the
    //               installation's position, in angle units
    //   position    i32 lat, i32 lon   angle units
    //   name        NameString
    //   lastValue   u32                version 1 only
    static constexpr int64_t MIN_FILE_BYTES = 14;
    static constexpr int64_t POINT_BYTES = 10;

    InstallationAnnex() = default;
    explicit InstallationAnnex(uint16_t id) : TreeListNode<InstallationAnnex>(id) {}
    ~InstallationAnnex() override = default;   // the point list frees its points

    // Reads the layout above; lastValue only when the current annex version
    // is not 0. A point count larger than the bytes left fails the stream.
    // Answers the stream's state.
    bool Read(std::istream& in);
    void Load(std::istream& in) { Read(in); }
    // Writes the layout of the given annex version.
    void Save(std::ostream& out, uint32_t annexVersion = ANNEX_VERSION) const;

    IDPointList points;
    LatLonPoint position;
    NameString name;
    uint32_t lastValue = 0;
};
