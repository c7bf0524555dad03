// DetectingSensor.cpp: tracks on the fire-control channels, the source a
// sensor hands its contacts, and the contact fills the tests share.
#include "engagement/DetectingSensor.h"

#include <algorithm>

#include "core/AllocationCheck.h"
#include "core/NavVector.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/Decibel.h"
#include "units/Unit.h"
#include "world/game2ui.h"

namespace {

constexpr int32_t ANGLE_UNITS_PER_DEGREE = 245760;
constexpr int32_t ANGLE_UNITS_PER_TURN = 360 * ANGLE_UNITS_PER_DEGREE;
// A track count above this is taken as damaged and starts again.
constexpr uint16_t LARGEST_TRACK_COUNT = 32767;
// What the range loss subtracts from 100 x log10(range units).
constexpr int32_t RANGE_LOSS_OFFSET = 34;

bool Overlaps(const ChannelEntry& request, const ChannelEntry& entry)
{
    return request.start.Get() < entry.end.Get() && request.end.Get() > entry.start.Get();
}

}  // namespace

uint16_t GetUnitAnnexID(const Unit* unit)
{
    return unit != nullptr ? unit->GetAnnexID() : uint16_t{0};
}

uint16_t WholeDegrees(int32_t angle)
{
    int32_t folded = angle % ANGLE_UNITS_PER_TURN;
    if (folded < 0)
        folded += ANGLE_UNITS_PER_TURN;
    return static_cast<uint16_t>(folded / ANGLE_UNITS_PER_DEGREE);
}

int WeatherClass(const Unit& own, const Unit& target)
{
    auto classOf = [](const Unit& unit) {
        int code = static_cast<int8_t>(unit.GetWeather().weatherCode);
        while (code > 3)
            code -= 3;
        return code;
    };
    const int worse = std::max(classOf(own), classOf(target));
    return worse >= 0 && worse <= 3 ? worse : 3;
}

uint8_t DetectingSensor::RadarSizeClass(int32_t signal)
{
    if (signal >= 285)
        return 16;
    if (signal >= 236)
        return 8;
    if (signal >= 151)
        return 4;
    if (signal >= -30)
        return 2;
    return 1;
}

Contact* DetectingSensor::NewContact(const Unit& target, uint32_t kind)
{
    Contact* const contact = new Contact(target, kind);
    AllocationCheck(contact);
    return contact;
}

void DetectingSensor::SetSensorBits(Contact& contact, uint32_t bits)
{
    contact.sensorBitsLatest = bits;
    contact.sensorBitsEver = bits;
    contact.sensorBitsEver2 = bits;
}

void DetectingSensor::FillMotion(Contact& contact, const Unit& target, bool altitude)
{
    contact.knownBits = ContactKnown::SPEED | ContactKnown::COURSE;
    contact.speed = target.speed;
    contact.course = WholeDegrees(target.GetCourse());
    if (altitude) {
        contact.knownBits |= ContactKnown::ALTITUDE;
        contact.SetAltitude(target.GetAltitude());
    }
}

void DetectingSensor::FillIdentity(Contact& contact, const Unit& target)
{
    contact.sideId = static_cast<uint8_t>(target.GetSideID());
    contact.name = target.GetName();
    contact.identifiedAs = GetUnitAnnexID(&target);
    contact.sizeClass = target.GetSizeClass();
}

bool DetectingSensor::HiddenFromPlayer(const Unit& own)
{
    return !game2ui::IsVisibleToPlayer(own.GetID());
}

const Unit* DetectingSensor::OwnerUnit() const
{
    return dynamic_cast<const Unit*>(owner_);
}

int16_t DetectingSensor::OwnerAltitude() const
{
    if (const Unit* const unit = OwnerUnit())
        return unit->GetAltitude();
    return owner_ != nullptr ? owner_->PositionObject::GetAltitude() : int16_t{0};
}

void DetectingSensor::HandSource(Contact& contact, uint16_t code, uint32_t flags, uint16_t width) const
{
    contact.SetSource(code, (flags & CAP_SOURCE_FLAG) != 0 ? 1 : 0, 2u * minRange, maxRange);
    contact.SetDetectionValue(width, (flags & CAP_DETECTION_FLAG) != 0 ? 1 : 0);
}

void DetectingSensor::SetContactSource(Contact& contact) const
{
    HandSource(contact, sourceCode, capabilities, beamWidth);
}

bool DetectingSensor::TestTrack(Unit& own, Unit& target, const NavVector& vector, int selector, bool flagA,
                                bool flagB)
{
    const uint32_t kept = state_;
    state_ = STATE_ACTIVE;
    const int32_t rangeLoss =
        static_cast<int32_t>(Log10Times100(static_cast<uint32_t>(std::max(vector.range, 0)))) - RANGE_LOSS_OFFSET;
    Contact* const contact = Detect(own, target, vector, selector, rangeLoss, flagA, flagB, true);
    state_ = kept;
    delete contact;
    return contact != nullptr;
}

SensorChannel* DetectingSensor::FindFreeChannel(const ChannelEntry& request, bool dropExpired, ChannelEntry*& same)
{
    const uint32_t now = gam2arena::GetGameTime();
    for (uint8_t i = 0; i < channelCount; ++i) {
        SensorChannel& channel = *GetChannel(i);
        bool busy = false;
        same = nullptr;
        for (ChannelEntry* entry = channel.First(); entry != nullptr;) {
            ChannelEntry* const next = entry->GetNext();
            if (dropExpired && uint64_t{entry->end.Get()} + CHANNEL_EXPIRY_SECONDS < now) {
                channel.Remove(entry);
                delete entry;
                if (channel.First() == nullptr && trackCount > 0)
                    --trackCount;
            } else if (Overlaps(request, *entry)) {
                if (entry->GetKey() != request.GetKey()) {
                    busy = true;
                    break;
                }
                same = entry;
            }
            entry = next;
        }
        if (!busy)
            return &channel;
    }
    same = nullptr;
    return nullptr;
}

bool DetectingSensor::TrackTarget(Unit& own, Unit& target, const NavVector& vector, int selector, bool hold,
                                  const ChannelEntry& request, int16_t increment, bool flagB, bool flagA)
{
    if (state_ != STATE_ACTIVE && state_ != STATE_STANDBY)
        return false;
    TrackedTarget* const tracked = trackedTargets.Find(target.GetID());
    ChannelEntry* same = nullptr;
    SensorChannel* const channel = FindFreeChannel(request, true, same);
    if (channel == nullptr)
        return false;
    if (trackCount > LARGEST_TRACK_COUNT)
        trackCount = 0;
    const bool holds = hold && request.start.Get() <= gam2arena::GetGameTime();

    bool success = false;
    if (tracked == nullptr) {
        if ((!holds || trackCount < channelCount) && TestTrack(own, target, vector, selector, flagA, flagB)) {
            success = true;
            if (holds && increment != 0) {
                trackedTargets.Insert(new TrackedTarget(target.GetID(), increment));
                ++trackCount;
                SetState(STATE_ACTIVE);
            }
        }
    } else {
        success = true;
        if (holds && increment != 0)
            tracked->holdCount = static_cast<int16_t>(tracked->holdCount + increment);
    }

    if (success && holds) {
        if (same == nullptr) {
            channel->Insert(new ChannelEntry(request.GetKey(), request.start, request.end));
        } else {
            if (request.start.Get() < same->start.Get())
                same->start = request.start;
            if (request.end.Get() > same->end.Get())
                same->end = request.end;
        }
    }
    return success;
}

bool DetectingSensor::CanTrack(Unit& own, Unit& target, const NavVector& vector, int selector,
                               const ChannelEntry& request, bool flagB, bool flagA)
{
    if (state_ != STATE_ACTIVE && state_ != STATE_STANDBY)
        return false;
    ChannelEntry* same = nullptr;
    if (FindFreeChannel(request, false, same) == nullptr)
        return false;
    if (trackedTargets.Find(target.GetID()) != nullptr)
        return true;
    return TestTrack(own, target, vector, selector, flagA, flagB);
}
