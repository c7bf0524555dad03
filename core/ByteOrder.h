// ByteOrder.h: little-endian reads and writes of single fixed-width values on
// binary streams, for the Save and Load of the small value types.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

// Writes v as 4 bytes, least significant first.
inline void WriteInt32LE(std::ostream& out, int32_t v)
{
    const uint32_t u = static_cast<uint32_t>(v);
    const char bytes[4] = {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
                           static_cast<char>((u >> 16) & 0xFF), static_cast<char>(u >> 24)};
    out.write(bytes, 4);
}

// Reads 4 bytes, least significant first. On a short read v is left alone
// and the stream is left failed; answers whether the read succeeded.
inline bool ReadInt32LE(std::istream& in, int32_t& v)
{
    unsigned char bytes[4];
    if (!in.read(reinterpret_cast<char*>(bytes), 4))
        return false;
    v = static_cast<int32_t>(uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 |
                             uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24);
    return true;
}

// Reads 1 byte; as ReadInt32LE.
inline bool ReadUInt8(std::istream& in, uint8_t& v)
{
    char byte;
    if (!in.get(byte))
        return false;
    v = static_cast<uint8_t>(byte);
    return true;
}
