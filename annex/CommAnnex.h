// CommAnnex.h: CommAnnex, one record of comm.dat: a communication fit (a
// datalink or radio) that a platform carries. The unit's link built from it
// is the datalink record of the sensor model.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/AnnexFile.h"
#include "core/NameString.h"
#include "core/TreeListOf.h"

class CommAnnex : public TreeListNode<CommAnnex> {
public:
    // File layout, little-endian:
    //   ID          u16
    //   commType    u16          communication type (40, the land line of
    //                            facilities, is never in the file)
    //   flags       u32
    //   range       u16
    //   value       u16
    //   name        NameString
    //   byteValue   u8           copied into the link
    //   lastValue   u32          version 1 only
    static constexpr int64_t MIN_FILE_BYTES = 15;

    // The name of a record whose file entry gives none.
    static constexpr const char* UNNAMED = "NO DATALINK";

    // Every number 0, the name UNNAMED.
    CommAnnex();
    explicit CommAnnex(uint16_t id);
    ~CommAnnex() override = default;

    // Reads the layout above; lastValue only when the current annex version
    // is not 0. Answers the stream's state.
    bool Read(std::istream& in);
    void Load(std::istream& in) { Read(in); }
    // Writes the layout of the given annex version.
    void Save(std::ostream& out, uint32_t annexVersion = ANNEX_VERSION) const;

    uint16_t commType = 0;
    uint32_t flags = 0;
    uint16_t range = 0;
    uint16_t value = 0;
    NameString name;
    uint8_t byteValue = 0;
    uint32_t lastValue = 0;
};
