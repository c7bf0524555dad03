// ConfigurationFileIO.cpp: the INI reader. Every search starts again from the
// top of the file, so keys may be read in any order; the item list of
// GetNextTextItem is the only state kept between calls.
#include "core/ConfigurationFileIO.h"

#include <cstring>
#include <string>

#include "core/TextUtil.h"
#include "platform/Path.h"

namespace {

constexpr int END = std::char_traits<char>::eof();

// Bytes of the value buffer of the number operations (254 characters), and of
// an item of GetNextNumericItem (19 characters).
constexpr int32_t NUMBER_BUFFER = 255;
constexpr int32_t NUMERIC_ITEM_BUFFER = 20;

const char* OrEmpty(const char* text)
{
    return text != nullptr ? text : "";
}

bool IsSpaceForNumber(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Signed decimal conversion: leading white space and one sign allowed, digits
// up to the first other character, none giving 0. Saturates at the 32-bit
// bounds instead of overflowing.
int32_t ParseDecimal(const char* text)
{
    const char* p = text;
    while (IsSpaceForNumber(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    int64_t magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > int64_t{INT32_MAX} + 1)
            magnitude = int64_t{INT32_MAX} + 1;   // stays saturated
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX)
        return INT32_MAX;
    return static_cast<int32_t>(value);
}

// The value of a hexadecimal digit, or -1 for any other character.
int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The hexadecimal value of text after its two prefix characters: the digits
// are the run of hexadecimal digits and 'x' that follows the prefix, read from
// the least significant (last) one back; an 'x' or 'X' ends the conversion.
// Sums and powers wrap in 32 bits, as a 32-bit register did.
int32_t ParseHexAfterPrefix(const char* text)
{
    const size_t length = std::strlen(text);
    if (length <= 2)
        return 0;
    size_t end = 2;
    while (end < length && (HexDigitValue(text[end]) >= 0 || text[end] == 'x' || text[end] == 'X'))
        ++end;
    uint32_t value = 0;
    uint32_t weight = 1;
    for (size_t i = end; i > 2; --i) {
        const char c = text[i - 1];
        if (c == 'x' || c == 'X')
            break;
        value = static_cast<uint32_t>((uint64_t{value} + uint64_t{weight} * static_cast<uint32_t>(HexDigitValue(c))) & 0xFFFFFFFFu);
        weight = static_cast<uint32_t>((uint64_t{weight} * 16) & 0xFFFFFFFFu);
    }
    return static_cast<int32_t>(value);   // two's complement: 0xFFFFFFFF is -1
}

// Copies text into a name field of size bytes, cut to size - 1 characters.
void CopyName(char* field, size_t size, const char* text)
{
    std::strncpy(field, text, size - 1);
    field[size - 1] = '\0';
}

} // namespace

ConfigurationFileIO::ConfigurationFileIO(const char* path)
    : std::ifstream(platform::NativePath(OrEmpty(path)), std::ios::in | std::ios::binary)
{
    listSection_[0] = '\0';
    listKey_[0] = '\0';
    SetConfigurationError((fail() || bad()) ? CONFIG_NO_KEY : CONFIG_OK);
}

ConfigurationFileIO::~ConfigurationFileIO()
{
    close();
}

int16_t ConfigurationFileIO::GetConfigurationError() const
{
    return errorCode_;
}

int16_t ConfigurationFileIO::IsWhiteSpace(char c)
{
    return (c == '\t' || c == '\n' || c == '\r' || c == ' ') ? 1 : 0;
}

int16_t ConfigurationFileIO::SkipWhiteSpace()
{
    for (;;) {
        const int c = get();
        if (c == END) {
            SetConfigurationError(CONFIG_END_OF_FILE);
            return 0;
        }
        if (!IsWhiteSpace(static_cast<char>(c))) {
            unget();
            SetConfigurationError(CONFIG_OK);
            return 1;
        }
    }
}

int16_t ConfigurationFileIO::SkipToNextLine()
{
    for (;;) {
        const int c = get();
        if (c == END) {
            SetConfigurationError(CONFIG_END_OF_FILE);
            return 0;
        }
        if (c == '\n')
            return 1;
    }
}

int16_t ConfigurationFileIO::RemoveTrailingWhiteSpace(char* text)
{
    size_t length = std::strlen(text);
    while (length > 1 && IsWhiteSpace(text[length - 1]))
        --length;
    text[length] = '\0';
    SetConfigurationError(CONFIG_OK);
    return 1;
}

int16_t ConfigurationFileIO::LocateSection(const char* section)
{
    clear();
    seekg(0);
    if (CompareNoCase(section, "ALL") == 0) {
        SetConfigurationError(CONFIG_OK);
        return 1;
    }
    for (;;) {
        int c = get();
        if (c == END) {
            SetConfigurationError(CONFIG_END_OF_FILE);
            return 0;
        }
        if (c == '\n')
            continue;                      // an empty line
        if (c != '[') {
            if (!SkipToNextLine())
                return 0;
            continue;
        }
        char name[NAME_SIZE];
        int length = 0;
        for (;;) {
            c = get();
            if (c == END) {
                SetConfigurationError(CONFIG_END_OF_FILE);
                return 0;
            }
            if (c == ']')
                break;
            name[length++] = static_cast<char>(c);
            if (length >= NAME_LIMIT) {
                SetConfigurationError(CONFIG_LONG_SECTION);
                return 0;
            }
        }
        name[length] = '\0';
        if (CompareNoCase(name, section) == 0) {
            SkipToNextLine();              // a header on the last line still counts
            SetConfigurationError(CONFIG_OK);
            return 1;
        }
        // Not this one: go on with the character after the ']'.
    }
}

int16_t ConfigurationFileIO::LocateKey(const char* key, int16_t acrossSections)
{
    bool atLineStart = true;
    for (;;) {
        int c = get();
        if (c == END) {
            SetConfigurationError(CONFIG_END_OF_FILE);
            return 0;
        }
        if (c == '\n') {
            atLineStart = true;
            continue;
        }
        if (IsWhiteSpace(static_cast<char>(c)) || c == ';') {
            if (!SkipToNextLine())
                return 0;
            atLineStart = true;
            continue;
        }
        // A '[' opening a line starts the next section. Elsewhere (in a value
        // that is tried as a key) it is only a character.
        if (c == '[' && atLineStart && !acrossSections) {
            SetConfigurationError(CONFIG_NO_KEY);
            return 0;
        }
        // The word runs up to and including the first white-space character.
        char word[NAME_SIZE];
        int length = 0;
        for (;;) {
            word[length++] = static_cast<char>(c);
            if (length >= NAME_LIMIT) {
                SetConfigurationError(CONFIG_LONG_KEY);
                return 0;
            }
            c = get();
            if (c == END || IsWhiteSpace(static_cast<char>(c)))
                break;
        }
        word[length] = '\0';
        atLineStart = (c == '\n');
        if (CompareNoCase(word, key) == 0) {
            SetConfigurationError(CONFIG_OK);
            return 1;
        }
        if (c == END) {
            SetConfigurationError(CONFIG_END_OF_FILE);
            return 0;
        }
        // The character after the word's white space is looked at next: after
        // a single blank the value is tried as a key too, after two the rest
        // of the line is passed over.
    }
}

int16_t ConfigurationFileIO::FindValue(const char* section, const char* key)
{
    if (!LocateSection(section)) {
        SetConfigurationError(CONFIG_NO_SECTION);
        return 0;
    }
    const int16_t acrossSections = (CompareNoCase(section, "ALL") == 0) ? 1 : 0;
    if (!LocateKey(key, acrossSections)) {
        SetConfigurationError(CONFIG_NO_KEY);
        return 0;
    }
    return 1;
}

void ConfigurationFileIO::ReadValue(char* buffer, int32_t length, char stop)
{
    SkipWhiteSpace();
    if (buffer == nullptr || length < 1)
        return;
    int32_t count = 0;
    while (count < length - 1) {
        const int c = peek();
        if (c == END || c == static_cast<unsigned char>(stop))
            break;
        buffer[count++] = static_cast<char>(get());
    }
    buffer[count] = '\0';
    RemoveTrailingWhiteSpace(buffer);
}

int16_t ConfigurationFileIO::GetString(const char* section, const char* key, char* buffer,
                                       int32_t length, char stop)
{
    SetLastMethodID(METHOD_STRING);
    if (!FindValue(section, key))
        return 0;
    ReadValue(buffer, length, stop);
    SetConfigurationError(CONFIG_OK);
    return 1;
}

int32_t ConfigurationFileIO::GetLongInt(const char* section, const char* key)
{
    SetLastMethodID(METHOD_LONG_INT);
    char value[NUMBER_BUFFER];
    if (!GetString(section, key, value, NUMBER_BUFFER, '\n'))
        return CONFIG_NO_VALUE;
    SetConfigurationError(CONFIG_OK);
    return ParseDecimal(value);
}

int32_t ConfigurationFileIO::GetHexInt(const char* section, const char* key)
{
    SetLastMethodID(METHOD_HEX_INT);
    char value[NUMBER_BUFFER];
    if (!GetString(section, key, value, NUMBER_BUFFER, '\n'))
        return CONFIG_NO_VALUE;
    SetConfigurationError(CONFIG_OK);
    return ParseHexAfterPrefix(value);
}

int32_t ConfigurationFileIO::GetStatus(const char* section, const char* key, const char* const* words,
                                       const int32_t* values, int32_t count)
{
    SetLastMethodID(METHOD_STATUS);
    char value[NUMBER_BUFFER];
    if (!GetString(section, key, value, NUMBER_BUFFER, '\n'))
        return CONFIG_NO_VALUE;
    if (words != nullptr && values != nullptr) {
        for (int32_t i = 0; i < count; ++i) {
            if (words[i] != nullptr && CompareNoCase(value, words[i]) == 0) {
                SetConfigurationError(CONFIG_OK);
                return values[i];
            }
        }
    }
    SetConfigurationError(CONFIG_NOT_A_WORD);
    return CONFIG_NO_VALUE;
}

int16_t ConfigurationFileIO::GetNextTextItem(const char* section, const char* key, char* buffer,
                                             int32_t length, char stop)
{
    section = OrEmpty(section);
    key = OrEmpty(key);
    const bool continuing = GetLastMethodID() == METHOD_NEXT_ITEM &&
                            std::strcmp(section, listSection_) == 0 &&
                            std::strcmp(key, listKey_) == 0;
    if (!continuing) {
        if (!FindValue(section, key)) {
            // No list now: a later call must search again rather than go on
            // with an earlier list from wherever this search stopped.
            SetLastMethodID(METHOD_NONE);
            return 0;
        }
        SkipWhiteSpace();
    }
    CopyName(listSection_, sizeof listSection_, section);
    CopyName(listKey_, sizeof listKey_, key);
    SetLastMethodID(METHOD_NEXT_ITEM);

    for (;;) {
        const int c = peek();
        if (c == END || c == static_cast<unsigned char>(stop)) {
            SetConfigurationError(CONFIG_OK);   // the list has ended (and stays so)
            return 0;
        }
        if (c != ';')
            break;
        SkipToNextLine();                      // a remark line
        SkipWhiteSpace();
    }

    // The item is the rest of the line; a line feed ends it, the stop
    // character does not. What does not fit is dropped with its line.
    const int32_t capacity = (buffer != nullptr && length > 0) ? length - 1 : 0;
    int32_t count = 0;
    bool lineEnded = false;
    while (count < capacity) {
        const int c = get();
        if (c == END || c == '\n') {
            lineEnded = true;
            break;
        }
        buffer[count++] = static_cast<char>(c);
    }
    if (!lineEnded)
        SkipToNextLine();
    SkipWhiteSpace();
    if (buffer != nullptr && length > 0) {
        buffer[count] = '\0';
        RemoveTrailingWhiteSpace(buffer);
    }
    SetConfigurationError(CONFIG_OK);
    return 1;
}

int16_t ConfigurationFileIO::GetNextNumericItem(const char* section, const char* key, int32_t& value, char stop)
{
    char item[NUMERIC_ITEM_BUFFER];
    const int16_t found = GetNextTextItem(section, key, item, NUMERIC_ITEM_BUFFER, stop);
    if (GetConfigurationError() != CONFIG_OK || !found)
        return 0;
    value = ParseDecimal(item);
    return 1;
}
