// SignatureRecord.h: SignatureRecord, what one unit emits in up to 24 bands
// (a signed level per band and the mask of the bands present), keyed by that
// unit's ID, and SignatureList, the saved keyed list every unit holds. Who
// builds the records and what the levels mean in detection lives with the
// units and the sensors.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/SavedTreeListOf.h"
#include "core/TreeListOf.h"

class SignatureRecord : public TreeListNode<SignatureRecord> {
public:
    static constexpr int BAND_COUNT = 24;
    // The bands a mask can name; higher bits are ignored everywhere.
    static constexpr uint32_t BAND_BITS = 0x00FFFFFF;
    // A level at or below this takes its bands out of the mask.
    static constexpr int16_t ABSENT_LEVEL = -32767;
    // Bytes of one record's saved form: the key and the 52 bytes of bands.
    static constexpr int64_t SAVED_BYTES = 2 + 2 * BAND_COUNT + 4;

    // Key 0, every level 0, mask 0, direction 0.
    SignatureRecord() = default;
    // key: the ID of the unit whose emission the record carries.
    explicit SignatureRecord(uint16_t key) : TreeListNode<SignatureRecord>(key) {}
    ~SignatureRecord() override = default;

    // Sets the level of every band named in bands (bits 0 to 23) to level.
    // A level of ABSENT_LEVEL or lower takes those bands out of the mask
    // (they still keep the low level as their value); any other level puts
    // them in.
    void SetBandLevel(uint32_t bands, int16_t level);

    // Folds the record into out (BAND_COUNT levels, prepared by the caller,
    // typically every entry ABSENT_LEVEL): for each band named both in bands
    // and in the mask, from band 0 up, the record's level plus offset replaces
    // out[band] when it is greater. A sum above 32767 counts as 32767 (it
    // would otherwise wrap to a very low level). Several records folded in
    // turn leave the highest level per band, whatever the order. A null out
    // is a fatal error and changes nothing.
    void RaiseBandLevels(uint32_t bands, int16_t* out, int16_t offset) const;

    // The level of band 0 to 23; 0 for any other band.
    int16_t GetBandLevel(int band) const;
    uint32_t GetBandMask() const { return mask_; }

    // Tenths of a degree, 0 to 3599, set by the creator. Not saved: the next
    // detection scan rebuilds every unit's record with its direction.
    int16_t GetDirection() const { return direction_; }
    void SetDirection(int16_t tenths) { direction_ = tenths; }

    // Saved form, little-endian, SAVED_BYTES bytes:
    //   key       u16          the unit's ID
    //   levels    24 x i16     band 0 first
    //   mask      u32          bits 0 to 23
    // The key is saved because the lists are searched by it after a load
    // (entries are replaced by unit, and a best entry needs a non-zero key).
    void Save(std::ostream& out) const;
    // Reads the saved form into a record outside every list; mask bits above
    // band 23 are dropped and the direction becomes 0. On a short read the
    // record keeps every field it had, the stream is left failed and the
    // answer is false.
    bool Load(std::istream& in);

private:
    int16_t levels_[BAND_COUNT] = {};
    uint32_t mask_ = 0;
    int16_t direction_ = 0;
};

// A unit's signature records, keyed by unit ID. Saved form: u16 count, then
// each record's saved form in key order.
using SignatureList = SavedTreeListOf<SignatureRecord>;
