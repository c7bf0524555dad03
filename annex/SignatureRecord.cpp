// SignatureRecord.cpp: setting and folding the band levels of a signature
// record, and its saved form.
#include "annex/SignatureRecord.h"

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/ErrorReport.h"
#include "core/StreamFields.h"

void SignatureRecord::SetBandLevel(uint32_t bands, int16_t level)
{
    bands &= BAND_BITS;
    if (level <= ABSENT_LEVEL)
        mask_ &= ~bands;
    else
        mask_ |= bands;
    for (int band = 0; bands != 0; ++band, bands >>= 1) {
        if ((bands & 1) != 0)
            levels_[band] = level;
    }
}

void SignatureRecord::RaiseBandLevels(uint32_t bands, int16_t* out, int16_t offset) const
{
    if (out == nullptr) {
        FatalError("SignatureRecord::RaiseBandLevels: out is NULL");
        return;
    }
    uint32_t common = bands & mask_ & BAND_BITS;
    for (int band = 0; common != 0; ++band, common >>= 1) {
        if ((common & 1) == 0)
            continue;
        const int32_t candidate = int32_t{levels_[band]} + offset;
        if (candidate > out[band])
            out[band] = static_cast<int16_t>(candidate > INT16_MAX ? INT16_MAX : candidate);
    }
}

int16_t SignatureRecord::GetBandLevel(int band) const
{
    return band >= 0 && band < BAND_COUNT ? levels_[band] : 0;
}

void SignatureRecord::Save(std::ostream& out) const
{
    SaveKey(out);
    for (const int16_t level : levels_)
        SaveField(out, level);
    SaveField(out, mask_);
}

bool SignatureRecord::Load(std::istream& in)
{
    // Read into locals, so that a record cut short changes nothing here.
    uint16_t key = 0;
    int16_t levels[BAND_COUNT] = {};
    uint32_t mask = 0;
    LoadField(in, key);
    for (int16_t& level : levels)
        LoadField(in, level);
    LoadField(in, mask);
    if (!in)
        return false;
    SetKey(key);
    for (int band = 0; band < BAND_COUNT; ++band)
        levels_[band] = levels[band];
    mask_ = mask & BAND_BITS;
    direction_ = 0;   // not saved: the next detection scan sets it again
    return true;
}
