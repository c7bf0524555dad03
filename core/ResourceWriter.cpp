// ResourceWriter.cpp: laying blocks out as a resource file, and reading the
// text sources and block manifests of the resource builder.
#include "core/ResourceWriter.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/StreamFields.h"

namespace {

constexpr uint32_t HEADER_SIZE = 6;   // file ID u16, D u32
constexpr uint32_t TABLE_ENTRY_SIZE = 4;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A number written in decimal or with a 0x prefix in hexadecimal, every
// character a digit, at most limit. False for anything else.
bool ParseNumber(std::string_view text, uint32_t limit, uint32_t& value)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return false;
    uint64_t parsed = 0;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), parsed, base);
    if (fault != std::errc() || end != text.data() + text.size() || parsed > limit)
        return false;
    value = static_cast<uint32_t>(parsed);
    return true;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}


// Splits a source line into its first word and the rest, both without the
// surrounding blanks. False for a line to pass over: empty, blank, a comment.
bool SplitSourceLine(std::string_view line, std::string_view& word, std::string_view& rest)
{
    size_t start = 0;
    while (start < line.size() && IsBlank(line[start]))
        ++start;
    if (start == line.size() || line[start] == '#')
        return false;
    size_t wordEnd = start;
    while (wordEnd < line.size() && !IsBlank(line[wordEnd]))
        ++wordEnd;
    word = line.substr(start, wordEnd - start);
    size_t restStart = wordEnd;
    while (restStart < line.size() && IsBlank(line[restStart]))
        ++restStart;
    size_t restEnd = line.size();
    while (restEnd > restStart && IsBlank(line[restEnd - 1]))
        --restEnd;
    rest = line.substr(restStart, restEnd - restStart);
    return true;
}

// Reads the next line without its line end; drops a byte order mark from the
// first line and the carriage return of CR LF line ends.
bool ReadSourceLine(std::istream& in, std::string& line, int32_t& lineNumber)
{
    if (!std::getline(in, line))
        return false;
    if (++lineNumber == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
        line.erase(0, 3);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

std::string Hex(uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

std::string LineError(int32_t lineNumber, const std::string& what)
{
    return "line " + std::to_string(lineNumber) + ": " + what;
}

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open())
        return false;
    std::ostringstream contents;
    contents << in.rdbuf();
    if (in.bad())
        return false;
    bytes = contents.str();
    return true;
}

}  // namespace

bool DecodeEscapes(std::string_view text, std::string& decoded)
{
    decoded.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            decoded += text[i];
            continue;
        }
        if (++i == text.size())
            return false;
        switch (text[i]) {
        case '\\': decoded += '\\'; break;
        case '"':  decoded += '"';  break;
        case 'n':  decoded += '\n'; break;
        case 't':  decoded += '\t'; break;
        case 'r':  decoded += '\r'; break;
        case 'x': {
            if (i + 2 >= text.size())
                return false;
            const int high = HexDigit(text[i + 1]);
            const int low = HexDigit(text[i + 2]);
            if (high < 0 || low < 0)
                return false;
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
            return false;
        }
    }
    return true;
}

bool ResourceWriter::AddBlock(uint16_t index, std::string bytes)
{
    return blocks_.emplace(index, std::move(bytes)).second;
}

bool ResourceWriter::AddText(uint16_t index, std::string_view text)
{
    std::string block(text);
    block += '\0';
    return AddBlock(index, std::move(block));
}

uint32_t ResourceWriter::BlockCount() const
{
    return blocks_.empty() ? 0 : uint32_t{blocks_.rbegin()->first} + 1;
}

bool ResourceWriter::Write(std::ostream& out) const
{
    uint64_t dataSize = 0;
    for (const auto& [index, bytes] : blocks_)
        dataSize += bytes.size();
    if (dataSize > UINT32_MAX)
        return false;

    const uint32_t blockCount = BlockCount();
    const uint32_t dataOffset = HEADER_SIZE + TABLE_ENTRY_SIZE * (blockCount + 1);   // at most 262154
    SaveField<uint16_t>(out, fileID_);
    SaveField<uint32_t>(out, dataOffset);

    uint32_t position = 0;
    SaveField<uint32_t>(out, position);
    auto block = blocks_.begin();
    for (uint32_t index = 0; index < blockCount; ++index) {
        if (block != blocks_.end() && block->first == index) {
            position += static_cast<uint32_t>(block->second.size());
            ++block;
        }
        SaveField<uint32_t>(out, position);
    }
    for (const auto& [index, bytes] : blocks_)
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool ResourceWriter::WriteFile(const std::string& path) const
{
    bool written = false;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        written = out.is_open() && Write(out);
        if (out.is_open()) {
            out.close();
            written = written && !out.fail();
        }
    }
    if (!written)
        std::remove(path.c_str());
    return written;
}

bool ReadTextSource(std::istream& in, ResourceWriter& writer, std::string& error)
{
    std::string line;
    int32_t lineNumber = 0;
    int32_t firstLine = 0;    // the line that fixed the file ID
    uint16_t fileID = 0;
    while (ReadSourceLine(in, line, lineNumber)) {
        std::string_view word;
        std::string_view rest;
        if (!SplitSourceLine(line, word, rest))
            continue;
        uint32_t number = 0;
        if (!ParseNumber(word, UINT32_MAX, number)) {
            error = LineError(lineNumber, "not a resource number: " + std::string(word));
            return false;
        }
        const uint16_t lineFileID = static_cast<uint16_t>(number >> 16);
        const uint16_t index = static_cast<uint16_t>(number & 0xFFFF);
        if (firstLine == 0) {
            firstLine = lineNumber;
            fileID = lineFileID;
        } else if (lineFileID != fileID) {
            error = LineError(lineNumber, "file ID " + std::to_string(lineFileID) + " differs from " +
                                              std::to_string(fileID) + " of line " +
                                              std::to_string(firstLine));
            return false;
        }
        if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"')
            rest = rest.substr(1, rest.size() - 2);
        std::string text;
        if (!DecodeEscapes(rest, text)) {
            error = LineError(lineNumber, "bad escape in text");
            return false;
        }
        if (writer.HasBlock(index)) {
            error = LineError(lineNumber, "resource " + Hex(number) + " given twice");
            return false;
        }
        writer.AddText(index, text);
    }
    if (in.bad()) {
        error = "read failed";
        return false;
    }
    if (firstLine == 0) {
        error = "no texts";
        return false;
    }
    writer.SetFileID(fileID);
    return true;
}

bool ReadBlockManifest(std::istream& in, const std::string& folder, ResourceWriter& writer,
                       std::string& error)
{
    std::string line;
    int32_t lineNumber = 0;
    bool haveFileID = false;
    while (ReadSourceLine(in, line, lineNumber)) {
        std::string_view word;
        std::string_view rest;
        if (!SplitSourceLine(line, word, rest))
            continue;
        if (word == "file") {
            uint32_t fileID = 0;
            if (haveFileID) {
                error = LineError(lineNumber, "file ID given twice");
                return false;
            }
            if (!ParseNumber(rest, UINT16_MAX, fileID)) {
                error = LineError(lineNumber, "not a file ID: " + std::string(rest));
                return false;
            }
            writer.SetFileID(static_cast<uint16_t>(fileID));
            haveFileID = true;
            continue;
        }
        if (!haveFileID) {
            error = LineError(lineNumber, "a block comes before the file line");
            return false;
        }
        uint32_t index = 0;
        if (!ParseNumber(word, UINT16_MAX, index)) {
            error = LineError(lineNumber, "not a block index: " + std::string(word));
            return false;
        }
        if (rest.empty()) {
            error = LineError(lineNumber, "no file for block " + std::to_string(index));
            return false;
        }
        if (writer.HasBlock(static_cast<uint16_t>(index))) {
            error = LineError(lineNumber, "block " + std::to_string(index) + " given twice");
            return false;
        }
        std::string path(rest);
        if (path.front() != '/' && !folder.empty())
            path = folder + "/" + path;
        std::string bytes;
        if (!ReadWholeFile(path, bytes)) {
            error = LineError(lineNumber, "cannot read " + path);
            return false;
        }
        writer.AddBlock(static_cast<uint16_t>(index), std::move(bytes));
    }
    if (in.bad()) {
        error = "read failed";
        return false;
    }
    if (!haveFileID) {
        error = "no file line";
        return false;
    }
    return true;
}
