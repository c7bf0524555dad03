// SonarConditions.h: what every sonar of the running scenario shares: the
// convergence-zone spacing and width and the depth of the deep-water layer
// (SonarConditions, drawn for a new scenario and kept in the saved game), the
// ambient noise by sea state, and the one range table of signal excess
// against range for the three frequency bands.
#pragma once

#include <cstdint>
#include <iosfwd>

class SonarConditions {
public:
    // Spacing of convergence zones, in range units / 2000 (about half
    // nautical miles), never 0; their width in the same unit; copies kept in
    // the saved game; the depth (tens of metres, negative) at or below which
    // the water is deep enough for zones.
    static uint16_t czInterval;
    static uint16_t czWidth;
    static uint16_t czFirst;
    static uint16_t czLast;
    static int16_t layerDepth;

    // A new scenario's conditions: spacing 50 to 70, width 3 to 10 (drawn
    // with gam2arena::Random), layer -250.
    static void Init();
    // Saved form, little-endian, 10 bytes: czInterval, czWidth, layerDepth,
    // czFirst, czLast, 2 bytes each.
    static void Save(std::ostream& out);
    // Reads the saved form. A form cut short, or a spacing of 0 (a divisor
    // of every zone rule), is refused: an error box names it, the stream is
    // left failed, the answer is false and the conditions held stay.
    static bool Load(std::istream& in);
    static uint16_t GetHalfInterval() { return czInterval / 2; }
};

namespace SonarTable {

constexpr int ROWS = 250;          // signal excess 0 to 249 decibels
constexpr int BANDS = 3;           // low, middle, high
constexpr int LAST_ROW = ROWS - 1;
constexpr int LAST_SEA_STATE = 8;  // the ambient table's last entry

// The row of a signal excess: clamped to 0-249.
constexpr int Row(int32_t excess)
{
    return excess < 0 ? 0 : (excess > LAST_ROW ? LAST_ROW : static_cast<int>(excess));
}
// The range (range units) a signal excess reaches in a band (0 to 2); the
// excess is clamped to the table.
uint32_t Range(int32_t excess, int band);
// Ambient noise (decibels) of a sea state; states above 8 read the entry of
// 8, below 0 that of 0.
int32_t Ambient(int seaState);
// The sea state clamped to the ambient table (0 to 8).
constexpr int ClampedSeaState(int seaState)
{
    return seaState < 0 ? 0 : (seaState > LAST_SEA_STATE ? LAST_SEA_STATE : seaState);
}

}  // namespace SonarTable
