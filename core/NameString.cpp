// NameString.cpp: setting, copying, comparing, saving and loading the fixed
// 32-byte name field.
#include "core/NameString.h"

#include <algorithm>
#include <cstring>
#include <istream>
#include <ostream>

#include "core/ErrorReport.h"
#include "core/StreamFields.h"

NameString::NameString()
{
    std::memset(text, 0, sizeof text);
}

void NameString::Set(const char* newString)
{
    if (newString == nullptr) {
        FatalError("NameString::Set: newString is NULL");
        return;
    }
    const size_t length = strnlen(newString, MAX_LENGTH);
    std::memcpy(text, newString, length);
    text[length] = '\0';
}

void NameString::Get(char* copyString) const
{
    if (copyString == nullptr) {
        FatalError("NameString::Get: copyString is NULL");
        return;
    }
    std::memcpy(copyString, text, sizeof text);
}

bool NameString::IsEqual(const NameString& other) const
{
    return std::strncmp(text, other.text, SIZE) == 0;
}

bool NameString::IsEqual(const char* other) const
{
    return other != nullptr && std::strncmp(text, other, SIZE) == 0;
}

std::ostream& NameString::Save(std::ostream& out) const
{
    const size_t length = strnlen(text, MAX_LENGTH);
    StreamInt16(static_cast<uint16_t>(length + 1)).Save(out);
    out.write(text, static_cast<std::streamsize>(length));
    return out.put('\0');
}

std::istream& NameString::Load(std::istream& in)
{
    StreamInt16 count;   // stays 0 when the read fails
    count.Load(in);
    if (!in || count == 0)
        return in;

    // Read into a scratch field first, so that a short read changes nothing.
    const int kept = std::min<int>(count, SIZE);
    char read[SIZE];
    if (!in.read(read, kept))
        return in;
    if (count > SIZE) {
        const std::streamsize excess = count - SIZE;
        in.ignore(excess);
        if (in.gcount() != excess) {
            in.setstate(std::ios::failbit);
            return in;
        }
    }

    // Bytes of the field past those read keep what they held.
    std::memcpy(text, read, static_cast<size_t>(kept));
    char* const end = text + kept;
    char* const bar = std::find(text, end, '|');
    if (bar != end)
        *bar = '\0';
    if (std::find(text, end, '\0') == end)
        text[std::min(kept, MAX_LENGTH)] = '\0';
    return in;
}
