// GroupPlanning.cpp: a group laying out its own formation: aircraft sent to
// patrol, early-warning and sonar stations round its threat axes, and ships
// placed in the centre or on the screen by their weapons and sonars.
#include <algorithm>
#include <memory>
#include <vector>

#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/Group.h"
#include "units/GroupBridge.h"
#include "units/Plane.h"
#include "units/StationBridge.h"

namespace {

// Target masks of the planning's weapon counts and launches.
constexpr uint32_t MASK_SURFACE = 1;
constexpr uint32_t MASK_SUBSURFACE = 2;
constexpr uint32_t MASK_AIR = 4;
constexpr uint32_t MASK_LOAD = 8;
// A record of this mission serves any group.
constexpr uint16_t ANY_MISSION = 1;

constexpr int32_t NM = RANGE_PER_NM;
constexpr int32_t DEG = ANGLE_PER_DEGREE;

// The doctrine's answers for a doubtful ship, and the keys of its question.
constexpr int32_t ANSWER_CENTRE = 3;
constexpr int32_t ANSWER_SCREEN = 4;

using StationPtr = std::unique_ptr<StationRecord>;

StationPtr MakeStation(uint8_t kind, uint16_t axis, int32_t p1, int32_t p2, int32_t p3, int32_t p4)
{
    StationPtr s(StationRecord::CreateStation(kind));
    if (s != nullptr) {
        s->axis = axis;
        s->rightBearing = p1;
        s->leftBearing = p2;
        s->maxRange = p3;
        s->minRange = p4;
    }
    return s;
}

PlaneTypeSummary& SummaryOf(SummaryList& list, uint16_t planeAnnexID)
{
    PlaneTypeSummary* s = list.Find(planeAnnexID);
    if (s == nullptr) {
        s = new PlaneTypeSummary(planeAnnexID);
        list.Insert(s);
    }
    return *s;
}

void RaiseTo(uint16_t& field, uint32_t value)
{
    field = static_cast<uint16_t>(std::max<uint32_t>(field, std::min<uint32_t>(value, UINT16_MAX)));
}

// Moves every entry of one list into another.
void MoveAll(MemberList& from, MemberList& to)
{
    while (GroupEntry* e = from.First()) {
        from.Remove(e);
        to.Insert(e);
    }
}

}  // namespace

uint16_t PlanTally::RoleOf(uint8_t kind)
{
    switch (kind) {
    case StationKind::CAP:
    case StationKind::SURFACE_CAP:
        return ROLE_PATROL;
    case StationKind::DIPPING:
    case StationKind::SONOBUOY:
        return ROLE_SONAR;
    case StationKind::AEW:
        return ROLE_WARNING;
    default:
        return 0;
    }
}

namespace {

// The aircraft type summaries of the group's members (see PlanStations).
void BuildSummaries(Group& group, SummaryList& summaries)
{
    const uint16_t mission = gam2side::GetUnitMissionID(group.GetID());
    for (GroupEntry* e = group.members.First(); e != nullptr;) {
        GroupEntry* const next = e->GetNext();
        const uint16_t id = e->GetKey();
        Unit* const unit = gam2arena::FindUnit(id);
        if (unit == nullptr) {
            if (StationRecord* const station = group.GetMemberStation(id))
                station->relief = 0;
            // Leaving takes the planes based on the member along, so the
            // walk and the tallies start again from the head of the list.
            group.RemoveMember(id);
            summaries.DeleteAll();
            e = group.members.First();
            continue;
        }
        if (auto* const plane = dynamic_cast<Plane*>(unit)) {
            PlaneTypeSummary& s = SummaryOf(summaries, plane->GetAnnexID());
            if (plane->loadoutID != 0)
                s.AddLoadout(plane->loadoutID);
            RaiseTo(PlanTally::BestAir(s), static_cast<uint32_t>(std::max(0, plane->SumWeaponRatings(MASK_AIR))));
            RaiseTo(PlanTally::BestSurface(s),
                    static_cast<uint32_t>(std::max(0, plane->SumWeaponRatings(MASK_SURFACE))));
            ++PlanTally::Available(s);
            ++PlanTally::Assigned(s);
        } else if (PlaneRecList* const records = unit->GetPlaneRecList()) {
            for (const PlaneRec* r = records->First(); r != nullptr; r = r->GetNext()) {
                if (r->missionID != mission && r->missionID != ANY_MISSION)
                    continue;
                PlaneTypeSummary& s = SummaryOf(summaries, r->planeAnnexID);
                PlanTally::Available(s) = static_cast<uint16_t>(PlanTally::Available(s) + r->count);
                s.AddRecord(*r);
                if (r->loadoutID != 0)
                    s.AddLoadout(r->loadoutID);
                RaiseTo(PlanTally::BestAir(s), r->CountWeapons(MASK_AIR));
                RaiseTo(PlanTally::BestSurface(s), r->CountWeapons(MASK_SURFACE));
                if (r->onStation != 0) {
                    PlanTally::Assigned(s) = static_cast<uint16_t>(PlanTally::Assigned(s) + r->count);
                    if (const StationRecord* const station = r->GetStation())
                        PlanTally::Roles(s) |= PlanTally::RoleOf(station->kind);
                }
            }
        }
        e = next;
    }
}

// Asks every 'U' air station for a replacement aircraft.
void RequestReplacements(Group& group)
{
    for (StationRecord* s = group.airStations.First(); s != nullptr; s = s->GetNext()) {
        if (s->mode == StationMode::WANTED)
            s->LaunchRelief(s->unitID, static_cast<uint16_t>(s->leg), group.GetID());
    }
}

}  // namespace

void Group::PlanStations(bool planAir, bool planShips)
{
    uint16_t roles = 0;
    for (GroupEntry* e = members.First(); e != nullptr;) {
        GroupEntry* const next = e->GetNext();
        const uint16_t id = e->GetKey();
        Unit* const unit = gam2arena::FindUnit(id);
        if (unit == nullptr) {
            e->excluded = 1;
        } else {
            e->loadValue = static_cast<uint16_t>(std::max(0, unit->SumWeaponRatings(MASK_LOAD)));
            const StationRecord* const station = formation->Find(id);
            if (station == nullptr) {
                // Leaving takes the planes based on the member along: the
                // survey starts again from the head of the list.
                RemoveMember(id);
                e = members.First();
                continue;
            } else {
                e->stationAxis = station->axis;
                e->excluded = id == leadID ? 1 : station->option;
                roles |= PlanTally::RoleOf(station->kind);
            }
        }
        e = next;
    }
    bool wanted = false;
    for (const StationRecord* s = airStations.First(); s != nullptr; s = s->GetNext()) {
        roles |= PlanTally::RoleOf(s->kind);
        wanted = wanted || s->mode == StationMode::WANTED;
    }
    if (wanted)
        RequestReplacements(*this);
    int64_t weights = 0;
    for (const ArcRecord* a : axes)
        weights += a != nullptr ? a->weight : 0;
    const int32_t pct0 = weights != 0 && axes[0] != nullptr ? static_cast<int32_t>(axes[0]->weight * 100 / weights) : 0;

    if (planAir) {
        SummaryList summaries;
        BuildSummaries(*this, summaries);
        for (PlaneTypeSummary* s = summaries.First(); s != nullptr; s = s->GetNext())
            roles |= PlanTally::Roles(*s);
        if (summaries.First() != nullptr) {
            if ((roles & PlanTally::ROLE_SONAR) == 0)
                PlanKind6Stations(summaries);
            if ((roles & PlanTally::ROLE_WARNING) == 0)
                PlanKind7Stations(summaries);
            if ((roles & PlanTally::ROLE_PATROL) == 0)
                PlanKind4Stations(summaries);
        }
    }
    if (!planShips)
        return;
    MemberList keep, screen, doubt, centre, others;
    while (GroupEntry* e = members.First()) {
        members.Remove(e);
        const Unit* const unit = gam2arena::FindUnit(e->GetKey());
        const char letter = unit != nullptr ? unit->GetTypeLetter() : 0;
        if (letter != 'S' && letter != 'U')
            others.Insert(e);
        else if (e->excluded != 0)
            keep.Insert(e);
        else if (e->loadValue == 0)
            (e->sonarValue > 0 ? screen : keep).Insert(e);
        else
            (e->sonarValue > 0 ? doubt : centre).Insert(e);
    }
    MoveAll(others, members);
    MoveAll(keep, members);
    if (screen.First() == nullptr && doubt.First() == nullptr && centre.First() == nullptr)
        return;
    while (GroupEntry* e = doubt.First()) {
        doubt.Remove(e);
        const std::vector<DoctrineValue> attributes{{8, pct0}, {6, e->sonarValue}, {7, e->loadValue}};
        const std::vector<DoctrineValue> choices{{3, 3}, {4, 4}};
        const int32_t answer = gam2side::DoctrineDecision(GetSideID(), attributes, choices);
        (answer == ANSWER_CENTRE ? centre : answer == ANSWER_SCREEN ? screen : members).Insert(e);
    }
    PlanCentreStation(centre);
    PlanScreenStations(screen);
}

void Group::PlanKind4Stations(SummaryList& summaries)
{
    std::vector<StationPtr> patrol;
    for (uint16_t axis : {uint16_t{2}, uint16_t{1}}) {
        if (HasAxis(axis))
            patrol.push_back(MakeStation(StationKind::CAP, axis, -axes[axis]->halfWidth + 15 * DEG,
                                         -axes[axis]->halfWidth, 37 * NM, 31 * NM));
    }
    for (uint16_t axis : {uint16_t{2}, uint16_t{1}}) {
        if (HasAxis(axis))
            patrol.push_back(MakeStation(StationKind::CAP, axis, axes[axis]->halfWidth,
                                         axes[axis]->halfWidth - 15 * DEG, 37 * NM, 31 * NM));
    }
    std::vector<StationPtr> surface;
    for (int32_t p2 : {0, 180 * DEG, 90 * DEG, 270 * DEG})
        surface.push_back(MakeStation(StationKind::SURFACE_CAP, 0, p2 + 15 * DEG, p2, 37 * NM, 31 * NM));

    auto launch = [&summaries](const std::vector<StationPtr>& stations, uint16_t& (*best)(PlaneTypeSummary&)) {
        PlaneTypeSummary* current = nullptr;
        for (const StationPtr& station : stations) {
            if (station == nullptr)
                continue;
            for (int twice = 0; twice < 2; ++twice) {
                if (current == nullptr) {
                    for (PlaneTypeSummary* s = summaries.First(); s != nullptr; s = s->GetNext()) {
                        if (PlanTally::Assigned(*s) < PlanTally::Available(*s) && best(*s) > 0
                            && (current == nullptr || best(*s) > best(*current)))
                            current = s;
                    }
                }
                if (current == nullptr)
                    continue;
                current->LaunchBest(station.get(), MASK_AIR);
                PlanTally::Assigned(*current) = std::min<uint16_t>(static_cast<uint16_t>(PlanTally::Assigned(*current) + 2),
                                                                  PlanTally::Available(*current));
                if (PlanTally::Assigned(*current) >= PlanTally::Available(*current))
                    current = nullptr;
            }
        }
    };
    launch(patrol, &PlanTally::BestAir);
    launch(surface, &PlanTally::BestSurface);
}

void Group::PlanKind7Stations(SummaryList& summaries)
{
    PlaneTypeSummary* best = nullptr;
    for (PlaneTypeSummary* s = summaries.First(); s != nullptr; s = s->GetNext()) {
        if (s->airSearch == 0)
            continue;
        if (best == nullptr || s->airSearch > best->airSearch
            || (s->airSearch == best->airSearch && s->surfaceSearch > best->surfaceSearch))
            best = s;
    }
    if (best == nullptr)
        return;
    const int32_t n = PlanTally::Available(*best) - PlanTally::Assigned(*best);
    if (n <= 0)
        return;
    const int32_t count = std::min(3, (n + 2) / 3);
    for (int32_t step = 0; step < count; ++step) {
        const auto axis = static_cast<uint16_t>(2 - step);
        if (!HasAxis(axis))
            continue;
        const int32_t p1 = axes[axis]->halfWidth;
        const StationPtr station = MakeStation(StationKind::AEW, axis, p1, p1 - 15 * DEG, 33 * NM, 27 * NM);
        if (station != nullptr)
            best->LaunchBest(station.get(), MASK_AIR);
    }
    PlanTally::Assigned(*best) = static_cast<uint16_t>(PlanTally::Assigned(*best) + n);
}

void Group::PlanKind6Stations(SummaryList& summaries)
{
    PlaneTypeSummary* buoys = nullptr;
    PlaneTypeSummary* sonar = nullptr;
    for (PlaneTypeSummary* s = summaries.First(); s != nullptr; s = s->GetNext()) {
        const int32_t free = PlanTally::Available(*s) - PlanTally::Assigned(*s);
        if (s->hasSonar == 0) {
            if (s->sonobuoys != 0 && (buoys == nullptr || s->sonobuoys > buoys->sonobuoys))
                buoys = s;
        } else if (sonar == nullptr || free > PlanTally::Available(*sonar) - PlanTally::Assigned(*sonar)) {
            sonar = s;
        }
    }
    const int32_t half = HasAxis(0) ? axes[0]->halfWidth : AXIS_HALF_WIDTH;
    if (buoys != nullptr) {
        const StationPtr station = MakeStation(StationKind::SONOBUOY, 0, half, ANGLE_FULL - half, 27 * NM, 20 * NM);
        if (station != nullptr)
            buoys->LaunchBest(station.get(), MASK_SUBSURFACE);
        PlanTally::Assigned(*buoys) = std::min<uint16_t>(static_cast<uint16_t>(PlanTally::Assigned(*buoys) + 3),
                                                        PlanTally::Available(*buoys));
    } else if (sonar != nullptr) {
        const int32_t width = 2 * half;
        const int32_t start = ANGLE_FULL - half;
        const int32_t k = std::max(1, (PlanTally::Available(*sonar) - PlanTally::Assigned(*sonar) + 2) / 3);
        for (int32_t j = 0; j < k; ++j) {
            const int32_t from = start + static_cast<int32_t>(int64_t{width} * j / k);
            const int32_t to = start + static_cast<int32_t>(int64_t{width} * (j + 1) / k);
            const StationPtr station = MakeStation(StationKind::DIPPING, 0, to, from, 22 * NM, 17 * NM);
            if (station == nullptr)
                continue;
            station->option = 0;
            sonar->LaunchBest(station.get(), MASK_SUBSURFACE);
        }
        PlanTally::Assigned(*sonar) = PlanTally::Available(*sonar);
    }
    needsStationPlan = 1;
}

void Group::PlanCentreStation(MemberList& candidates)
{
    GroupEntry* chosen = nullptr;
    for (GroupEntry* e = candidates.First(); e != nullptr; e = e->GetNext()) {
        if (e->loadValue > 0 && (chosen == nullptr || e->loadValue > chosen->loadValue))
            chosen = e;
    }
    if (chosen != nullptr) {
        candidates.Remove(chosen);
        members.Insert(chosen);
        StationRecord* const station = formation->Find(chosen->GetKey());
        if (station != nullptr && station->maxRange > 3 * NM) {
            station->maxRange = 8601;
            station->minRange = 7783;
            station->axis = 2;
            station->leftBearing = 0;
            station->rightBearing = 5 * DEG;
        }
    }
    uint16_t nextAxis = 1;
    while (GroupEntry* e = candidates.First()) {
        candidates.Remove(e);
        members.Insert(e);
        StationRecord* const station = formation->Find(e->GetKey());
        if (station != nullptr && station->axis == 0) {
            station->axis = nextAxis;
            nextAxis = nextAxis == 1 ? 2 : 1;
        }
    }
}

void Group::PlanScreenStations(MemberList& candidates)
{
    int count = 0;
    for (const GroupEntry* e = candidates.First(); e != nullptr; e = e->GetNext())
        ++count;
    const int32_t half = HasAxis(0) ? axes[0]->halfWidth : AXIS_HALF_WIDTH;
    bool first = count > 2;
    while (GroupEntry* e = candidates.First()) {
        candidates.Remove(e);
        members.Insert(e);
        const uint16_t id = e->GetKey();
        if (StationRecord* const s = formation->Find(id); s != nullptr && s->kind != StationKind::SPRINT_DRIFT)
            formation->SetStationKind(id, StationKind::SPRINT_DRIFT);
        StationRecord* const station = formation->Find(id);
        if (station != nullptr) {
            station->maxRange = 8 * NM;
            station->minRange = 3 * NM;
            station->axis = 0;
            station->rightBearing = first ? 185 * DEG : half;
            station->leftBearing = first ? 175 * DEG : ANGLE_FULL;
        }
        first = false;
    }
}

void Group::RefreshStationPlanFlag()
{
    RequestReplacements(*this);
    if (needsStationPlan != 0)
        return;
    bool patrol = false, warning = false, sonar = false;
    for (const StationRecord* s = formation->stations.First(); s != nullptr; s = s->GetNext()) {
        patrol = patrol || s->kind == StationKind::CAP;
        warning = warning || s->kind == StationKind::AEW;
        sonar = sonar || s->kind == StationKind::DIPPING || s->kind == StationKind::SONOBUOY;
    }
    needsStationPlan = patrol && warning && sonar ? 0 : 1;
}
