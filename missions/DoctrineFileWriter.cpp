// DoctrineFileWriter.cpp: the doctrine description reader and file writer.
#include "missions/DoctrineFileWriter.h"

#include <istream>
#include <ostream>
#include <sstream>

#include "core/StreamFields.h"

namespace {

constexpr long MAX_CURVES = 0xFFFF;
constexpr size_t MAX_SEGMENTS = 127;   // the count is a signed byte

// Reads one whole number in [low, high] from the line; false when missing,
// not a number or out of range.
bool ReadNumber(std::istringstream& line, long low, long high, long& value)
{
    std::string word;
    if (!(line >> word))
        return false;
    size_t used = 0;
    try {
        value = std::stol(word, &used, 0);
    } catch (...) {
        return false;
    }
    return used == word.size() && value >= low && value <= high;
}

bool ReadCurve(std::istringstream& line, std::vector<DoctrineCurveSource>& table, std::string& why)
{
    long key = 0;
    long in = 0;
    long value = 0;
    if (table.empty()) {
        why = "no curves of this kind were declared";
        return false;
    }
    if (!ReadNumber(line, 0, static_cast<long>(table.size()) - 1, key)) {
        why = "the key is missing or beyond the declared count";
        return false;
    }
    if (!ReadNumber(line, -128, 127, in) || !ReadNumber(line, -128, 127, value)) {
        why = "the start input and value must be numbers from -128 to 127";
        return false;
    }
    DoctrineCurveSource curve;
    curve.disabled = 0;
    curve.startInput = static_cast<int8_t>(in);
    curve.startValue = static_cast<int8_t>(value);
    // The rest of the line: (input step, value step) pairs.
    std::vector<long> steps;
    for (long step = 0; !(line >> std::ws).eof();) {
        if (!ReadNumber(line, -128, 127, step)) {
            why = "a segment step is not a number from -128 to 127";
            return false;
        }
        steps.push_back(step);
    }
    if (steps.size() % 2 != 0) {
        why = "a segment needs an input step and a value step";
        return false;
    }
    for (size_t i = 0; i < steps.size(); i += 2)
        curve.segments.emplace_back(static_cast<int8_t>(steps[i]), static_cast<int8_t>(steps[i + 1]));
    if (curve.segments.size() > MAX_SEGMENTS) {
        why = "a curve has at most 127 segments";
        return false;
    }
    table[static_cast<size_t>(key)] = curve;
    return true;
}

void WriteCurve(std::ostream& out, const DoctrineCurveSource& curve)
{
    const uint8_t noSegments = curve.segments.empty() ? 1 : 0;
    SaveField(out, noSegments);
    SaveField(out, curve.disabled);
    SaveField(out, static_cast<int8_t>(curve.segments.size()));
    SaveField(out, curve.startInput);
    SaveField(out, curve.startValue);
    for (const auto& [dx, dy] : curve.segments) {
        SaveField(out, dx);
        SaveField(out, dy);
    }
}

} // namespace

bool ReadDoctrineSource(std::istream& in, DoctrineSource& source, std::string& error)
{
    DoctrineSource read;
    std::string text;
    for (int lineNumber = 1; std::getline(in, text); ++lineNumber) {
        text = text.substr(0, text.find('#'));
        std::istringstream line(text);
        std::string word;
        if (!(line >> word))
            continue;
        std::string why;
        long count = 0;
        if (word == "factors" || word == "options") {
            std::string extra;
            if (!ReadNumber(line, 0, MAX_CURVES, count) || (line >> extra))
                why = "the count must be one number from 0 to 65535";
            else
                (word == "factors" ? read.factors : read.options).resize(static_cast<size_t>(count));
        } else if (word == "factor" || word == "option") {
            ReadCurve(line, word == "factor" ? read.factors : read.options, why);
        } else {
            why = "unknown item '" + word + "'";
        }
        if (!why.empty()) {
            error = "line " + std::to_string(lineNumber) + ": " + why;
            return false;
        }
    }
    source = std::move(read);
    return true;
}

bool WriteDoctrineFile(std::ostream& out, const DoctrineSource& source)
{
    if (source.factors.size() > MAX_CURVES || source.options.size() > MAX_CURVES)
        return false;
    for (const auto* table : {&source.factors, &source.options}) {
        for (const DoctrineCurveSource& curve : *table) {
            if (curve.segments.size() > MAX_SEGMENTS)
                return false;
        }
    }
    SaveField(out, static_cast<uint16_t>(source.factors.size()));
    SaveField(out, static_cast<uint16_t>(source.options.size()));
    for (const DoctrineCurveSource& curve : source.factors)
        WriteCurve(out, curve);
    for (const DoctrineCurveSource& curve : source.options)
        WriteCurve(out, curve);
    return static_cast<bool>(out);
}
