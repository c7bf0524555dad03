// DirSearch.cpp: pattern matching, the folder search and the sorted listing.
#include "platform/DirSearch.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Path.h"

namespace platform {

namespace {

bool SameLetter(char a, char b)
{
    return EqualIgnoringCase(std::string_view(&a, 1), std::string_view(&b, 1));
}

// Glob matching with one remembered '*': on a mismatch the last star takes one
// more character. Linear in practice, never recursive.
bool GlobMatch(std::string_view name, std::string_view pattern)
{
    size_t n = 0;
    size_t p = 0;
    size_t starPattern = std::string_view::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || SameLetter(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// Splits "folder\pattern" at its last separator; the folder keeps that
// separator, and is "" when there is none.
void SplitPattern(std::string_view pattern, std::string_view& folder, std::string_view& namePattern)
{
    size_t last = pattern.size();
    while (last > 0 && !IsSeparator(pattern[last - 1]))
        --last;
    folder = pattern.substr(0, last);
    namePattern = pattern.substr(last);
}

DirEntry DescribeEntry(const std::string& nativeFolder, const std::string& name)
{
    DirEntry entry;
    entry.name = name;
    const std::string native = nativeFolder.back() == '/' ? nativeFolder + name : nativeFolder + '/' + name;
    struct stat info;
    // A dangling link still shows up in the listing: describe the link itself.
    if (stat(native.c_str(), &info) != 0 && lstat(native.c_str(), &info) != 0)
        return entry;
    entry.modified = static_cast<int64_t>(info.st_mtime);
    if (S_ISDIR(info.st_mode)) {
        entry.attributes = ATTRIBUTE_DIRECTORY;
    } else {
        entry.size = static_cast<int64_t>(info.st_size);
        if (access(native.c_str(), W_OK) != 0)
            entry.attributes = ATTRIBUTE_READ_ONLY;
    }
    return entry;
}

std::string NativeFolder(std::string_view folder)
{
    const std::string native = NativePath(folder);
    return native.empty() ? std::string(".") : native;
}

} // namespace

bool WildcardMatch(std::string_view name, std::string_view pattern)
{
    if (GlobMatch(name, pattern))
        return true;
    const bool endsInAnyExtension = pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*";
    return endsInAnyExtension && name.find('.') == std::string_view::npos
        && GlobMatch(name, pattern.substr(0, pattern.size() - 2));
}

bool DirSearch::FindFirst(std::string_view pattern)
{
    Close();
    std::string_view folder;
    std::string_view namePattern;
    SplitPattern(pattern, folder, namePattern);
    if (namePattern.empty())
        return false;

    const std::string nativeFolder = NativeFolder(folder);
    std::vector<std::string> names;
    if (!ReadNativeDirectory(nativeFolder, names))
        return false;
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return NameLess(a, b); });
    for (const std::string& name : names) {
        if (WildcardMatch(name, namePattern))
            entries_.push_back(DescribeEntry(nativeFolder, name));
    }
    return !entries_.empty();
}

bool DirSearch::FindNext()
{
    if (position_ + 1 >= entries_.size()) {
        position_ = entries_.size();
        return false;
    }
    ++position_;
    return true;
}

const DirEntry& DirSearch::Current() const
{
    static const DirEntry none;
    return position_ < entries_.size() ? entries_[position_] : none;
}

void DirSearch::Close()
{
    entries_.clear();
    entries_.shrink_to_fit();
    position_ = 0;
}

bool ListDirectory(std::string_view folder, std::vector<std::string>& names)
{
    if (!ReadNativeDirectory(NativeFolder(folder), names))
        return false;
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return NameLess(a, b); });
    return true;
}

} // namespace platform
