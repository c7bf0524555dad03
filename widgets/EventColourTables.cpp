// EventColourTables.cpp: the event and colour lookups and the framework's
// default tables.
#include "widgets/EventColourTables.h"

namespace {

constexpr int32_t FIRST_LOGICAL_TYPE = 100;   // types from here on are logical codes
constexpr int32_t NO_EVENT_PRIORITY = 4;
constexpr int32_t NO_COLOUR_PRIORITY = 10;

bool StateFits(uint32_t recordBits, uint32_t stateBits)
{
    return (recordBits & ~stateBits) == 0;
}

} // namespace

int32_t LookUpEvent(const UI_EVENT_RECORD* eventTable, const UI_MESSAGE* event, uint16_t id0, uint16_t id1,
                    uint16_t id2, uint16_t id3, uint16_t id4)
{
    if (event->type >= FIRST_LOGICAL_TYPE)
        return event->type;
    int32_t result = event->type;
    if (eventTable == nullptr)
        return result;
    const uint16_t farther[4] = {id1, id2, id3, id4};
    const int32_t rawCode = event->code & 0xFFFF;
    int32_t best = NO_EVENT_PRIORITY;
    for (const UI_EVENT_RECORD* r = eventTable; r->classId != UI_TABLE_END; ++r) {
        if (r->type != event->type || r->rawCode != rawCode || r->qualifier != event->qualifier)
            continue;
        if (r->classId == id0)
            return r->logicalCode;
        for (int32_t n = 0; n < best; ++n) {
            if (r->classId == farther[n]) {
                best = n;
                result = r->logicalCode;
                break;
            }
        }
    }
    return result;
}

const UI_COLOUR_ENTRY* LookUpColours(const UI_COLOUR_RECORD* colourTable, uint32_t stateBits, uint16_t id0,
                                     uint16_t id1, uint16_t id2, uint16_t id3, uint16_t id4)
{
    if (colourTable == nullptr)
        return nullptr;
    const UI_COLOUR_ENTRY* result = &colourTable[0].colours;
    const uint16_t ids[5] = {id0, id1, id2, id3, id4};
    int32_t best = NO_COLOUR_PRIORITY;
    for (const UI_COLOUR_RECORD* r = colourTable; r->classId != UI_TABLE_END; ++r) {
        const bool fits = StateFits(r->stateBits, stateBits);
        if (r->classId == id0 && fits)
            return &r->colours;
        if (!fits)
            continue;
        for (int32_t n = 0; n < 5; ++n) {
            if (r->classId != ids[n])
                continue;
            const int32_t priority = r->stateBits == 0 ? 2 * n + 1 : 2 * n;
            if (priority < best) {
                best = priority;
                result = &r->colours;
            }
            break;
        }
    }
    return result;
}

// Keys and pointer buttons every window object understands, then those of
// the string field (13), the window (1007), the text field (15) and the
// desktop (2002).
const UI_EVENT_RECORD UI_DEFAULT_EVENT_TABLE[] = {
    {18, 1002, 10, 0x1C0D, 0},
    {18, 1010, 10, 0x011B, 0},
    {18, 1001, 30, 0x0000, 0},
    {18, 1003, 30, 0x1100, 0},
    {18, 1003, 30, 0x3300, 0},
    {18, 1004, 30, 0x0100, 0},
    {18, 1004, 30, 0x0300, 0},
    {18, 1005, 30, 0x1000, 0},
    {18, 1005, 30, 0x1200, 0},
    {18, 1050, 10, 0x48E0, 0},
    {18, 1050, 10, 0x4800, 0},
    {18, 1051, 10, 0x50E0, 0},
    {18, 1051, 10, 0x5000, 0},
    {18, 1052, 10, 0x4BE0, 0},
    {18, 1052, 10, 0x4B00, 0},
    {18, 1053, 10, 0x4DE0, 0},
    {18, 1053, 10, 0x4D00, 0},
    {18, 1054, 10, 0x0F00, 0},
    {18, 1054, 10, 0x5900, 0},
    {18, 1055, 10, 0x0F09, 0},
    {18, 1006, 30, 0x2200, 0},
    {18, 1007, 30, 0x0200, 0},
    {18, 1008, 30, 0x2000, 0},
    {13, 1107, 10, 0x6200, 0},
    {13, 1101, 30, 0x1100, 0},
    {13, 1102, 30, 0x0100, 0},
    {13, 1103, 30, 0x1000, 0},
    {13, 1104, 10, 0x6300, 0},
    {13, 1127, 10, 0x92E0, 0},
    {13, 1127, 10, 0x9200, 0},
    {13, 1105, 10, 0x6500, 0},
    {13, 1119, 10, 0x0E08, 0},
    {13, 1108, 10, 0x53E0, 0},
    {13, 1110, 10, 0x9300, 0},
    {13, 1110, 10, 0x93E0, 0},
    {13, 1115, 10, 0x7300, 0},
    {13, 1115, 10, 0x73E0, 0},
    {13, 1115, 10, 0x9B00, 0},
    {13, 1116, 10, 0x7400, 0},
    {13, 1116, 10, 0x74E0, 0},
    {13, 1116, 10, 0x9D00, 0},
    {13, 1117, 10, 0x47E0, 0},
    {13, 1117, 10, 0x7700, 0},
    {13, 1117, 10, 0x77E0, 0},
    {13, 1118, 10, 0x4FE0, 0},
    {13, 1118, 10, 0x7500, 0},
    {13, 1118, 10, 0x75E0, 0},
    {13, 1114, 10, 0x52E0, 0},
    {13, 1058, 10, 0x49E0, 0},
    {13, 1059, 10, 0x51E0, 0},
    {1007, 1058, 10, 0x49E0, 0},
    {1007, 1059, 10, 0x51E0, 0},
    {1007, 1056, 10, 0x47E0, 0},
    {1007, 1057, 10, 0x4FE0, 0},
    {1007, 1013, 10, 0x6E00, 0},
    {1007, 1014, 10, 0x6F00, 0},
    {1007, -25, 10, 0x6C00, 0},
    {1007, 1540, 10, 0x6300, 0},
    {1007, -511, 10, 0x6100, 0},
    {15, 1056, 10, 0x7700, 0},
    {15, 1056, 10, 0x77E0, 0},
    {15, 1057, 10, 0x7500, 0},
    {15, 1057, 10, 0x75E0, 0},
    {15, 1114, 10, 0x52E0, 0},
    {2002, 1003, 30, 0x2200, 0},
    {2002, 1004, 30, 0x0200, 0},
    {2002, 1005, 30, 0x2000, 0},
    {2002, 1011, 10, 0x0000, 0},
    {2002, 1011, 10, 0x2E03, 0},
    {2002, -11, 10, 0x6B00, 0},
    {2002, 1040, 10, 0x6D00, 0},
    {2002, 1040, 10, 0x9400, 0},
    {2002, 1013, 10, 0x6E00, 0},
    {2002, 1014, 10, 0x6F00, 0},
    {UI_TABLE_END, 0, 0, 0, 0},
};

// Colour entries by class and state. 2101 to 2103 draw the 3-D edges.
UI_COLOUR_RECORD UI_DEFAULT_COLOUR_TABLE[] = {
    {18, 0x04, {{32, 63, 15}, 1, 1, 15, 1, 0, 0, 1}},
    {18, 0x00, {{32, 113, 7}, 1, 1, 15, 0, 1, 0, 3}},
    {2, 0x24, {{32, 49, 15}, 1, 1, 7, 1, 0, 3, 0}},
    {2, 0x04, {{32, 63, 15}, 1, 1, 7, 1, 0, 0, 3}},
    {2, 0x21, {{32, 113, 15}, 1, 1, 7, 1, 0, 3, 0}},
    {2, 0x00, {{32, 113, 7}, 1, 1, 7, 0, 1, 0, 1}},
    {2106, 0x24, {{32, 49, 120}, 1, 1, 15, 1, 0, 3, 0}},
    {2106, 0x04, {{32, 63, 112}, 1, 1, 15, 1, 0, 0, 1}},
    {2106, 0x30, {{32, 115, 8}, 1, 7, 15, 0, 1, 0, 1}},
    {2106, 0x10, {{32, 115, 8}, 1, 7, 15, 0, 1, 1, 3}},
    {2106, 0x21, {{32, 113, 15}, 1, 1, 15, 1, 0, 3, 0}},
    {2106, 0x00, {{32, 113, 7}, 1, 1, 15, 0, 1, 0, 3}},
    {1007, 0x00, {{32, 241, 240}, 1, 1, 15, 0, 1, 0, 3}},
    {1001, 0x00, {{32, 113, 7}, 1, 1, 15, 0, 1, 0, 3}},
    {23, 0x00, {{32, 113, 7}, 1, 1, 15, 0, 1, 0, 3}},
    {15, 0x00, {{32, 113, 7}, 1, 1, 15, 0, 1, 0, 3}},
    {1005, 0x00, {{176, 113, 15}, 1, 7, 7, 0, 1, 0, 3}},
    {1009, 0x00, {{32, 127, 112}, 1, 1, 7, 0, 1, 0, 3}},
    {2105, 0x00, {{32, 113, 112}, 1, 1, 15, 0, 1, 0, 3}},
    {11, 0x30, {{32, 241, 112}, 1, 1, 15, 1, 0, 3, 0}},
    {11, 0x10, {{32, 241, 240}, 1, 1, 15, 0, 1, 0, 3}},
    {1, 0x01, {{32, 127, 15}, 1, 4, 4, 0, 1, 3, 1}},
    {1, 0x00, {{32, 127, 7}, 1, 1, 1, 0, 1, 0, 1}},
    {17, 0x01, {{32, 31, 240}, 1, 1, 15, 1, 0, 3, 1}},
    {17, 0x00, {{32, 143, 135}, 1, 1, 15, 0, 1, 3, 1}},
    {8, 0x01, {{32, 31, 240}, 1, 1, 7, 0, 1, 0, 1}},
    {8, 0x00, {{32, 143, 135}, 1, 1, 7, 0, 1, 0, 1}},
    {1006, 0x01, {{32, 31, 240}, 1, 1, 7, 0, 1, 0, 1}},
    {1006, 0x00, {{32, 143, 135}, 1, 1, 7, 0, 1, 0, 1}},
    {7, 0x09, {{32, 30, 240}, 1, 1, 7, 0, 1, 0, 1}},
    {7, 0x01, {{32, 31, 240}, 1, 1, 7, 0, 1, 0, 1}},
    {7, 0x00, {{32, 143, 135}, 1, 1, 7, 0, 1, 0, 1}},
    {2100, 0x00, {{32, 127, 7}, 1, 7, 1, 0, 0, 0, 0}},
    {2101, 0x00, {{32, 255, 255}, 1, 15, 15, 1, 1, 3, 3}},
    {2102, 0x00, {{32, 119, 119}, 1, 7, 7, 0, 0, 0, 0}},
    {2103, 0x00, {{32, 120, 0}, 1, 8, 8, 0, 0, 0, 0}},
    {2104, 0x00, {{32, 17, 0}, 1, 1, 1, 0, 0, 0, 0}},
    {UI_TABLE_END, 0, {{0, 0, 0}, 0, 0, 0, 0, 0, 0, 0}},
};
