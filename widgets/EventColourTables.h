// EventColourTables.h: the two constant tables through which window objects
// read events and choose colours: the event table (raw event to logical code)
// and the colour table (class and state to colour entry), their lookups, and
// the framework's default tables. Each table ends with a record of class
// UI_TABLE_END.
#pragma once

#include <cstdint>

#include "widgets/UI_MESSAGE.h"

constexpr uint16_t UI_TABLE_END = 0xFFFF;

// One record of an event table: events of `type` whose low 16 bits of `code`
// equal rawCode and whose qualifier equals `qualifier` mean logicalCode to
// objects of classId.
struct UI_EVENT_RECORD {
    uint16_t classId;
    int32_t logicalCode;
    int32_t type;
    int32_t rawCode;
    int32_t qualifier;
};

// The colours handed to the display, ten words. Words 0 to 2 are carried and
// read by no display.
struct UI_COLOUR_ENTRY {
    int32_t carried[3];
    int32_t fillPattern;     // 1 solid; otherwise a pattern of the display's table
    int32_t foreground256;   // palette indexes for 256 colours
    int32_t background256;
    int32_t foreground2;     // two colours: non-zero is colour 15, zero colour 1
    int32_t background2;
    int32_t foreground16;    // palette indexes for 16 colours
    int32_t background16;
};

// One record of a colour table: the entry for objects of classId whose state
// has every bit of stateBits (0: any state).
struct UI_COLOUR_RECORD {
    uint16_t classId;
    uint32_t stateBits;
    UI_COLOUR_ENTRY colours;
};

// The logical code of event for an object whose class identifiers are id0
// (most derived) to id4. An event of type above 99 is already logical and
// answers its type unscanned; without a matching record the answer is the
// event's type. A record of id0 wins at once; otherwise the record of the
// nearest identifier, the first in table order among equals.
int32_t LookUpEvent(const UI_EVENT_RECORD* eventTable, const UI_MESSAGE* event, uint16_t id0, uint16_t id1,
                    uint16_t id2, uint16_t id3, uint16_t id4);

// The colour entry for an object in state stateBits whose class identifiers
// are id0 to id4. A record of id0 whose state bits are all in stateBits wins
// at once; otherwise, nearer identifiers beat farther ones and, for one
// identifier, a record for the state beats a catch-all record (state 0).
// Without any match: the first record's entry.
const UI_COLOUR_ENTRY* LookUpColours(const UI_COLOUR_RECORD* colourTable, uint32_t stateBits, uint16_t id0,
                                     uint16_t id1, uint16_t id2, uint16_t id3, uint16_t id4);

// The framework's default tables: 74 event records and 37 colour records,
// each followed by the end record.
extern const UI_EVENT_RECORD UI_DEFAULT_EVENT_TABLE[];
extern UI_COLOUR_RECORD UI_DEFAULT_COLOUR_TABLE[];
constexpr int32_t UI_DEFAULT_EVENT_RECORDS = 74;
constexpr int32_t UI_DEFAULT_COLOUR_RECORDS = 37;
