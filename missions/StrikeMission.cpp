// StrikeMission.cpp: the strike's construction, kind masks, saved form,
// roles, flight size and description. The unit step, reports, attack cycle,
// planners and contact triage have their own sources (see StrikeMission.h).
#include "missions/StrikeMission.h"

#include <istream>
#include <ostream>
#include <string>

#include "core/ResourceText.h"
#include "core/ScenarioAdmin.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "missions/OpsStaff.h"

namespace {

// Files before this version hold one target id instead of the list.
const VersionNumber TARGET_LIST_VERSION(2, 1, 6, 0);

// Contact class bits of each strike kind.
constexpr uint32_t AIR_CLASSES = 0x4;
constexpr uint32_t GROUND_CLASSES = 0x7E0;
constexpr uint32_t SURFACE_CLASSES = 0x1;
constexpr uint32_t SUBSURFACE_CLASSES = 0x2;

constexpr uint16_t AIR_INTERCEPT = 9;
constexpr uint16_t GROUND_STRIKE = 10;
constexpr uint16_t SHIP_STRIKE = 11;
constexpr uint16_t SUB_STRIKE = 12;

// Aircraft per launched group.
constexpr uint16_t SUB_STRIKE_FLIGHT = 1;
constexpr uint16_t AIR_INTERCEPT_FLIGHT = 2;
constexpr uint16_t STRIKE_FLIGHT = 4;

bool ReadsTargetList() {
  return gAdmin == nullptr || gAdmin->GetFileVersion() >= TARGET_LIST_VERSION;
}

// "name-number" of a contact.
void AppendContact(std::string &text, const Contact &contact) {
  text += contact.name.Text();
  text += '-';
  text += std::to_string(contact.contactNumber);
}

} // namespace

StrikeMission::StrikeMission(uint16_t kind, const char *nameText,
                             const IDList *targets, Side *owner)
    : MissionRecord(kind, nameText, owner) {
  missionType = TYPE;
  missionFlags = StrikeFlag::NEW_STRIKE;
  if (targets != nullptr)
    CopyIDList(targets, &targetList);
  lockedTarget = 0;
  if (const uint32_t mask = KindClassMask(kind))
    targetClasses = mask;
  delete[] savedName;
  savedName = nullptr;
  SaveName();
}

MissionRecord *StrikeMission::MakeForKind(uint16_t kind, const char *name,
                                          const IDList *list, uint16_t,
                                          Side *side) {
  return new StrikeMission(kind, name, list, side);
}

StrikeMission::StrikeMission(uint16_t type, Side *owner) {
  missionType = type;
  side = owner;
}

StrikeMission::~StrikeMission() { targetList.DeleteAll(); }

uint32_t StrikeMission::KindClassMask(uint16_t kind) {
  switch (kind) {
  case AIR_INTERCEPT:
    return AIR_CLASSES;
  case GROUND_STRIKE:
    return GROUND_CLASSES;
  case SHIP_STRIKE:
    return SURFACE_CLASSES;
  case SUB_STRIKE:
    return SUBSURFACE_CLASSES;
  default:
    return 0;
  }
}

bool StrikeMission::Save(std::ostream &out) {
  if (!SaveBase(out))
    return false;
  targetList.Save(out);
  SaveField(out, lockedTarget);
  return static_cast<bool>(out);
}

bool StrikeMission::Load(std::istream &in) {
  if (!LoadBase(in))
    return false;
  // Read into a list of its own so that a cut record leaves nothing behind.
  IDList loaded;
  if (ReadsTargetList()) {
    if (!loaded.Load(in)) {
      loaded.DeleteAll();
      in.setstate(std::ios::failbit);
      return false;
    }
  } else {
    uint16_t onlyTarget = 0;
    if (!LoadField(in, onlyTarget))
      return false;
    if (onlyTarget != 0)
      loaded.Insert(new IDNode(onlyTarget));
  }
  uint16_t locked = 0;
  if (!LoadField(in, locked)) {
    loaded.DeleteAll();
    return false;
  }
  targetList.DeleteAll();
  while (IDNode *const node = loaded.First()) {
    loaded.Remove(node);
    targetList.Insert(node);
  }
  lockedTarget = locked;
  return true;
}

void StrikeMission::OnUnitsChanged() { missionFlags |= StrikeFlag::REPLAN; }

void StrikeMission::OnAircraftCommitted() {
  missionFlags |= StrikeFlag::REPLAN;
}

uint16_t StrikeMission::QueryUnit(uint16_t, uint16_t value) {
  return lockedTarget != 0 && value == lockedTarget ? LOCKED_TARGET_ROLE : 0;
}

bool StrikeMission::IsUnitLaunchPending(PlaneRecRef *, uint32_t value) {
  return lockedTarget != 0 && value == lockedTarget;
}

uint16_t StrikeMission::GetDefaultState(uint16_t) {
  switch (creationKind) {
  case SUB_STRIKE:
    return SUB_STRIKE_FLIGHT;
  case AIR_INTERCEPT:
    return AIR_INTERCEPT_FLIGHT;
  default:
    return STRIKE_FLIGHT;
  }
}

void StrikeMission::SaveName() {
  SideContacts *const current = gam2arena::GetCurrentSide();
  std::string text;
  if (targetList.First() == nullptr) {
    switch (creationKind) {
    case AIR_INTERCEPT:
      text = ResourceString(AIR_INTERCEPT_TEXT);
      break;
    case GROUND_STRIKE:
      text = ResourceString(GROUND_STRIKE_TEXT);
      break;
    case SHIP_STRIKE:
      text = ResourceString(SHIP_STRIKE_TEXT);
      break;
    case SUB_STRIKE:
      text = ResourceString(SUB_STRIKE_TEXT);
      break;
    default:
      text = ResourceString(OTHER_STRIKE_TEXT);
      break;
    }
    const Contact *const locked = lockedTarget != 0 && current != nullptr
                                      ? current->GetContact(lockedTarget)
                                      : nullptr;
    if (locked != nullptr) {
      text += ": ";
      AppendContact(text, *locked);
    }
  } else {
    text = ResourceString(TARGETS_TEXT);
    if (current != nullptr) {
      const char *separator = "";
      for (const IDNode *node = targetList.First(); node != nullptr;
           node = node->GetNext()) {
        text += separator;
        separator = ", ";
        Contact *const contact = current->GetContact(node->GetKey());
        if (contact == nullptr) {
          text += ResourceString(UNSEEN_TARGET_TEXT);
          continue;
        }
        AppendContact(text, *contact);
      }
    }
  }
  delete[] savedName;
  savedName = new char[text.size() + 1];
  text.copy(savedName, text.size());
  savedName[text.size()] = '\0';
}
