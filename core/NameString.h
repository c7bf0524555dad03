// NameString.h: NameString, the fixed 32-byte name field of the saved records,
// with its saved form (a u16 byte count, then the text and its zero byte).
#pragma once

#include <iosfwd>

class NameString {
public:
    static constexpr int SIZE = 32;             // bytes in the field
    static constexpr int MAX_LENGTH = SIZE - 1; // characters before the zero byte

    // The empty text; the whole field is cleared.
    NameString();
    NameString(const NameString&) = default;             // all 32 bytes
    NameString& operator=(const NameString&) = default;  // all 32 bytes
    ~NameString() = default;

    // Takes the text into the field. A text of more than 31 characters keeps
    // its first 31 and the terminator. A null text is a fatal error and leaves
    // the field as it was.
    void Set(const char* newString);

    // Copies the 32 bytes of the field into copyString, which must hold 32
    // bytes. A null buffer is a fatal error.
    void Get(char* copyString) const;

    // The text, always zero-terminated within the 32 bytes.
    const char* Text() const { return text; }

    // Byte-wise comparison up to the terminators: case counts. A null text
    // equals no name.
    bool IsEqual(const NameString& other) const;
    bool IsEqual(const char* other) const;
    bool operator==(const NameString& other) const { return IsEqual(other); }
    bool operator==(const char* other) const { return IsEqual(other); }

    // Saved form, little-endian:
    //   count   u16              text length + 1
    //   text    count bytes      the characters and their zero byte
    std::ostream& Save(std::ostream& out) const;

    // Reads the saved form. The text ends at its zero byte or at the first
    // '|' among the bytes read, whichever comes first: a loaded name never
    // holds a '|'. A count of 0 reads nothing more and keeps the
    // field. A count above 32 still consumes every byte it announces, so the
    // stream stays in step, and keeps the first 31 characters; loaded bytes
    // without a zero are terminated all the same. When the count or the bytes
    // cannot be read whole, the stream is left failed and the field unchanged.
    std::istream& Load(std::istream& in);

private:
    char text[SIZE];
};

static_assert(sizeof(NameString) == NameString::SIZE);
