// Path.h: turning the program's own path texts (".\RESOURCE\default.ini",
// "AALogs\AALog_x1.txt", "\ScreenShots\") into Linux paths, and the small file
// queries built on that: existence, folders, time stamps, the working directory.
// Searching a folder by pattern lives in DirSearch.h.
//
// The program keeps its paths as it writes them: '\' or '/' between names, and
// names in whatever case the configuration or the code spells them, while the
// files on disk are named as the data set names them (airfacil.dat, *.RES,
// AUTO.SAV). A name is therefore first looked up as given and, only when that
// exact name does not exist, matched without regard to ASCII case among the
// entries of its folder. Where several entries differ only in case, the first
// in NameLess order is taken, so the choice does not depend on the file system.
//
// Path forms:
//   "a\b", "a/b"      relative to the working directory
//   "\a\b"            root-relative in the program's texts: also relative to
//                     the working directory (the program never means the root)
//   "/a/b"            a Linux absolute path, kept absolute
// A drive prefix such as "c:" has no meaning here and is kept as a plain name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// True for both separators the program's texts use.
constexpr bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// ASCII case-insensitive equality of two names; other bytes compare exactly.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// The order of every listing: by name with ASCII case folded, names equal
// under folding ordered by their bytes. A strict weak order.
bool NameLess(std::string_view a, std::string_view b);

// The Linux path of an existing file or folder: separators become '/', runs of
// separators collapse to one, a trailing separator is kept, and every name is
// resolved case-insensitively where the exact one does not exist. Once a name
// cannot be found at all, it and the names below it are kept as given, so
// opening the result fails in the ordinary way. "" gives "".
std::string NativePath(std::string_view path);

// The Linux path under which to create a new file or folder: as NativePath for
// the folders leading to it, while the last name is kept exactly as given (a
// file that exists only in another case is left alone, not overwritten).
std::string NativePathForCreate(std::string_view path);

// True when the path names something that exists and is not a folder.
bool FileExists(std::string_view path);

// True when the path names an existing folder.
bool IsDirectory(std::string_view path);

// The last modification time of a file or folder, in calendar seconds since
// 1970-01-01 UTC; none when it does not exist.
std::optional<int64_t> ModifiedTime(std::string_view path);

// Creates one folder; its parent must exist. An existing folder, also one whose
// name differs only in case, is success; a file of that name is failure.
bool MakeDirectory(std::string_view path);

// The working directory as an absolute Linux path, "" when it cannot be had.
std::string CurrentDirectory();

// Makes the path (resolved as NativePath) the working directory.
bool ChangeDirectory(std::string_view path);

// The names of a Linux folder as they stand on disk, unsorted, without "."
// and ".."; false when the folder cannot be read. No case resolution: callers
// pass a path NativePath has already made.
bool ReadNativeDirectory(const std::string& nativeFolder, std::vector<std::string>& names);

} // namespace platform
