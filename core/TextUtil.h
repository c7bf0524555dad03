// TextUtil.h: the small text utilities of the window framework on
// zero-terminated texts: case folding in place, comparison without regard to
// case, character replacement, a null-safe length and a heap copy. Letters are
// the ASCII letters; every other byte is left as it is.
#pragma once

#include <cstdint>

// Fold the letters of text to lower / upper case in place. A null text is
// left alone.
void StringToLower(char* text);
void StringToUpper(char* text);

// Compares a and b with lower-case letters folded to upper case. 0 when they
// are equal; otherwise the difference of the first unequal folded characters,
// each taken as a signed character (so '_' against 'a' is '_' - 'A', positive,
// and a byte of 0x80 or above sorts before every ASCII character). A null text
// compares as the empty text.
int32_t CompareNoCase(const char* a, const char* b);

// As CompareNoCase for at most n characters; 0 when n runs out first (and for
// n of 0 or less).
int32_t CompareNoCaseN(const char* a, const char* b, int32_t n);

// Replaces every from in text by to, in place. A null text is ignored.
void ReplaceChar(char* text, char from, char to);

// The length of text in characters; 0 for a null text.
int32_t StringLength(const char* text);

// A copy of text on the heap, made with new[] (the caller releases it with
// delete[]); null for a null text, or when the memory cannot be had (reported
// as out of memory).
char* StringDuplicate(const char* text);
