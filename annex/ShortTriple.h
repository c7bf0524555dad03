// ShortTriple.h: ShortTriple, three u16 values indexed by aspect (0 front,
// 1 side, 2 rear), as the platform records carry them and the units copy
// them (signatures and other per-aspect figures).
#pragma once

#include <cstdint>
#include <iosfwd>

class ShortTriple {
public:
    static constexpr int COUNT = 3;        // values, indexed 0 to 2
    static constexpr int64_t BYTES = 6;    // saved size

    ShortTriple() { Clear(); }
    ShortTriple(uint16_t front, uint16_t side, uint16_t rear) : values_{front, side, rear} {}

    // The value at an index 0 to 2; any other index gives 0.
    uint16_t Get(int index) const;
    // Sets the value at an index 0 to 2; any other index changes nothing.
    void Set(int index, uint16_t value);
    // All three values 0.
    void Clear();

    bool operator==(const ShortTriple& other) const;

    // Saved form, little-endian, 6 bytes: the three values, u16 each, in
    // index order. A short read leaves the stream failed; values already
    // read keep what was read.
    void Save(std::ostream& out) const;
    void Load(std::istream& in);

private:
    uint16_t values_[COUNT];
};
