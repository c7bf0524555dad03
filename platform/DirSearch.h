// DirSearch.h: DirSearch, the find-first / find-next search of one folder by a
// name pattern ("RESOURCE\*.RES", "*.*", "scen\*.dsd"), and ListDirectory,
// the plain sorted listing of a folder. Path conversion lives in Path.h.
//
// Both take a snapshot of the folder when they start and hand out its entries
// in NameLess order (case folded, then by bytes), so the order a caller sees
// does not depend on the file system. "." and ".." are never returned.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Attribute bits of a found entry, with the values the program tests
// (a listed folder is exactly ATTRIBUTE_DIRECTORY).
constexpr uint8_t ATTRIBUTE_NORMAL = 0x00;
constexpr uint8_t ATTRIBUTE_READ_ONLY = 0x01;   // a file this process cannot write
constexpr uint8_t ATTRIBUTE_DIRECTORY = 0x10;

// One entry found by a search.
struct DirEntry {
    std::string name;              // as it stands on disk, without the folder
    uint8_t attributes = ATTRIBUTE_NORMAL;
    int64_t size = 0;              // bytes; 0 for a folder
    int64_t modified = 0;          // calendar seconds since 1970-01-01 UTC
};

// True when name matches pattern: '*' stands for any run of characters (also
// none), '?' for exactly one, every other character for itself with ASCII case
// ignored. As on the program's original runtime, a pattern ending in ".*" also
// matches names without any '.', so "*.*" matches every name.
bool WildcardMatch(std::string_view name, std::string_view pattern);

// A search of one folder. FindFirst takes a pattern whose last name may hold
// wildcards and whose folder part (anything up to the last separator, resolved
// as Path.h says) names the folder; no folder part means the working directory.
// Folders inside the folder are found too, marked ATTRIBUTE_DIRECTORY.
//
//     DirSearch search;
//     for (bool found = search.FindFirst(pattern); found; found = search.FindNext())
//         Use(search.Current().name);
//     search.Close();
class DirSearch {
public:
    DirSearch() = default;

    // Starts a new search, dropping any earlier one. False when the folder
    // cannot be read or nothing matches; Current is then not to be used.
    bool FindFirst(std::string_view pattern);

    // Steps to the next match; false after the last one.
    bool FindNext();

    // Ends the search and frees its snapshot; FindNext then answers false.
    void Close();

    // The entry reached by the last successful FindFirst or FindNext; an empty
    // entry (no name) when there is none.
    const DirEntry& Current() const;

private:
    std::vector<DirEntry> entries_;
    size_t position_ = 0;
};

// The names in a folder (given as Path.h takes it), in NameLess order, without
// "." and "..". False, with names emptied, when the folder cannot be read.
bool ListDirectory(std::string_view folder, std::vector<std::string>& names);

} // namespace platform
