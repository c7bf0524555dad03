// Doctrine.cpp: the doctrine's curves, its file, its saved name and its
// decisions.
#include "missions/Doctrine.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <istream>
#include <ostream>
#include <string>

#include "core/StreamFields.h"
#include "missions/DoctrineDir.h"
#include "missions/SortedIDList.h"
#include "platform/Path.h"

namespace {

// Longest name the saved form can count with its zero in a u16.
constexpr size_t MAX_SAVED_NAME_LENGTH = 0xFFFE;

// A table of count default curves; none for a count of 0.
std::unique_ptr<DoctrineCurve[]> MakeCurves(uint16_t count)
{
    return count > 0 ? std::make_unique<DoctrineCurve[]>(count) : nullptr;
}

// Reads count curve records into a new table; none when one of them cannot
// be read (the stream is then failed).
std::unique_ptr<DoctrineCurve[]> ReadCurves(std::istream& in, uint16_t count)
{
    std::unique_ptr<DoctrineCurve[]> curves = MakeCurves(count);
    for (uint16_t i = 0; i < count; ++i) {
        if (!curves[i].Load(in))
            return nullptr;
    }
    return curves;
}

} // namespace

// ---- DoctrineCurve ----

bool DoctrineCurve::Load(std::istream& in)
{
    uint8_t readNoSegments = 0;
    uint8_t readDisabled = 0;
    int8_t readCount = 0;
    int8_t readStartInput = 0;
    int8_t readStartValue = 0;
    if (!LoadField(in, readNoSegments) || !LoadField(in, readDisabled) || !LoadField(in, readCount) ||
        !LoadField(in, readStartInput) || !LoadField(in, readStartValue))
        return false;
    std::unique_ptr<Segment[]> readSegments;
    if (readCount != 0 && readNoSegments == 0) {
        if (readCount < 0) {
            // A negative count would size the array from a wrapped number.
            in.setstate(std::ios::failbit);
            return false;
        }
        readSegments = std::make_unique<Segment[]>(static_cast<size_t>(readCount));
        for (int i = 0; i < readCount; ++i) {
            if (!LoadField(in, readSegments[i].inputStep) || !LoadField(in, readSegments[i].valueStep))
                return false;
        }
    }
    noSegments = readNoSegments;
    disabled = readDisabled;
    segmentCount = readCount;
    startInput = readStartInput;
    startValue = readStartValue;
    segments = std::move(readSegments);
    return true;
}

int32_t DoctrineCurve::Evaluate(uint16_t x) const
{
    int32_t pos = startInput;
    int32_t v = startValue;
    const int32_t input = x;
    if (segmentCount <= 0 || noSegments != 0 || !segments || input <= pos)
        return v;
    for (int i = 0; i < segmentCount; ++i) {
        const int32_t dx = segments[i].inputStep;
        const int32_t dy = segments[i].valueStep;
        if (pos + dx < input) {
            v += dy;
            pos += dx;
            continue;
        }
        // Here pos < input <= pos + dx, so dx is positive.
        return v + (input - pos) * dy / dx;
    }
    return v;
}

// ---- Doctrine ----

Doctrine::Doctrine(uint16_t factors, uint16_t options)
    : factorCurves(MakeCurves(factors)), optionCurves(MakeCurves(options)), factorCount(factors),
      optionCount(options)
{
}

Doctrine::~Doctrine() = default;

void Doctrine::SetFileName(const char* text)
{
    fileName.reset();
    if (text == nullptr)
        return;
    const size_t length = std::strlen(text);
    fileName = std::make_unique<char[]>(length + 1);
    std::memcpy(fileName.get(), text, length + 1);
}

bool Doctrine::LoadFile()
{
    if (!fileName)
        return false;
    // The directory text carries its own separator.
    std::ifstream in(platform::NativePath(GetDoctrineDir() + fileName.get()), std::ios::binary);
    if (!in)
        return false;
    uint16_t readFactorCount = 0;
    uint16_t readOptionCount = 0;
    if (!LoadField(in, readFactorCount) || !LoadField(in, readOptionCount))
        return false;
    std::unique_ptr<DoctrineCurve[]> readFactors = ReadCurves(in, readFactorCount);
    if (!in)
        return false;
    std::unique_ptr<DoctrineCurve[]> readOptions = ReadCurves(in, readOptionCount);
    if (!in)
        return false;
    factorCurves = std::move(readFactors);
    optionCurves = std::move(readOptions);
    factorCount = readFactorCount;
    optionCount = readOptionCount;
    return true;
}

bool Doctrine::Save(std::ostream& out) const
{
    if (!fileName) {
        SaveField(out, uint16_t{0});
        return static_cast<bool>(out);
    }
    const size_t length = std::min(std::strlen(fileName.get()), MAX_SAVED_NAME_LENGTH);
    SaveField(out, static_cast<uint16_t>(length + 1));
    out.write(fileName.get(), static_cast<std::streamsize>(length));
    out.put('\0');
    return static_cast<bool>(out);
}

bool Doctrine::Load(std::istream& in)
{
    uint16_t n = 0;
    if (!LoadField(in, n))
        return false;
    if (n != 0) {
        // The bytes read need not hold a zero: the name is terminated here.
        auto name = std::make_unique<char[]>(static_cast<size_t>(n) + 1);
        if (!in.read(name.get(), n))
            return false;
        name[n] = '\0';
        fileName = std::move(name);
    }
    LoadFile();
    return true;
}

uint16_t Doctrine::AverageScore(const SortedIDList& factors) const
{
    int32_t sum = 0;
    int32_t counted = 0;
    for (const SortedIDNode* node = factors.First(); node != nullptr; node = node->GetNext()) {
        const DoctrineCurve* const curve = GetFactorCurve(node->key);
        if (curve == nullptr || curve->disabled != 0)
            continue;
        sum += curve->Evaluate(static_cast<uint16_t>(node->value));
        ++counted;
    }
    if (counted == 0)
        return 0;
    // The sum is taken to its low 16 bits before it is divided.
    return static_cast<uint16_t>(static_cast<uint16_t>(sum) / counted);
}

uint32_t Doctrine::ChooseOption(const SortedIDList& factors, const SortedIDList& options) const
{
    const uint16_t average = AverageScore(factors);
    int32_t bestMerit = -1;
    uint32_t result = NO_DOCTRINE_CHOICE;
    for (const SortedIDNode* node = options.First(); node != nullptr; node = node->GetNext()) {
        const DoctrineCurve* const curve = GetOptionCurve(node->key);
        if (curve == nullptr || curve->disabled != 0)
            continue;
        const int32_t merit = static_cast<uint16_t>(curve->Evaluate(average));
        if (merit > bestMerit) {
            bestMerit = merit;
            result = node->value;
        }
    }
    return result;
}

const DoctrineCurve* Doctrine::GetFactorCurve(uint16_t key) const
{
    return key < factorCount && factorCurves ? &factorCurves[key] : nullptr;
}

const DoctrineCurve* Doctrine::GetOptionCurve(uint16_t key) const
{
    return key < optionCount && optionCurves ? &optionCurves[key] : nullptr;
}

int32_t DecideByDoctrine(const Doctrine* doctrine, const std::vector<DoctrineValue>& factors,
                         const std::vector<DoctrineValue>& options)
{
    if (doctrine == nullptr)
        return static_cast<int32_t>(NO_DOCTRINE_CHOICE);
    SortedIDList factorList;
    for (const DoctrineValue& v : factors)
        factorList.InsertSorted(v.key, static_cast<uint32_t>(v.value));
    SortedIDList optionList;
    for (const DoctrineValue& v : options)
        optionList.InsertSorted(v.key, static_cast<uint32_t>(v.value));
    return static_cast<int32_t>(doctrine->ChooseOption(factorList, optionList));
}
