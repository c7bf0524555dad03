// TextUtil.cpp: the framework's text utilities.
#include "core/TextUtil.h"

#include <cstring>
#include <new>

#include "core/AllocationCheck.h"

namespace {

char FoldToUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char FoldToLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The difference of two characters taken as signed characters.
int32_t SignedDifference(char a, char b)
{
    return int32_t{static_cast<int8_t>(a)} - int32_t{static_cast<int8_t>(b)};
}

// Compares folded characters until they differ, both texts end, or limit
// characters have been compared (limit < 0: no limit).
int32_t CompareFolded(const char* a, const char* b, int64_t limit)
{
    if (a == nullptr)
        a = "";
    if (b == nullptr)
        b = "";
    for (int64_t i = 0; limit < 0 || i < limit; ++i) {
        const char fa = FoldToUpper(a[i]);
        const char fb = FoldToUpper(b[i]);
        if (fa != fb)
            return SignedDifference(fa, fb);
        if (fa == '\0')
            return 0;
    }
    return 0;
}

} // namespace

void StringToLower(char* text)
{
    if (text == nullptr)
        return;
    for (; *text != '\0'; ++text)
        *text = FoldToLower(*text);
}

void StringToUpper(char* text)
{
    if (text == nullptr)
        return;
    for (; *text != '\0'; ++text)
        *text = FoldToUpper(*text);
}

int32_t CompareNoCase(const char* a, const char* b)
{
    return CompareFolded(a, b, -1);
}

int32_t CompareNoCaseN(const char* a, const char* b, int32_t n)
{
    if (n <= 0)
        return 0;
    return CompareFolded(a, b, n);
}

void ReplaceChar(char* text, char from, char to)
{
    if (text == nullptr)
        return;
    for (; *text != '\0'; ++text) {
        if (*text == from)
            *text = to;
    }
}

int32_t StringLength(const char* text)
{
    if (text == nullptr)
        return 0;
    const size_t length = std::strlen(text);
    return length > INT32_MAX ? INT32_MAX : static_cast<int32_t>(length);
}

char* StringDuplicate(const char* text)
{
    if (text == nullptr)
        return nullptr;
    const size_t size = std::strlen(text) + 1;
    char* copy = new (std::nothrow) char[size];
    AllocationCheck(copy);
    if (copy != nullptr)
        std::memcpy(copy, text, size);
    return copy;
}
