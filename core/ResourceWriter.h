// ResourceWriter.h: ResourceWriter, which lays numbered blocks out as a
// resource file in the layout ResourceLoader.h describes, and the readers of
// the two readable sources the resource builder (tools/resbuild) turns into
// resource files: numbered texts and block manifests. Reading resource files
// in the program lives in ResourceLoader.h.
#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <ostream>
#include <string>
#include <string_view>

class ResourceWriter {
public:
    explicit ResourceWriter(uint16_t fileID = 0) : fileID_(fileID) {}

    uint16_t GetFileID() const { return fileID_; }
    void SetFileID(uint16_t fileID) { fileID_ = fileID; }

    // Sets the bytes of block index. False, with nothing changed, when that
    // index already holds a block.
    bool AddBlock(uint16_t index, std::string bytes);
    // A text block: the text followed by one zero byte.
    bool AddText(uint16_t index, std::string_view text);
    bool HasBlock(uint16_t index) const { return blocks_.count(index) != 0; }

    // Blocks the file will hold: the highest index given + 1, or 0. Indices
    // never given lie between as blocks of size 0.
    uint32_t BlockCount() const;

    // Writes the file: file ID, D, the offset table of BlockCount() + 1
    // entries, the blocks in index order. False when the blocks together pass
    // the 32-bit offsets of the format (nothing written then) or the stream
    // fails.
    bool Write(std::ostream& out) const;
    // Write to a new file at a Linux path; a failed write removes the file.
    bool WriteFile(const std::string& path) const;

private:
    uint16_t fileID_;
    std::map<uint16_t, std::string> blocks_;
};

// Decodes the escapes of a text source's text (\\ \" \n \t \r \xHH) into
// decoded; false for any other escape or one cut short.
bool DecodeEscapes(std::string_view text, std::string& decoded);

// Reads a text source into the writer. One text per line:
//   <number> <text>
// number: the resource number, decimal or 0x hexadecimal; its upper 16 bits
// are the file ID, the same on every line (it becomes the writer's file ID),
// its lower 16 bits the block index. The text is the rest of the line after
// the blanks that follow the number, trailing blanks cut. A text wrapped in
// double quotes keeps its leading and trailing blanks. Escapes: \\ \" \n \t
// \r and \xHH. Empty lines and lines starting with '#' are passed over; a
// UTF-8 byte order mark and carriage returns are ignored. False with a text in
// error ("line 12: ...") for a malformed line, a file ID that differs, a
// repeated index, or a source without texts.
bool ReadTextSource(std::istream& in, ResourceWriter& writer, std::string& error);

// Reads a block manifest into the writer:
//   file <id>          once, before any block: the file ID (0 to 65535)
//   <index> <path>     block index (decimal or 0x hex) and the file whose
//                      bytes become the block; relative paths start at folder
// with '#' comment lines and empty lines as in a text source. False with a
// text in error for a malformed or repeated line, a file that cannot be read,
// or a manifest without its file line.
bool ReadBlockManifest(std::istream& in, const std::string& folder, ResourceWriter& writer,
                       std::string& error);
