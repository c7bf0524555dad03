// IntegerToText.h: IntegerToText, the window framework's integer-to-text
// conversion in any radix from 2 to 36.
#pragma once

#include <cstdint>

// Writes value in radix (digits 0-9, then upper-case letters from A) into
// buffer, followed by a terminating zero, and returns buffer. Only radix 10
// writes a negative value with a leading '-' (INT32_MIN included); any other
// radix writes the value's 32 bits as an unsigned number (-1 in radix 16 is
// FFFFFFFF). 0 gives "0". A radix outside 2 to 36 writes the empty text; a
// null buffer gives null. Needs: buffer holds 33 bytes.
char* IntegerToText(int32_t value, char* buffer, int32_t radix);
