// ResourceLoader.cpp: indexing the resource folders, reading blocks out of the
// resource files with every table entry checked against the file's size, and
// the block cache.
#include "core/ResourceLoader.h"

#include <cstdint>
#include <iostream>

#include "core/ConfigurationFileIO.h"
#include "core/StreamFields.h"
#include "platform/DirSearch.h"
#include "platform/Exit.h"
#include "platform/Path.h"

ResourceLoader* TheResourceLoader = nullptr;

namespace {

constexpr const char* INI_SECTION = "Tessarn3";
constexpr int32_t FOLDER_VALUE_LENGTH = 254;   // buffer of a ResDir value
constexpr uint32_t HEADER_SIZE = 6;            // file ID and D
constexpr uint32_t TABLE_ENTRY_SIZE = 4;

uint16_t FileIDOf(int32_t number)
{
    return static_cast<uint16_t>(static_cast<uint32_t>(number) >> 16);
}

uint16_t IndexOf(int32_t number)
{
    return static_cast<uint16_t>(static_cast<uint32_t>(number) & 0xFFFF);
}

std::string WithTrailingBackslash(std::string folder)
{
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    return folder;
}

// Writes the number in hexadecimal (as an unsigned 32-bit value) and leaves
// the stream's number base as it was, so later console output is not affected.
void WriteHexNumber(std::ostream& out, int32_t number)
{
    const std::ios::fmtflags saved = out.flags();
    out << std::hex << static_cast<uint32_t>(number);
    out.flags(saved);
}

uint32_t LittleEndian32(const char* bytes)
{
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= uint32_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
    return value;
}

}  // namespace

ResourceLoader::ResourceLoader(ConfigurationFileIO& ini)
{
    int32_t folderCount = ini.GetLongInt(INI_SECTION, "ResDirCount");
    if (ini.GetConfigurationError() != 0 || folderCount < 1)
        folderCount = 0;

    if (folderCount == 0) {
        std::string folder = platform::CurrentDirectory();
        if (folder.empty())
            folder = ".";
        ScanDirectory(WithTrailingBackslash(folder));
    }
    for (int32_t n = 1; n <= folderCount; ++n) {
        const std::string key = "ResDir" + std::to_string(n);
        char value[FOLDER_VALUE_LENGTH] = {};
        if (ini.GetString(INI_SECTION, key.c_str(), value, FOLDER_VALUE_LENGTH, '\n') == 0) {
            std::cout << key << " not found in TESSARN3.INI\n";
            platform::ExitProgram(1);
        }
        ScanDirectory(WithTrailingBackslash(value));
    }

    if (!fileHead_) {
        std::cout << "No Resource Files Found!\n\n";
        platform::ExitProgram(1);
    }
    CheckDuplicateIDs();
}

ResourceLoader::~ResourceLoader()
{
    // Unlink one entry at a time: a long list must not be freed recursively.
    while (cacheHead_)
        cacheHead_ = std::move(cacheHead_->next);
    while (fileHead_)
        fileHead_ = std::move(fileHead_->next);
    fileTail_ = nullptr;
}

// Appends every "*.RES" file of the folder (which ends in '\') to the file
// list, in listing order, with the file ID read from its first two bytes.
// Folders whose names match the pattern are passed over.
void ResourceLoader::ScanDirectory(const std::string& folder)
{
    bool foundFile = false;
    platform::DirSearch search;
    for (bool found = search.FindFirst(folder + "*.RES"); found; found = search.FindNext()) {
        const platform::DirEntry& match = search.Current();
        if ((match.attributes & platform::ATTRIBUTE_DIRECTORY) != 0)
            continue;
        foundFile = true;

        auto entry = std::make_unique<ResourceFileEntry>();
        entry->path = folder + match.name;
        ResourceFileEntry* added = entry.get();
        if (fileTail_ != nullptr)
            fileTail_->next = std::move(entry);
        else
            fileHead_ = std::move(entry);
        fileTail_ = added;

        // A file too short to hold its ID counts as one that cannot be read:
        // indexing it would give it an ID it does not have.
        std::ifstream in(platform::NativePath(added->path), std::ios::binary);
        uint16_t fileID = 0;
        if (!in.is_open() || !LoadField(in, fileID)) {
            std::cout << "Unable to open " << added->path << " for reading.  Reason Unknown\n";
            platform::ExitProgram(1);
        }
        added->fileID = fileID;
    }
    search.Close();

    if (!foundFile) {
        std::cout << "Resource file not found in " << folder << '\n';
        platform::ExitProgram(1);
    }
}

// Ends the program at the first two files that share a file ID.
void ResourceLoader::CheckDuplicateIDs() const
{
    for (const ResourceFileEntry* first = fileHead_.get(); first; first = first->next.get()) {
        for (const ResourceFileEntry* second = first->next.get(); second; second = second->next.get()) {
            if (first->fileID != second->fileID)
                continue;
            std::cout << "Resource Loader Error!   Duplicate .RES file IDs found.\n";
            std::cout << "Resource file: " << first->path << " has ID# " << first->fileID << '\n';
            std::cout << "Resource file: " << second->path << " has ID# " << second->fileID << '\n';
            platform::ExitProgram(1);
        }
    }
}

bool ResourceLoader::SelectFile(int32_t number)
{
    const uint16_t fileID = FileIDOf(number);
    // A file whose ID is NO_FILE is never taken for the open one by mistake.
    if (openFile_ && fileID == openFileID_) {
        status_ = 0;
        return true;
    }
    for (const ResourceFileEntry* entry = fileHead_.get(); entry; entry = entry->next.get()) {
        if (entry->fileID != fileID)
            continue;
        if (!OpenFile(entry->path))
            return false;
        openFileID_ = fileID;
        status_ = 0;
        return true;
    }
    status_ = 1;
    return false;
}

// Opens the file as the one open resource file and measures its size.
bool ResourceLoader::OpenFile(const std::string& path)
{
    CloseFile();
    auto file = std::make_unique<std::ifstream>(platform::NativePath(path), std::ios::binary);
    if (!file->is_open() || !file->good()) {
        status_ = 1;
        return false;
    }
    file->seekg(0, std::ios::end);
    const std::streamoff size = file->tellg();
    file->clear();
    file->seekg(0, std::ios::beg);
    openFileSize_ = size > 0 ? static_cast<int64_t>(size) : 0;
    openFile_ = std::move(file);
    status_ = 0;
    return true;
}

void ResourceLoader::CloseFile()
{
    openFile_.reset();
    openFileID_ = NO_FILE;
    openFileSize_ = 0;
}

// Reads count bytes at offset of the open file. A short read means the file
// is no longer what was measured when it was opened: it is closed, so that
// the next request opens and measures it afresh.
bool ResourceLoader::ReadAt(int64_t offset, char* bytes, int64_t count)
{
    openFile_->clear();
    openFile_->seekg(static_cast<std::streamoff>(offset), std::ios::beg);
    openFile_->read(bytes, static_cast<std::streamsize>(count));
    if (openFile_->good() && openFile_->gcount() == count)
        return true;
    CloseFile();
    status_ = 1;
    return false;
}

// Finds the block of the number in its file. Size 0 for an empty block and
// for one that cannot be had; status 1 when the file is missing or damaged: a
// header that does not fit the file, a data offset below the table start or
// past the end, table entries that decrease or point past the end. An index
// beyond the table of a sound file ends the program.
ResourceLoader::BlockPlace ResourceLoader::LocateBlock(int32_t number)
{
    BlockPlace place;
    if (!SelectFile(number))
        return place;
    if (!openFile_ || openFile_->fail())
        return place;

    char header[TABLE_ENTRY_SIZE];
    if (openFileSize_ < HEADER_SIZE) {
        status_ = 1;
        return place;
    }
    if (!ReadAt(2, header, TABLE_ENTRY_SIZE))
        return place;
    const uint32_t dataOffset = LittleEndian32(header);
    if (dataOffset < HEADER_SIZE || dataOffset > openFileSize_) {
        status_ = 1;
        return place;
    }

    // The bound is computed in 32 bits: files with more than 16383 table
    // entries are served in full, and a table of fewer than two entries holds
    // no block at all.
    const uint32_t entryCount = (dataOffset - HEADER_SIZE) / TABLE_ENTRY_SIZE;
    const uint32_t index = IndexOf(number);
    if (entryCount < 2 || index > entryCount - 2) {
        std::cout << "An Invalid Resource Number Was Used!\n";
        std::cout << "Resource Number: ";
        WriteHexNumber(std::cout, number);
        std::cout << '\n';
        platform::ExitProgram(1);
    }

    char entries[2 * TABLE_ENTRY_SIZE];
    if (!ReadAt(HEADER_SIZE + int64_t{TABLE_ENTRY_SIZE} * index, entries, sizeof entries))
        return place;
    const uint32_t start = LittleEndian32(entries);
    const uint32_t end = LittleEndian32(entries + TABLE_ENTRY_SIZE);
    if (end < start || int64_t{dataOffset} + end > openFileSize_ || end - start > INT32_MAX) {
        status_ = 1;
        return place;
    }
    place.size = static_cast<int32_t>(end - start);
    place.offset = int64_t{dataOffset} + start;
    return place;
}

int32_t ResourceLoader::ValidateResource(int32_t number)
{
    return LocateBlock(number).size;
}

char* ResourceLoader::Get(int32_t number)
{
    status_ = 0;
    for (ResourceCacheEntry* entry = cacheHead_.get(); entry; entry = entry->next.get()) {
        if (entry->number != number)
            continue;
        if (entry->useCount < INT32_MAX)
            ++entry->useCount;
        return entry->data.get();
    }

    const BlockPlace place = LocateBlock(number);
    if (place.size == 0)
        return nullptr;
    if (!openFile_ || openFile_->fail())
        return nullptr;

    std::unique_ptr<char[]> data(new char[static_cast<size_t>(place.size) + 1]);
    if (!ReadAt(place.offset, data.get(), place.size))
        return nullptr;
    data[static_cast<size_t>(place.size)] = '\0';

    auto entry = std::make_unique<ResourceCacheEntry>();
    entry->number = number;
    entry->size = place.size;
    entry->loadStamp = 1;
    entry->useCount = 1;
    entry->data = std::move(data);
    entry->next = std::move(cacheHead_);
    cacheHead_ = std::move(entry);
    return cacheHead_->data.get();
}

void ResourceLoader::Free(int32_t number)
{
    for (ResourceCacheEntry* entry = cacheHead_.get(); entry; entry = entry->next.get()) {
        if (entry->number == number && entry->useCount > 0) {
            --entry->useCount;
            status_ = 0;
            return;
        }
    }
    std::cout << "Free() was called on a resource which was not allocated!\n";
    std::cout << "Resource Number: ";
    WriteHexNumber(std::cout, number);
    std::cout << '\n';
    std::cout << "This is not fatal, but please report it.\n";
    std::cout << '\n';
}

bool ResourceLoader::Purge(int16_t mode)
{
    if (!cacheHead_)
        return false;

    int32_t lowestStamp = INT32_MAX;
    if (mode == 0) {
        bool anyUnused = false;
        for (const ResourceCacheEntry* entry = cacheHead_.get(); entry; entry = entry->next.get()) {
            if (entry->useCount == 0) {
                anyUnused = true;
                if (entry->loadStamp < lowestStamp)
                    lowestStamp = entry->loadStamp;
            }
        }
        if (!anyUnused)
            return false;
    }

    bool freed = false;
    ResourceCacheEntry* entry = cacheHead_.get();
    while (entry != nullptr) {
        ResourceCacheEntry* const next = entry->next.get();
        if (entry->useCount == 0) {
            if (mode != 0 && mode != 1)
                return false;
            if (mode == 1 || entry->loadStamp <= lowestStamp) {
                DeleteEntry(entry);
                freed = true;
            }
        }
        entry = next;
    }
    return freed;
}

void ResourceLoader::PurgeAll()
{
    Purge(1);
}

// Unlinks the entry from the cache and frees it with its block; nothing when
// the entry is null or not in the cache.
void ResourceLoader::DeleteEntry(ResourceCacheEntry* entry)
{
    if (entry == nullptr)
        return;
    std::unique_ptr<ResourceCacheEntry>* link = &cacheHead_;
    while (*link && link->get() != entry)
        link = &(*link)->next;
    if (!*link)
        return;
    std::unique_ptr<ResourceCacheEntry> doomed = std::move(*link);
    *link = std::move(doomed->next);
}
