// Doctrine.h: Doctrine, a side's decision tables read from its doctrine file,
// and DoctrineCurve, one small piecewise-linear curve of those tables. The
// lists a decision is asked with are SortedIDList (SortedIDList.h); the
// directory the file lies in is DoctrineDir.h's.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <vector>

#include "units/GroupBridge.h"

class SortedIDList;

// One curve of a doctrine table: flat at startValue up to startInput, then
// along its segments, then flat at the value the last segment reaches.
class DoctrineCurve {
public:
    // One step of the curve: the input advances by inputStep while the value
    // changes by valueStep.
    struct Segment {
        int8_t inputStep = 0;
        int8_t valueStep = 0;
    };

    DoctrineCurve() = default;
    DoctrineCurve(const DoctrineCurve&) = delete;
    DoctrineCurve& operator=(const DoctrineCurve&) = delete;

    // File record, little-endian:
    //   noSegments u8, disabled u8, segmentCount i8, startInput i8,
    //   startValue i8, then only when segmentCount is not 0 and noSegments
    //   is 0: segmentCount pairs (inputStep i8, valueStep i8).
    // A negative segmentCount with segments to read is damage. False (the
    // stream failed, the curve unchanged) when the record is cut or damaged.
    bool Load(std::istream& in);

    // The curve's value at input x; integer steps truncate toward zero.
    int32_t Evaluate(uint16_t x) const;

    int8_t segmentCount = 0;
    int8_t startInput = 0;
    int8_t startValue = 0;
    std::unique_ptr<Segment[]> segments;   // segmentCount of them, or none
    uint8_t disabled = 1;                  // non-zero: left out of every decision
    uint8_t noSegments = 1;                // non-zero: constant at startValue
};

class Doctrine {
public:
    // The doctrine file of a side made in the side set-up windows.
    static constexpr const char* DEFAULT_FILE_NAME = "default.dtr";

    // Tables of that many default curves (none for a count of 0); no name.
    Doctrine(uint16_t factors, uint16_t options);
    ~Doctrine();
    Doctrine(const Doctrine&) = delete;
    Doctrine& operator=(const Doctrine&) = delete;

    // Replaces the file name by a copy of text; null leaves no name.
    void SetFileName(const char* text);
    const char* GetFileName() const { return fileName.get(); }

    // Reads both tables from the doctrine directory followed by the file name.
    // Doctrine file, little-endian: factor count u16, option count u16, then
    // that many curve records (DoctrineCurve::Load) for the factors, then for
    // the options. The tables are replaced only once the whole file has been
    // read; no name, a file that does not open, or one cut short or damaged
    // answers false and keeps the tables held before.
    bool LoadFile();

    // Saved form, little-endian:
    //   n      u16   length of fileName with its zero; 0 without a name
    //   name   n     the name and its zero
    bool Save(std::ostream& out) const;
    // Reads the saved form: a non-zero n replaces the name (always
    // terminated, whatever the bytes hold); n = 0 keeps the name held. Then
    // LoadFile runs in either case; its answer does not count here. False
    // when the stream runs short (the name is then unchanged).
    bool Load(std::istream& in);

    // The mean score of the factors: each node whose key has an enabled
    // factor curve scores that curve at the low 16 bits of its value; the
    // sum's low 16 bits divided by the number scored, 0 for none.
    uint16_t AverageScore(const SortedIDList& factors) const;
    // The value of the option whose enabled curve rates the factors' mean
    // score highest (as an unsigned 16-bit merit); on a tie the lowest key
    // wins; 0xFFFFFFFF when no option is enabled.
    uint32_t ChooseOption(const SortedIDList& factors, const SortedIDList& options) const;

    uint16_t GetFactorCount() const { return factorCount; }
    uint16_t GetOptionCount() const { return optionCount; }
    const DoctrineCurve* GetFactorCurve(uint16_t key) const;
    const DoctrineCurve* GetOptionCurve(uint16_t key) const;

private:
    std::unique_ptr<DoctrineCurve[]> factorCurves;   // factorCount of them, or none
    std::unique_ptr<DoctrineCurve[]> optionCurves;   // optionCount of them, or none
    uint16_t factorCount = 0;
    uint16_t optionCount = 0;
    std::unique_ptr<char[]> fileName;                // terminated; none when not set
};

// The answer of a decision when no option can be chosen.
constexpr uint32_t NO_DOCTRINE_CHOICE = 0xFFFFFFFF;

// The unit model's question put to a side's doctrine: the pairs go into
// sorted lists (a key given twice keeps its last value) and
// Doctrine::ChooseOption answers; NO_DOCTRINE_CHOICE (-1 as the unit model
// reads it) without a doctrine.
int32_t DecideByDoctrine(const Doctrine* doctrine, const std::vector<DoctrineValue>& factors,
                         const std::vector<DoctrineValue>& options);
