// StreamFields.h: the saved-field wrappers every record is built from, one
// value class per field width (two classes per width, which behave alike),
// each writing and reading its raw little-endian bytes and nothing else, and
// SaveField/LoadField for plain integers. NameString and AllocationCheck live
// in their own files.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <type_traits>

// A saved field of integer type T: exactly sizeof(T) bytes in memory and on
// disk, least significant byte first. Tag only tells the classes of one width
// apart: the Long/Short/Byte classes hold signed values, the Int classes
// unsigned ones (keys, heights, counts). Load on a short read leaves the
// value unchanged and the stream failed; callers test the stream after whole
// sections. A field converts to its value, so every comparison compares the
// whole value.
template <typename T, int Tag>
class StreamField {
    static_assert(std::is_integral_v<T> && !std::is_same_v<T, bool> && sizeof(T) <= 4,
                  "a stream field is an 8-, 16- or 32-bit integer");

public:
    constexpr StreamField() = default;
    constexpr StreamField(T v) : value(v) {}   // NOLINT: a field is its value

    constexpr operator T() const { return value; }
    constexpr T Get() const { return value; }
    constexpr void Set(T v) { value = v; }

    std::istream& Load(std::istream& in)
    {
        unsigned char bytes[sizeof(T)];
        if (in.read(reinterpret_cast<char*>(bytes), sizeof(T))) {
            using U = std::make_unsigned_t<T>;
            uint32_t u = 0;
            for (size_t i = 0; i < sizeof(T); ++i)
                u |= uint32_t{bytes[i]} << (8 * i);
            value = static_cast<T>(static_cast<U>(u));
        }
        return in;
    }

    std::ostream& Save(std::ostream& out) const
    {
        using U = std::make_unsigned_t<T>;
        const uint32_t u = static_cast<U>(value);
        char bytes[sizeof(T)];
        for (size_t i = 0; i < sizeof(T); ++i)
            bytes[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
        return out.write(bytes, sizeof(T));
    }

private:
    T value = 0;
};

using StreamLong  = StreamField<int32_t, 0>;   // 32 bits, signed
using StreamInt32 = StreamField<uint32_t, 1>;  // 32 bits, unsigned
using StreamShort = StreamField<int16_t, 0>;   // 16 bits, signed
using StreamInt16 = StreamField<uint16_t, 1>;  // 16 bits, unsigned (keys)
using StreamByte  = StreamField<int8_t, 0>;    // 8 bits, signed (balance)
using StreamInt8  = StreamField<uint8_t, 1>;   // 8 bits, unsigned (height)

static_assert(sizeof(StreamLong) == 4 && sizeof(StreamInt16) == 2 && sizeof(StreamByte) == 1);

// Free helpers for code that saves plain integers without a field object:
// the width is the width of T (int32_t, uint16_t, uint8_t ...).
template <typename T>
inline std::ostream& SaveField(std::ostream& out, T v) { return StreamField<T, 9>(v).Save(out); }

// Reads one plain integer; on a short read v is left unchanged and the
// stream failed, so `if (!LoadField(in, v))` tests the read.
template <typename T>
inline std::istream& LoadField(std::istream& in, T& v)
{
    StreamField<T, 9> f(v);
    f.Load(in);
    v = f.Get();
    return in;
}
