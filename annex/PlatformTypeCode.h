// PlatformTypeCode.h: PlatformTypeCode, the five-byte type code text of a
// ship, submarine or aircraft record ("DDG", "SSK" ...), stored in the file
// without a terminator. A unit copies it into its data block label.
#pragma once

#include <cstdint>
#include <iosfwd>

class PlatformTypeCode {
public:
    static constexpr int LENGTH = 5;           // bytes in the file
    static constexpr int64_t BYTES = LENGTH;

    // The empty code: five zero bytes.
    PlatformTypeCode() { Set(""); }

    // Takes at most five characters of text and pads the rest with zeros; a
    // null text gives the empty code.
    void Set(const char* text);

    // The code as a text: the bytes up to the first zero, at most five, then
    // a terminator. A code of five characters has none in the file.
    const char* Text() const { return text_; }
    // Copies Text() into out, which must hold LENGTH + 1 bytes.
    void Get(char* out) const;

    // Saved form: the five bytes as they stand, also those after a zero.
    // A short read leaves the stream failed and the code unchanged.
    void Save(std::ostream& out) const;
    void Load(std::istream& in);

private:
    char text_[LENGTH + 1];   // the file's bytes and an extra terminator
};
