// FileName.cpp: the file-name sanitiser.
#include "platform/FileName.h"

namespace platform {

namespace {

bool IsUnsafe(char c)
{
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?';
}

} // namespace

std::string SafeFileName(std::string_view text)
{
    std::string safe(text);
    for (char& c : safe) {
        if (IsUnsafe(c))
            c = '_';
    }
    // Dots: a lone "." name, or any run of two or more, becomes underscores.
    size_t i = 0;
    while (i < safe.size()) {
        if (safe[i] != '.') {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < safe.size() && safe[end] == '.')
            ++end;
        if (end - i >= 2 || safe.size() == 1) {
            for (size_t k = i; k < end; ++k)
                safe[k] = '_';
        }
        i = end;
    }
    return safe;
}

} // namespace platform
