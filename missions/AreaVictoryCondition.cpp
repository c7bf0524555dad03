// AreaVictoryCondition.cpp: the area victory condition, its per-unit tests
// of the periodic check and its saved form (two layouts by file version),
// and DurationText.

#include "missions/AreaVictoryCondition.h"

#include <istream>
#include <ostream>
#include <unordered_map>
#include <vector>

#include "core/ErrorReport.h"
#include "core/Geometry.h"
#include "core/ResourceText.h"
#include "core/ScenarioAdmin.h"
#include "core/StreamFields.h"
#include "core/XYPoint.h"
#include "core/gam2arena.h"
#include "missions/VictoryItem.h"
#include "missions/VictoryItemList.h"
#include "units/GroupBridge.h"
#include "units/PlaneBridge.h"
#include "units/Unit.h"
#include "units/UnitList.h"

namespace {

// Resource texts of the description.
constexpr int32_t MET_TEXT = 0x7B016B;
constexpr int32_t NOT_MET_TEXT = 0x7B016D;
constexpr int32_t HOSTILE_MANY_TEXT = 0x7B016E;   // before the number
constexpr int32_t HOSTILE_MANY_END_TEXT = 0x7B016F;
constexpr int32_t HOSTILE_ONE_TEXT = 0x7B0170;
constexpr int32_t PASSING_TEXT = 0x7B0171;        // inArea 0
constexpr int32_t TIME_TEXT = 0x7B0172;
constexpr int32_t HOSTILE_DURATION_TEXT = 0x7B0173;
constexpr int32_t HOSTILE_TARGETS_TEXT = 0x7B0174;
constexpr int32_t FRIENDLY_MANY_TEXT = 0x7B0175;
constexpr int32_t FRIENDLY_MANY_END_TEXT = 0x7B0176;
constexpr int32_t FRIENDLY_ONE_TEXT = 0x7B0177;
constexpr int32_t FRIENDLY_DURATION_TEXT = 0x7B0178;
constexpr int32_t FRIENDLY_TARGETS_TEXT = 0x7B0179;
constexpr int32_t AND_ALSO_TEXT = 0x7B017A;
// Resource texts of DurationText.
constexpr int32_t DAY_TEXT = 0x7B017B;
constexpr int32_t HOUR_TEXT = 0x7B017C;
constexpr int32_t MINUTE_TEXT = 0x7B017D;
constexpr int32_t SECOND_TEXT = 0x7B017E;
constexpr int32_t PLURAL_TEXT = 0x7B017F;
constexpr int32_t SEPARATOR_TEXT = 0x7B0180;
constexpr int32_t END_TEXT = 0x7B0181;

constexpr int32_t SECONDS_PER_DAY = 86400;
constexpr int32_t SECONDS_PER_HOUR = 3600;
constexpr int32_t SECONDS_PER_MINUTE = 60;
// The first periodic check runs at this game time.
constexpr uint32_t FIRST_CHECK_TIME = 60;

// The outcome of one per-unit test.
enum class Verdict { NONE, PASS, BREACH };

// A new tracking item for the unit, both times 0. A tracking item keeps the
// unit's elapsed time in its first value and the game time it entered (or
// was first seen) in its second.
UnitValuesItem* NewTrackingItem(const Unit& unit)
{
    return new UnitValuesItem(unit.GetID(), unit.GetName().Text(), 0, 0);
}

// Finds the items of one list that match a unit. The tracking and counted
// lists hold one unit item (tags 3 and 8) per unit, so the index finds them
// by unit id instead of asking every item of the list; a list that holds
// any other kind of item is asked item by item, as the list itself would.
// Every change of the list during the check goes through the index.
class UnitIndex {
public:
    explicit UnitIndex(VictoryItemList& list) : list_(list) { Rebuild(); }

    void Rebuild()
    {
        byID_.clear();
        keyed_ = true;
        for (int32_t i = 0; i < list_.GetCount() && keyed_; ++i)
            Remember(list_.Get(i));
    }

    // The first item, in list order, that matches the unit; nullptr when none.
    VictoryItem* Find(const Unit& unit) const
    {
        if (!keyed_)
            return list_.FindMatch(&unit);
        const auto found = byID_.find(unit.GetID());
        if (found == byID_.end())
            return nullptr;
        for (VictoryItem* item : found->second) {
            if (item->MatchesUnit(&unit))
                return item;
        }
        return nullptr;
    }
    bool Matches(const Unit& unit) const { return Find(unit) != nullptr; }

    // The unit's tracking item, or nullptr.
    UnitValuesItem* FindTracking(const Unit& unit) const
    {
        VictoryItem* item = Find(unit);
        return item && item->GetTag() == VictoryTag::UNIT_VALUES ? static_cast<UnitValuesItem*>(item) : nullptr;
    }

    // Appends the item; the list may merge it into an equal one and delete it.
    void Add(VictoryItem* item)
    {
        const int32_t before = list_.GetCount();
        list_.Add(item);
        if (list_.GetCount() > before && keyed_)
            Remember(list_.Get(before));
    }
    // After the list appended an item of its own accord.
    void Appended(int32_t before)
    {
        if (list_.GetCount() > before && keyed_)
            Remember(list_.Get(before));
    }
    // Takes the item out of the list; the caller disposes of it.
    void Remove(VictoryItem* item)
    {
        if (!list_.Remove(item))
            return;
        if (!keyed_)
            return;
        std::vector<VictoryItem*>& held = byID_[IDOf(item)];
        std::erase(held, item);
    }
    // Takes the unit's first matching item out of the list and deletes it.
    void Drop(const Unit& unit)
    {
        VictoryItem* item = Find(unit);
        if (!item)
            return;
        Remove(item);
        delete item;
    }

private:
    static uint16_t IDOf(const VictoryItem* item)
    {
        return item->GetTag() == VictoryTag::UNIT ? static_cast<const UnitItem*>(item)->GetUnitID()
                                                  : static_cast<const UnitValuesItem*>(item)->GetUnitID();
    }
    void Remember(VictoryItem* item)
    {
        if (item->GetTag() != VictoryTag::UNIT && item->GetTag() != VictoryTag::UNIT_VALUES) {
            keyed_ = false;
            byID_.clear();
            return;
        }
        byID_[IDOf(item)].push_back(item);
    }

    VictoryItemList& list_;
    bool keyed_ = true;
    std::unordered_map<uint16_t, std::vector<VictoryItem*>> byID_;
};

// The working copy of a tracking item during one test.
struct Times {
    uint32_t elapsed = 0;
    uint32_t entered = 0;
};

Verdict PassIf(bool was) { return was ? Verdict::PASS : Verdict::BREACH; }

// The friendly sense's table: W is whether the unit was inside at its last
// check. Times are unsigned and their differences wrap.
Verdict FriendlyVerdict(bool inside, uint8_t inArea, uint32_t duration, uint32_t time, uint32_t now, bool w,
                        Times& t)
{
    if (inside && inArea) {
        if (duration != 0) {
            if (time <= now) {
                t.elapsed = now - t.entered;
                if (t.elapsed > duration)
                    return PassIf(w);
            }
            return Verdict::NONE;
        }
        if (time == now)
            return Verdict::PASS;
        return time > now ? PassIf(w) : Verdict::NONE;
    }
    if (inside) {   // inArea 0
        if (duration != 0) {
            if (t.entered == 0) {
                t.entered = now;
                return Verdict::NONE;
            }
            t.elapsed = now - t.entered;
            if (t.elapsed >= duration) {
                if (w)
                    return Verdict::PASS;
                t = Times{};
            }
            return Verdict::NONE;
        }
        return time < now ? Verdict::PASS : Verdict::NONE;
    }
    if (inArea) {   // outside
        if (duration != 0) {
            if (time <= now) {
                t.elapsed = now - t.entered;
                if (t.elapsed >= duration)
                    return PassIf(w);
            }
            return Verdict::NONE;
        }
        if (time == now)
            return Verdict::BREACH;
        return time > now ? PassIf(w) : Verdict::NONE;
    }
    if (duration != 0) {   // outside, inArea 0
        if (t.entered != 0) {
            t.elapsed = now - t.entered;
            if (t.elapsed >= duration) {
                if (w)
                    return Verdict::PASS;
                t.entered = 0;
            }
        }
        return Verdict::NONE;
    }
    if (time == now)
        return Verdict::BREACH;
    return time < now && w ? Verdict::PASS : Verdict::NONE;
}

// The hostile sense's table: O is whether the unit was outside at its last
// check.
Verdict HostileVerdict(bool inside, uint8_t inArea, uint32_t duration, uint32_t time, uint32_t now, bool o,
                       Times& t)
{
    if (inside && inArea) {
        if (duration != 0) {
            if (time >= now)
                return now == t.elapsed ? Verdict::BREACH : Verdict::NONE;
            t.elapsed = now - t.entered;
            return t.elapsed <= duration ? Verdict::BREACH : PassIf(o);
        }
        if (t.elapsed >= now)
            return now == t.elapsed ? Verdict::BREACH : Verdict::NONE;
        return PassIf(o);
    }
    if (inside) {   // inArea 0
        if (duration != 0) {
            if (t.elapsed != 0) {
                t.elapsed = now - t.elapsed;
                if (t.elapsed >= duration && o)
                    return Verdict::PASS;
            }
            t = Times{};
            return Verdict::NONE;
        }
        return time <= now ? Verdict::BREACH : Verdict::NONE;
    }
    if (inArea) {   // outside
        if (duration != 0) {
            if (time < now) {
                t.elapsed = now - t.entered;
                if (t.elapsed >= duration)
                    return PassIf(o);
            }
            return Verdict::NONE;
        }
        if (time == now)
            return Verdict::PASS;
        if (time > now)
            return Verdict::NONE;
        if (time == 0 && now == FIRST_CHECK_TIME)
            return Verdict::NONE;
        return PassIf(o);
    }
    if (duration != 0) {   // outside, inArea 0
        if (t.entered == 0) {
            t.entered = now;
            return Verdict::NONE;
        }
        t.elapsed = now - t.entered;
        if (t.elapsed >= duration) {
            if (o)
                return Verdict::PASS;
            t = Times{};
        }
        return Verdict::NONE;
    }
    if (time == now || (time < now && o))
        return Verdict::PASS;
    return Verdict::NONE;
}

// The scenario file's version for the record being read; the current layout
// when no scenario is open.
VersionNumber RecordVersion()
{
    return gAdmin ? gAdmin->GetFileVersion() : AreaVictoryCondition::TrackingVersion();
}

}  // namespace

AreaVictoryCondition::AreaVictoryCondition(std::istream& in)
    : tracked(new VictoryItemList), trackedInside(new VictoryItemList)
{
    kind = KIND_AREA;
    LoadData(in);
}

AreaVictoryCondition::~AreaVictoryCondition()
{
    delete tracked;
    delete trackedInside;
}

// The indexes of the lists one periodic check reads and changes.
struct AreaVictoryCondition::CheckLists {
    explicit CheckLists(AreaVictoryCondition& c)
        : targets(*c.targets), counted(*c.counted), tracked(*c.tracked), trackedInside(*c.trackedInside)
    {
    }
    UnitIndex targets;
    UnitIndex counted;
    UnitIndex tracked;
    UnitIndex trackedInside;
};

void AreaVictoryCondition::CheckUnit(Unit* unit, uint16_t sideID)
{
    if (sideID == 0) {
        ReportResourceText(AREA_NO_SIDE_TEXT, "AreaVictoryCondition::CheckUnit", FatalError);
        return;
    }
    const UnitList* units = UnitList::GetArenaList();
    if (!unit && units && !failed && !achieved) {
        CheckLists lists(*this);
        for (Unit* u = units->First(); u; u = u->GetNext()) {
            const uint16_t unitSide = u->GetSideID();
            if (unitSide == 0)
                continue;
            if (hostile) {
                if (gam2side::AreHostile(sideID, unitSide))
                    TestHostile(*u, lists);
            } else if (gam2side::AreFriendly(sideID, unitSide)) {
                TestFriendly(*u, lists);
            }
        }
    }
    if (subCondition)
        subCondition->CheckUnit(unit, sideID);
}

// The area's edges count as inside.
bool AreaVictoryCondition::IsInside(Unit& unit) const
{
    XYPoint point;
    unit.GetXY(point, false);
    return Geometry::Point_In_XYRect(area, point);
}

void AreaVictoryCondition::CheckFriendlyUnit(Unit& unit)
{
    CheckLists lists(*this);
    TestFriendly(unit, lists);
}

void AreaVictoryCondition::CheckHostileUnit(Unit& unit)
{
    CheckLists lists(*this);
    TestHostile(unit, lists);
}

void AreaVictoryCondition::TestFriendly(Unit& unit, CheckLists& lists)
{
    if (failed || achieved)
        return;
    const bool wasInside = lists.tracked.Matches(unit);
    bool relevant = lists.targets.Matches(unit);
    const bool inside = IsInside(unit);
    if (lists.counted.Matches(unit)) {
        lists.tracked.Drop(unit);
        if (inside)
            relevant = false;
        else
            lists.counted.Drop(unit);   // left the area: no longer counted
    }
    if (!relevant)
        return;

    UnitValuesItem* rec = lists.tracked.FindTracking(unit);
    const bool isNew = rec == nullptr;
    if (isNew)
        rec = NewTrackingItem(unit);
    Times t{rec->GetFirstValue(), rec->GetSecondValue()};
    const uint32_t now = gam2arena::GetGameTime();
    const Verdict verdict = FriendlyVerdict(inside, inArea, duration, time, now, wasInside, t);

    if (verdict == Verdict::PASS) {
        Count(unit, lists);
        achieved = HoldsRequired(lists) ? 1 : 0;
        met = achieved;
    } else if (verdict == Verdict::BREACH) {
        if (duration != 0) {
            if (inArea) {
                t.elapsed = now - t.entered;
                if (t.elapsed >= duration) {
                    failed = 1;
                    met = 0;
                }
            } else {
                met = 0;
            }
        } else if (now >= time) {
            if (inArea)
                failed = 1;
            met = 0;
        }
    }

    if (inside) {
        rec->SetValues(t.elapsed, t.entered);
        if (isNew)
            lists.tracked.Add(rec);
    } else if (isNew) {
        delete rec;
    } else {
        lists.tracked.Drop(unit);
    }
}

void AreaVictoryCondition::TestHostile(Unit& unit, CheckLists& lists)
{
    if (failed || achieved)
        return;
    const bool wasOutside = lists.tracked.Matches(unit);
    bool relevant = lists.targets.Matches(unit);
    const bool inside = IsInside(unit);
    if (lists.counted.Matches(unit)) {
        lists.trackedInside.Drop(unit);
        lists.tracked.Drop(unit);
        if (inside)
            relevant = false;
        else
            lists.counted.Drop(unit);
    }
    if (!relevant)
        return;

    // The unit's item moves to the list of where it is now; a move starts
    // its times afresh.
    UnitValuesItem* rec = lists.trackedInside.FindTracking(unit);
    UnitIndex* from = &lists.trackedInside;
    if (!rec) {
        rec = lists.tracked.FindTracking(unit);
        from = rec ? &lists.tracked : nullptr;
    }
    UnitIndex* to = inside ? &lists.trackedInside : &lists.tracked;
    Times t;
    if (!rec)
        rec = NewTrackingItem(unit);
    else if (from == to)
        t = Times{rec->GetFirstValue(), rec->GetSecondValue()};
    else
        from->Remove(rec);

    const uint32_t now = gam2arena::GetGameTime();
    const Verdict verdict = HostileVerdict(inside, inArea, duration, time, now, wasOutside, t);
    rec->SetValues(t.elapsed, t.entered);
    if (from != to)
        to->Add(rec);   // the list may merge it away: rec is not used after this

    if (verdict == Verdict::BREACH) {
        met = 0;
        Count(unit, lists);
        failed = HoldsRequired(lists) ? 1 : 0;
    } else if (verdict == Verdict::PASS && counted->GetCount() < required) {
        achieved = 1;
        met = 1;
    }
}

void AreaVictoryCondition::Count(const Unit& unit, CheckLists& lists)
{
    const int32_t before = counted->GetCount();
    RecordCountedUnit(unit);
    lists.counted.Appended(before);
}

bool AreaVictoryCondition::HoldsRequired(CheckLists& lists)
{
    if (counted->GetCount() < required)
        return false;
    counted->PruneUnmatched();   // destroyed units no longer count
    lists.counted.Rebuild();
    return counted->GetCount() >= required;
}

// The text, its lines ended by a line break: met or not met; what the area
// asks of how many units (hostile: how many may breach; friendly: how many
// must pass); "passing through" for inArea 0; the time and the duration;
// the targets' own text; with a sub-condition "and also", a blank line and
// its text.
std::string AreaVictoryCondition::Describe() const
{
    std::string text = ResourceString(met ? MET_TEXT : NOT_MET_TEXT) + "\n";
    if (required < 2) {
        text += ResourceString(hostile ? HOSTILE_ONE_TEXT : FRIENDLY_ONE_TEXT);
    } else {
        text += ResourceString(hostile ? HOSTILE_MANY_TEXT : FRIENDLY_MANY_TEXT) + std::to_string(required);
        text += ResourceString(hostile ? HOSTILE_MANY_END_TEXT : FRIENDLY_MANY_END_TEXT);
    }
    text += "\n";
    if (!inArea)
        text += ResourceString(PASSING_TEXT) + "\n";
    if (time != 0)
        text += ResourceString(TIME_TEXT) + DurationText(time);
    if (duration != 0)
        text += ResourceString(hostile ? HOSTILE_DURATION_TEXT : FRIENDLY_DURATION_TEXT) + DurationText(duration);
    text += ResourceString(hostile ? HOSTILE_TARGETS_TEXT : FRIENDLY_TARGETS_TEXT);
    text += targets->Describe();
    if (subCondition)
        text += ResourceString(AND_ALSO_TEXT) + "\n\n" + subCondition->Describe();
    return FitText(std::move(text));
}

bool AreaVictoryCondition::IsMet() const { return VictoryCondition::IsMet(); }

void AreaVictoryCondition::SetSense(uint8_t hostileSense) { hostile = hostileSense; }

void AreaVictoryCondition::SaveData(std::ostream& out) const
{
    SaveField<uint8_t>(out, KIND_AREA);
    SaveField(out, met);
    area.Save(out);
    SaveField(out, time);
    SaveField(out, duration);
    SaveField(out, duration);   // spare
    SaveField(out, required);
    SaveField(out, hostile);
    SaveField(out, inArea);
    SaveField(out, failed);
    SaveField(out, achieved);
    SaveLists(out);
    tracked->Save(out);
    trackedInside->Save(out);
    SaveSubCondition(out);
}

bool AreaVictoryCondition::LoadData(std::istream& in)
{
    const bool withTracking = RecordVersion() >= TrackingVersion();
    uint32_t spare = 0;
    uint8_t oldSpare = 0;
    LoadField(in, met);
    area.Load(in);
    LoadField(in, time);
    LoadField(in, duration);
    LoadField(in, spare);
    LoadField(in, required);
    LoadField(in, hostile);
    LoadField(in, inArea);
    LoadField(in, failed);
    LoadField(in, achieved);
    if (!withTracking)
        LoadField(in, oldSpare);
    damageThreshold = 0;   // not saved in this kind
    count = 0;
    if (!in || !LoadLists(in))
        return false;
    if (withTracking && !(tracked->Load(in) && trackedInside->Load(in)))
        return false;
    return LoadSubCondition(in, true);
}

const VersionNumber& AreaVictoryCondition::TrackingVersion()
{
    static const VersionNumber version(2, 1, 13, 0);
    return version;
}

// Days, hours and minutes once a larger part is not 0, each with its unit
// word, plural ending and separator; the seconds part only when not 0, led
// by the separator (so 45 seconds reads as the separator, then the seconds).
std::string DurationText(uint32_t seconds)
{
    const int32_t s = static_cast<int32_t>(seconds);
    const int32_t days = s / SECONDS_PER_DAY;
    const int32_t hours = (s % SECONDS_PER_DAY) / SECONDS_PER_HOUR;
    const int32_t minutes = (s % SECONDS_PER_HOUR) / SECONDS_PER_MINUTE;
    const int32_t secs = s % SECONDS_PER_MINUTE;
    const std::string plural = ResourceString(PLURAL_TEXT);
    const std::string separator = ResourceString(SEPARATOR_TEXT);

    std::string text;
    if (days != 0)
        text += std::to_string(days) + ResourceString(DAY_TEXT) + (days > 1 ? plural : "") + separator;
    if (hours != 0 || days != 0)
        text += std::to_string(hours) + ResourceString(HOUR_TEXT) + (hours != 1 ? plural : "") + separator;
    if (minutes != 0 || hours != 0 || days != 0)
        text += std::to_string(minutes) + ResourceString(MINUTE_TEXT) + (minutes != 1 ? plural : "");
    if (secs != 0)
        text += separator + std::to_string(secs) + ResourceString(SECOND_TEXT) + (secs != 1 ? plural : "");
    text += ResourceString(END_TEXT) + "\n";
    if (text.size() > VictoryCondition::TEXT_SIZE - 1)
        text.resize(VictoryCondition::TEXT_SIZE - 1);
    return text;
}
