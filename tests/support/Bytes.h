// Bytes.h: spelling expected saved forms in tests as byte lists,
// e.g. Bytes({0x03, 0x00, 0x02, 0x00}).
#pragma once

#include <initializer_list>
#include <string>

inline std::string Bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s.push_back(static_cast<char>(v));
    return s;
}
