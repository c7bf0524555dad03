// Path.cpp: path conversion with case-insensitive lookup, and the file queries.
#include "platform/Path.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

char FoldCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// A path text taken apart: whether it is a Linux absolute path, its names in
// order (empty ones dropped), and whether it ended in a separator.
struct PathParts {
    bool absolute = false;
    std::vector<std::string> names;
    bool trailingSeparator = false;
};

PathParts SplitPath(std::string_view path)
{
    PathParts parts;
    parts.absolute = !path.empty() && path.front() == '/';
    parts.trailingSeparator = !path.empty() && IsSeparator(path.back());
    size_t start = 0;
    while (start < path.size()) {
        size_t end = start;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        if (end > start)
            parts.names.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string JoinName(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + '/' + name;
}

bool LinkExists(const std::string& native)
{
    struct stat info;
    return lstat(native.c_str(), &info) == 0;
}

bool NativeIsDirectory(const std::string& native)
{
    struct stat info;
    return stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Finds the entry of folder whose name equals name ignoring case; with several,
// a folder is preferred when wantFolder is set, then the first in NameLess
// order. Needs: the exact name does not exist. Empty when nothing matches.
std::string FindNameIgnoringCase(const std::string& folder, const std::string& name, bool wantFolder)
{
    std::vector<std::string> entries;
    if (!ReadNativeDirectory(folder.empty() ? std::string(".") : folder, entries))
        return {};
    std::string best;
    bool bestIsFolder = false;
    for (const std::string& entry : entries) {
        if (!EqualIgnoringCase(entry, name))
            continue;
        const bool isFolder = wantFolder && NativeIsDirectory(JoinName(folder, entry));
        const bool better = best.empty()
            || (isFolder && !bestIsFolder)
            || (isFolder == bestIsFolder && NameLess(entry, best));
        if (better) {
            best = entry;
            bestIsFolder = isFolder;
        }
    }
    return best;
}

// Builds the Linux path of parts, resolving the first resolveCount names.
std::string ResolveParts(const PathParts& parts, size_t resolveCount)
{
    std::string result = parts.absolute ? "/" : "";
    bool stillFound = true;
    for (size_t i = 0; i < parts.names.size(); ++i) {
        const std::string& name = parts.names[i];
        std::string chosen = name;
        if (stillFound && i < resolveCount && name != "." && name != "..") {
            if (!LinkExists(JoinName(result, name))) {
                const bool wantFolder = i + 1 < parts.names.size();
                std::string found = FindNameIgnoringCase(result, name, wantFolder);
                if (found.empty())
                    stillFound = false;   // nothing below a missing name exists
                else
                    chosen = std::move(found);
            }
        }
        result = JoinName(result, chosen);
    }
    if (result.empty())
        return parts.names.empty() && parts.trailingSeparator ? "." : result;
    if (parts.trailingSeparator && result.back() != '/')
        result += '/';
    return result;
}

} // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    }
    return true;
}

bool NameLess(std::string_view a, std::string_view b)
{
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        const unsigned char ca = static_cast<unsigned char>(FoldCase(a[i]));
        const unsigned char cb = static_cast<unsigned char>(FoldCase(b[i]));
        if (ca != cb)
            return ca < cb;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;   // equal under folding: upper case first, by bytes
}

std::string NativePath(std::string_view path)
{
    const PathParts parts = SplitPath(path);
    return ResolveParts(parts, parts.names.size());
}

std::string NativePathForCreate(std::string_view path)
{
    const PathParts parts = SplitPath(path);
    const size_t folders = parts.names.empty() ? 0 : parts.names.size() - 1;
    return ResolveParts(parts, folders);
}

bool FileExists(std::string_view path)
{
    if (path.empty())
        return false;
    struct stat info;
    return stat(NativePath(path).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool IsDirectory(std::string_view path)
{
    if (path.empty())
        return false;
    return NativeIsDirectory(NativePath(path));
}

std::optional<int64_t> ModifiedTime(std::string_view path)
{
    if (path.empty())
        return std::nullopt;
    struct stat info;
    if (stat(NativePath(path).c_str(), &info) != 0)
        return std::nullopt;
    return static_cast<int64_t>(info.st_mtime);
}

bool MakeDirectory(std::string_view path)
{
    if (path.empty())
        return false;
    // Resolving the whole path finds a folder that exists in another case.
    if (IsDirectory(path))
        return true;
    const std::string native = NativePathForCreate(path);
    if (mkdir(native.c_str(), 0777) == 0)
        return true;
    return errno == EEXIST && NativeIsDirectory(native);
}

std::string CurrentDirectory()
{
    std::string buffer(PATH_MAX, '\0');
    if (getcwd(buffer.data(), buffer.size()) == nullptr)
        return {};
    buffer.resize(buffer.find('\0'));
    return buffer;
}

bool ChangeDirectory(std::string_view path)
{
    if (path.empty())
        return false;
    return chdir(NativePath(path).c_str()) == 0;
}

bool ReadNativeDirectory(const std::string& nativeFolder, std::vector<std::string>& names)
{
    names.clear();
    DIR* folder = opendir(nativeFolder.c_str());
    if (folder == nullptr)
        return false;
    while (const dirent* entry = readdir(folder)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    closedir(folder);
    return true;
}

} // namespace platform
