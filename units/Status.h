// Status.h: the texts of the unit information windows: a unit's or contact's
// status panel, its weapons and sensor lists, a group's roster, an air base's
// facilities, and the time format of the status lines. The contact side of
// these texts lives with the contacts, which install it (ContactTextCalls).
#pragma once

#include <cstdint>

#include "units/UnitStatus.h"

// What the status texts ask of the current side's contact on a unit. Each
// answers -1 without a current side, 0 when the side holds no contact on
// the unit, 1 when it wrote the text.
struct ContactTextCalls {
    int (*getStatus)(uint16_t unitID, UnitStatus& status) = nullptr;
    int (*getSensorText)(uint16_t unitID, char* out, int32_t size) = nullptr;
};

// Installs the calls; returns the ones they replace.
ContactTextCalls SetContactTextCalls(const ContactTextCalls& calls);

// Empties the 32 lines and the byte after them; lineCount becomes 15.
void ClearUnitStatus(UnitStatus& status);
// Fills the panel of unitID: id 0 puts the no-selection text in line 13
// with lineCount 0; a unit of the player's view fills it itself; any other
// id shows the current side's contact (lineCount 0 without one, nothing
// changed without a current side). A null record is fatal.
void GetUnitStatusText(uint16_t unitID, UnitStatus* statusInfo);
// The weapons list (mounts, then magazines); empty for id 0.
void GetUnitWeaponsText(uint16_t unitID, char* out, int32_t size);
// The sensor list of the unit, or of the current side's contact on it.
void GetUnitSensorText(uint16_t unitID, char* out, int32_t size);
// The names of the members of a group ('G') or air group ('A'), one a line,
// cut at `size` and terminated; empty for anything else.
void GetGroupRosterText(uint16_t unitID, char* out, int32_t size);
// The names of an air base's ('B') facility members ('F'), as the roster.
void GetBaseFacilitiesText(uint16_t unitID, char* out, int32_t size);
// Copies resource text `number` into out, cut at size - 1 and terminated;
// an empty text when it cannot be had. Needs: size > 0.
void CopyResourceText(int32_t number, char* out, int32_t size);
// The cloud cover and precipitation texts of a weather code; any code
// outside the tables reads "Clear".
const char* CloudCoverText(uint8_t code);
const char* PrecipitationText(uint8_t code);
// `seconds` as h:mm:ss into out (32 bytes); negative counts show as 0:00:00.
void FormatStatusTime(int32_t seconds, char* out);
