// UnitDetectionCalls.h: the unit operations of detection and the data link
// that work on contacts and side contact records, which live with the
// engagement model: it installs them (SetUnitDetectionCalls) and the unit's
// operations of the same names call them. Until then a unit detects nothing,
// keeps no jamming and leaves the data link as it is. Also the detection
// options word (the RealismLevel setting), which the start-up reads.
#pragma once

#include <cstdint>

class ConfigurationFileIO;
class SignatureRecord;
class Unit;
struct NavVector;

struct UnitDetectionCalls {
    // Unit::DetectUnit, UpdatePairDetection, UpdateDataLink, ReportToBase,
    // BuildJammingEntry, LeaveDataLink and NoteHostileAct of `self`.
    bool (*detectUnit)(Unit& self, Unit& other) = nullptr;
    void (*updatePairDetection)(Unit& self, Unit& other) = nullptr;
    int32_t (*updateDataLink)(Unit& self, Unit& other, int32_t range, uint8_t sight, uint8_t withinHorizon,
                              uint16_t options) = nullptr;
    void (*reportToBase)(Unit& self, Unit& other) = nullptr;
    SignatureRecord* (*buildJammingEntry)(const Unit& self, const NavVector& vector) = nullptr;
    void (*leaveDataLink)(Unit& self) = nullptr;
    void (*noteHostileAct)(Unit& self, uint16_t attackerID) = nullptr;
    // Half the sonar model's ring interval, nautical miles.
    uint16_t (*getSonarRingSpacing)() = nullptr;
};

// Installs the calls; returns the ones they replace.
UnitDetectionCalls SetUnitDetectionCalls(const UnitDetectionCalls& calls);
const UnitDetectionCalls& GetUnitDetectionCalls();

namespace DetectionOptions {
// Bits of the options word, which counts for the player's side only.
constexpr uint16_t LINKED_SEE_EACH_OTHER = 0x1;   // same side, both with datalink records
constexpr uint16_t TRUE_SIDE = 0x2;
constexpr uint16_t TRUE_IDENTITY = 0x4;
constexpr uint16_t KNOW_EVERY_UNIT = 0x8;

// The options word read at start-up; 0 until set.
void SetRealismLevel(uint16_t level);
uint16_t GetRealismLevel();
// The word from the program's INI file (key RealismLevel of the program's
// section): the low 16 bits of its integer, 0 when the key is missing.
uint16_t ReadRealismLevel(ConfigurationFileIO& ini);
// The options that apply to the unit: the word for a unit of the player's
// side (Game2UI2::GetCurrentSideID), 0 for every other unit.
uint16_t For(const Unit& unit);
}  // namespace DetectionOptions
