// PlatformTypeCode.cpp: the five-byte type code text and its raw saved form.
#include "annex/PlatformTypeCode.h"

#include <cstring>
#include <istream>
#include <ostream>

void PlatformTypeCode::Set(const char* text)
{
    std::memset(text_, 0, sizeof text_);
    if (text)
        std::memcpy(text_, text, strnlen(text, LENGTH));
}

void PlatformTypeCode::Get(char* out) const
{
    if (out)
        std::memcpy(out, text_, sizeof text_);
}

void PlatformTypeCode::Save(std::ostream& out) const
{
    out.write(text_, LENGTH);
}

void PlatformTypeCode::Load(std::istream& in)
{
    char read[LENGTH];
    if (in.read(read, LENGTH)) {
        std::memcpy(text_, read, LENGTH);
        text_[LENGTH] = '\0';
    }
}
