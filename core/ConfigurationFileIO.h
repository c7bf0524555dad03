// ConfigurationFileIO.h: the INI reader, a binary input file stream over a
// line-oriented file of [sections] and "key value" lines. Its public
// operations are a published interface of the program. The reader never
// writes the file; the keys and their meanings belong to its callers.
//
// File syntax, as read here:
//   [Name]  anything        a section: the name runs to the next ']'
//   Key value ; remark      a key in the first column, ended by white space;
//                           the value is the rest of the line (remarks
//                           included), trailing white space cut
//   ; anything, or a line starting with white space: passed over in a key search
// White space is tab, line feed, carriage return and blank, so CRLF files read
// like LF files. Section, key and GetStatus words compare without regard to
// case; the section "ALL" stands for the whole file.
#pragma once

#include <cstdint>
#include <fstream>

// The "no value" answer of the operations that return a number.
constexpr int32_t CONFIG_NO_VALUE = 987654321;

// Error codes. A public call leaves 0, 1, 2 or 7; the others arise inside a
// search and are reported as 1 (section search) or 2 (key search).
constexpr int16_t CONFIG_OK = 0;
constexpr int16_t CONFIG_NO_SECTION = 1;
constexpr int16_t CONFIG_NO_KEY = 2;            // also: the file failed to open
constexpr int16_t CONFIG_END_OF_FILE = 3;
constexpr int16_t CONFIG_LONG_SECTION = 5;      // a section name of 79 characters or more
constexpr int16_t CONFIG_LONG_KEY = 6;          // a key-position word of 79 characters or more
constexpr int16_t CONFIG_NOT_A_WORD = 7;        // GetStatus: the value is none of the words

class ConfigurationFileIO : public std::ifstream {
public:
    // Opens the file (binary) named as the program writes paths (".\x.ini");
    // error code 2 when it fails to open. The first lookup in a missing file
    // then fails with error 1.
    explicit ConfigurationFileIO(const char* path);
    ~ConfigurationFileIO() override;

    // The key's value, up to length - 1 characters, ending before the first
    // stop character (which is not read); 1 found, 0 not (error 1 or 2). A key
    // with nothing after it on its line takes its value from the next
    // non-blank text, even on a later line; at the end of the file the value
    // is empty and the result still 1.
    int16_t GetString(const char* section, const char* key, char* buffer, int32_t length, char stop);
    // The value as a signed decimal integer (leading white space and a sign
    // allowed, conversion up to the first non-digit, no digits: 0; beyond the
    // 32-bit range it saturates), or CONFIG_NO_VALUE.
    int32_t GetLongInt(const char* section, const char* key);
    // The value after its two prefix characters (as in 0x1F) as a hexadecimal
    // integer, or CONFIG_NO_VALUE. The digits are the run of hexadecimal
    // digits and 'x' that follows the prefix; read from its end, a 'x' or 'X'
    // ends the conversion. Letters a-f and A-F count 10 to 15. A value of two
    // characters or fewer (so "19" without prefix) gives 0. Above eight digits
    // the leading ones wrap out of the 32 bits.
    int32_t GetHexInt(const char* section, const char* key);
    // The number paired with the first of the count words that the value
    // equals (case ignored), or CONFIG_NO_VALUE with error 7.
    int32_t GetStatus(const char* section, const char* key, const char* const* words,
                      const int32_t* values, int32_t count);
    // The next line of the list that follows the key (1), or 0 when the list
    // has ended: at a line beginning with the stop character, or at the end of
    // the file; it stays ended until another public operation runs. Lines
    // beginning with ';' and blank lines are passed over; an item is cut to
    // length - 1 characters and the rest of its line dropped.
    int16_t GetNextTextItem(const char* section, const char* key, char* buffer, int32_t length, char stop);
    // The next list line as a decimal integer into value (1), or 0. Shares the
    // list of GetNextTextItem.
    int16_t GetNextNumericItem(const char* section, const char* key, int32_t& value, char stop);
    // The code of the last operation (see the codes above).
    int16_t GetConfigurationError() const;

private:
    // Names longer than this end a search (error 5 or 6).
    static constexpr int NAME_SIZE = 80;
    static constexpr int NAME_LIMIT = 79;

    // Which public operation ran last; a list continues only while it is
    // METHOD_NEXT_ITEM.
    static constexpr int16_t METHOD_NONE = 0;
    static constexpr int16_t METHOD_STATUS = 1;
    static constexpr int16_t METHOD_LONG_INT = 2;
    static constexpr int16_t METHOD_NEXT_ITEM = 4;
    static constexpr int16_t METHOD_STRING = 5;
    static constexpr int16_t METHOD_HEX_INT = 6;

    // Goes to the top of the file and then past the header line of section;
    // "ALL" succeeds at once at the top. 1 found; 0 with error 3 or 5.
    int16_t LocateSection(const char* section);
    // From the current position, goes past the first key-position word equal
    // to key. Unless acrossSections, a '[' ends the search (error 2). 1 found;
    // 0 with error 2, 3 or 6.
    int16_t LocateKey(const char* key, int16_t acrossSections);
    // Reads up to the first character that is not white space (left unread).
    // 1; 0 with error 3 at the end of the file.
    int16_t SkipWhiteSpace();
    // Reads through the next line feed. 1; 0 with error 3 at the end of the file.
    int16_t SkipToNextLine();
    // Cuts trailing white space off text; its first character always stays.
    int16_t RemoveTrailingWhiteSpace(char* text);
    // 1 for tab, line feed, carriage return and blank; else 0.
    static int16_t IsWhiteSpace(char c);
    void SetConfigurationError(int16_t code) { errorCode_ = code; }
    void SetLastMethodID(int16_t id) { lastMethodID_ = id; }
    int16_t GetLastMethodID() const { return lastMethodID_; }

    // Finds section and key as GetString does, leaving the position just past
    // the key's word; 0 with error 1 or 2 when either is missing.
    int16_t FindValue(const char* section, const char* key);
    // Reads the value into buffer as GetString does, after FindValue.
    void ReadValue(char* buffer, int32_t length, char stop);

    int16_t errorCode_ = CONFIG_OK;
    int16_t lastMethodID_ = METHOD_NONE;
    char listSection_[NAME_SIZE];   // section of the current item list
    char listKey_[NAME_SIZE];       // key of the current item list

    friend class ConfigurationFileIOProbe;   // tests reach the private searches
};
