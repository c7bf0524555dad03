// VictoryCalls.h: what the victory bookkeeping asks of the layers above the
// missions: the side manager's sides and their victory managers, a side's
// name, the player's message window with its answer, the end-of-scenario
// window and picture, sounds, and the evaluation window's text pane; and the
// victory entry points of the bridge built on them (unit2gam). The owners
// install the calls at start-up (SetVictoryCalls); until then there is no
// side manager, nothing is shown and nothing is played.
// InstallVictoryBridge hands the entry points to the unit and weapon code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class VictoryManager;

// The message window's answer: the key the window was opened with (a side
// id, or 0 for the all-units-lost question) and the player's answer byte.
using VictoryAnswer = void (*)(uint16_t key, uint8_t answer);

struct VictoryCalls {
    // The side manager's side ids in identifier order; false when there is
    // no side manager.
    bool (*listSides)(std::vector<uint16_t>& sideIDs) = nullptr;
    // Side::GetVictoryManager of side sideID (null when it has none); false
    // when the side does not exist.
    bool (*findSide)(uint16_t sideID, VictoryManager*& manager) = nullptr;
    // gam2arena::GetSideText: the side's base name; false when there is no
    // such side.
    bool (*getSideText)(uint16_t sideID, std::string& name) = nullptr;
    // ui2game::ShowMessageWindow: opens a message window with the text; the
    // player's answer later calls `answer` with the key. Does not wait.
    void (*showMessageWindow)(const char* text, uint16_t key, VictoryAnswer answer) = nullptr;
    // ui2game::RunModalWindow: the modal window of that kind (0: end of
    // scenario), returning when it closes.
    void (*runModalWindow)(uint32_t kind) = nullptr;
    // ui2game::ShowEndOfGamePicture: the victory (met) or defeat picture
    // with its sound, returning when the player closes it.
    void (*showEndOfGamePicture)(uint8_t met) = nullptr;
    // sndlink::PlaySound: one sound resource, once.
    void (*playSound)(int32_t resource) = nullptr;
    // The evaluation window's text pane takes a finished text.
    void (*showEvaluationText)(const char* text) = nullptr;
};

// Installs the calls; returns the ones they replace.
VictoryCalls SetVictoryCalls(const VictoryCalls& calls);

// Hands the victory entry points below to the unit model's and the weapon
// code's call tables (the lost-unit check, both kind-loss reports, and the
// weapon code's violation and unit-pair records, which go to the manager of
// the weapon's side); Uninstall takes them out again.
void InstallVictoryBridge();
void UninstallVictoryBridge();

namespace ui2game {
// The installed calls; each does nothing without its call.
void ShowMessageWindow(const char* text, uint16_t key, VictoryAnswer answer);
void RunModalWindow(uint32_t kind);
void ShowEndOfGamePicture(uint8_t met);
}  // namespace ui2game

namespace sndlink {
void PlaySound(int32_t resource);
}  // namespace sndlink

namespace gam2arena {
// The side's base name; false when there is no such side (or no call).
bool GetSideText(uint16_t sideID, std::string& name);
}  // namespace gam2arena

namespace unit2gam {
// Side sideID's victory manager. No side manager, or no such side, is a
// fatal error ("unit2gam::GetVictoryManager : sideMan is NULL", "... side
// is NULL"); null then, and for a side without a manager.
VictoryManager* GetVictoryManager(uint16_t sideID);

// Every side's VictoryManager::Evaluate with the unit (unitID 0: the
// periodic check), then the all-units-lost check. A side without a manager
// is reported in an error box and skipped; without a side manager an error
// box is all. A unit id that finds no unit does nothing. (The unit model
// calls this through its own unit2gam::CheckVictoryConditions.)
void CheckVictoryConditionsOfSides(uint16_t unitID);

// Every side's VictoryManager::RecordKindLoss: count platforms of the kind
// (platformID, typeLetter) lost or expended by side loserSide. Nothing for
// a count of 0; missing managers as above.
void RecordKindLossOfSides(uint16_t loserSide, uint16_t platformID, uint16_t typeLetter, uint16_t count);

// The all-units-lost check: at most once per program run, and only while the
// Arena has no current side record, when no unit of the unit list belongs to
// the player's side, asks the player whether to go on (answer
// VictoryManager::OnVictoryAnswer, key 0).
void CheckAllUnitsLost();
// Lets the question be asked again (a test's fresh run).
void ResetAllUnitsLostQuestion();

// The short status (ShowVictoryStatus) or the full report (ShowEvaluation)
// of side sideID (0: the player's side) for the evaluation window's pane.
// Without a manager the status shows nothing and the report says so.
void ShowVictoryStatus(uint16_t sideID);
void ShowEvaluation(uint16_t sideID, uint8_t showOutcome);
}  // namespace unit2gam
