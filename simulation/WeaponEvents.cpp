// WeaponEvents.cpp: the fields and saved forms of the weapon-fire events and
// their install.
#include "simulation/WeaponEvents.h"

#include "core/StreamFields.h"
#include "units/PositionNode.h"

NewUnitEvent::NewUnitEvent(const NewWeaponOrder& newOrder) : order(newOrder)
{
    SetTime(order.due);
}

NewUnitEvent::~NewUnitEvent()
{
    DeletePositionNodes(&order.path);
}

bool NewUnitEvent::Load(std::istream& in)
{
    uint8_t letterByte = 0;
    LoadField(in, letterByte);
    LoadField(in, order.side);
    LoadField(in, order.weaponID);
    LoadField(in, order.count);
    LoadField(in, order.launcherID);
    LoadField(in, order.targetID);
    LoadField(in, order.guideMountID);
    LoadField(in, order.guideSensorID);
    LoadField(in, order.aimValue);
    uint16_t nodes = 0;
    LoadField(in, nodes);
    PositionNode* last = nullptr;
    for (uint16_t i = 0; in && i < nodes; ++i) {
        auto* node = new PositionNode;
        if (!node->Load(in)) {
            delete node;
            break;
        }
        if (last == nullptr) {
            order.path = node;
        } else {
            last->SetNext(node);
            node->SetPrev(last);
        }
        last = node;
    }
    letter = static_cast<char>(letterByte);
    if (!in || !LoadBase(in)) {
        DeletePositionNodes(&order.path);
        return false;
    }
    order.due = GetTime();
    return true;
}

void NewUnitEvent::Save(std::ostream& out) const
{
    SaveField(out, TypeCode());
    SaveField(out, static_cast<uint8_t>(letter));
    SaveField(out, order.side);
    SaveField(out, order.weaponID);
    SaveField(out, order.count);
    SaveField(out, order.launcherID);
    SaveField(out, order.targetID);
    SaveField(out, order.guideMountID);
    SaveField(out, order.guideSensorID);
    SaveField(out, order.aimValue);
    uint16_t nodes = 0;
    for (const PositionNode* node = order.path; node != nullptr; node = node->GetNext())
        ++nodes;
    SaveField(out, nodes);
    for (const PositionNode* node = order.path; node != nullptr; node = node->GetNext())
        node->Save(out);
    SaveBase(out);
}

GunFireEvent::GunFireEvent(uint16_t weapon, uint16_t target, uint16_t firing, uint8_t shots)
    : weaponID(weapon), targetID(target), firingID(firing), count(shots)
{
}

bool GunFireEvent::Load(std::istream& in)
{
    LoadField(in, weaponID);
    LoadField(in, targetID);
    LoadField(in, firingID);
    LoadField(in, count);
    return in && LoadBase(in);
}

void GunFireEvent::Save(std::ostream& out) const
{
    SaveField(out, TypeCode());
    SaveField(out, weaponID);
    SaveField(out, targetID);
    SaveField(out, firingID);
    SaveField(out, count);
    SaveBase(out);
}

ReloadEvent::ReloadEvent(const RoundTransferOrder& newOrder) : order(newOrder)
{
    SetTime(order.due);
}

bool ReloadEvent::Load(std::istream& in)
{
    LoadField(in, order.amount);
    LoadField(in, order.mountID);
    LoadField(in, order.weaponRecID);
    LoadField(in, order.unitID);
    LoadField(in, order.value0);
    LoadField(in, order.magazineID);
    LoadField(in, order.sourceRecID);
    LoadField(in, order.passedValue);
    LoadField(in, order.value1);
    if (!in || !LoadBase(in))
        return false;
    order.due = GetTime();
    return true;
}

void ReloadEvent::Save(std::ostream& out) const
{
    SaveField(out, TypeCode());
    SaveField(out, order.amount);
    SaveField(out, order.mountID);
    SaveField(out, order.weaponRecID);
    SaveField(out, order.unitID);
    SaveField(out, order.value0);
    SaveField(out, order.magazineID);
    SaveField(out, order.sourceRecID);
    SaveField(out, order.passedValue);
    SaveField(out, order.value1);
    SaveBase(out);
}

namespace {
Event* MakeNewUnit(const NewWeaponOrder& order)
{
    return new NewUnitEvent(order);
}

Event* MakeGunFire(uint16_t weaponID, uint16_t targetID, uint16_t firingID, uint8_t count)
{
    return new GunFireEvent(weaponID, targetID, firingID, count);
}

Event* MakeReload(const RoundTransferOrder& order)
{
    return new ReloadEvent(order);
}
}  // namespace

void InstallWeaponEvents()
{
    WeaponFireCalls calls = GetWeaponFireCalls();
    calls.makeNewUnitEvent = &MakeNewUnit;
    calls.makeGunFireEvent = &MakeGunFire;
    calls.makeReloadEvent = &MakeReload;
    SetWeaponFireCalls(calls);
}

void UninstallWeaponEvents()
{
    WeaponFireCalls calls = GetWeaponFireCalls();
    calls.makeNewUnitEvent = nullptr;
    calls.makeGunFireEvent = nullptr;
    calls.makeReloadEvent = nullptr;
    SetWeaponFireCalls(calls);
}
