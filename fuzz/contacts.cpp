// contacts.cpp: fuzz target of the Arena's side contact records
// (SideContactsList::Load) and so of every contact record in each of its
// file forms, with its area of uncertainty. Byte 0 picks the file version the
// records are read by (the forms before and after each added field, and no
// scenario header: the latest form); the rest is the saved list. A list that
// loads is saved again and its contacts aged a minute, as the clock would
// (which grows their areas). The arena state and file version are fresh for
// every input; sample texts and map are loaded once.
#include <cstdint>
#include <sstream>
#include <string>

#include "core/ScenarioAdmin.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "fuzz/FuzzTarget.h"
#include "tests/support/SampleMap.h"
#include "world/UncertainPoly.h"

using samplemap::At;

namespace {

// The file versions byte 0 chooses from (modulo the count); the last entry
// stands for no scenario header.
const VersionNumber FORMS[] = {
    {2, 1, 3, 0}, {2, 1, 4, 0}, {2, 1, 7, 0}, {2, 1, 11, 0}, {3, 6, 1, 9}, {3, 6, 2, 0}, {0, 0, 0, 0},
};
constexpr size_t FORM_COUNT = sizeof(FORMS) / sizeof(FORMS[0]);

void SetUp()
{
    static const bool done = [] {
        fuzz::UseSampleResources();
        fuzz::UseSampleMap();
        return true;
    }();
    (void)done;
}

void FillContact(Contact& c, uint16_t unitID, bool withArea)
{
    c.SetKey(unitID);
    c.detectionKind = 4;
    c.targetMask = 0x801;
    c.lastDetection = GameTime(100);
    c.sideId = 2;
    c.sensorBitsEver = 0x24;
    c.name.Set("Raider");
    c.contactNumber = static_cast<uint16_t>(unitID % 900 + 1);
    c.SetPosition(At(74, 1));
    if (withArea)
        c.SetArea(new Uncertain_Poly(At(74, 1), 20000));
    c.threat[0] = 1;
    c.knownBits = 0x17;
    c.sensorsEver.Insert(new IDNode(11));
    c.speedEstimate = 25;
    c.courseEstimate = 270;
    c.typeLetter = 'S';
    c.sensorsLatest.Insert(new IDNode(11));
    c.course = 90;
    c.speed = 20;
}

// One record in the form of a file of that version (SideContacts::Save
// writes the latest form only).
void SaveRecord(std::ostream& out, const SideContacts& record, const VersionNumber& form)
{
    SaveField(out, record.GetKey());
    uint16_t count = 0;
    for (const Contact* c = record.contacts.First(); c != nullptr; c = c->GetNext())
        ++count;
    SaveField(out, count);
    for (const Contact* c = record.contacts.First(); c != nullptr; c = c->GetNext())
        c->Save(out, form);
    record.ownUnits.Save(out);
    record.ownGroups.Save(out);
    SaveField(out, record.lastContactNumber);
    record.selectedUnits.Save(out);
    record.selectedContacts.Save(out);
}

}  // namespace

void FuzzSeeds(fuzz::Seeds& seeds)
{
    SetUp();
    SideContacts first(1), second(2);
    auto* withArea = new Contact;
    FillContact(*withArea, 321, true);
    first.contacts.Insert(withArea);
    auto* plain = new Contact;
    FillContact(*plain, 322, false);
    first.contacts.Insert(plain);
    first.ownUnits.Insert(new IDNode(40));
    first.ownGroups.Insert(new IDNode(41));
    first.selectedContacts.Insert(new IDNode(321));
    first.lastContactNumber = 2;
    second.ownUnits.Insert(new IDNode(50));
    for (size_t f = 0; f < FORM_COUNT; ++f) {
        const VersionNumber form = f + 1 < FORM_COUNT ? FORMS[f] : FORMS[FORM_COUNT - 2];
        std::ostringstream out(std::ios::binary);
        out.put(static_cast<char>(f));
        SaveField(out, uint16_t{2});
        SaveRecord(out, first, form);
        SaveRecord(out, second, form);
        seeds.Add("two-records-form-" + std::to_string(f), out.str());
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetUp();
    if (size == 0)
        return 0;
    ScenarioAdmin admin;
    admin.SetFileVersion(FORMS[data[0] % FORM_COUNT]);
    ScenarioAdmin* const previousAdmin = gAdmin;
    if (data[0] % FORM_COUNT + 1 < FORM_COUNT)
        gAdmin = &admin;
    std::istringstream in(fuzz::Bytes(data + 1, size - 1), std::ios::binary);
    fuzz::Guarded([&] {
        ArenaState arena;
        arena.SetGameTime(GameTime(100000));
        gam2arena::SetArenaState(&arena);
        {
            SideContactsList list;
            if (list.Load(in)) {
                std::ostringstream out(std::ios::binary);
                list.Save(out);
                for (SideContacts* r = list.First(); r != nullptr; r = r->GetNext())
                    r->AgeContacts(60);
            }
        }
        gam2arena::SetArenaState(nullptr);
    });
    gAdmin = previousAdmin;
    return 0;
}
