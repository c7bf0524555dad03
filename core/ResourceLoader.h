// ResourceLoader.h: the resource loader, which indexes the "*.RES" files of the
// resource folders named in the INI file and hands out their blocks from a
// cache with use counts; its file index entries, its cache entries and the
// global TheResourceLoader. Writing resource files lives in ResourceWriter.h.
//
// Resource file layout, little-endian:
//   0   u16        file ID, unique among all resource files
//   2   u32        D, offset of the data area and end of the offset table
//   6   u32 x K    offset table, K = (D - 6) / 4; entry k is where block k
//                  starts, counted from D; the last entry ends the last block
//   D   ...        the blocks, back to back
// A file holds K - 1 blocks. A resource number is file ID * 65536 + index.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

class ConfigurationFileIO;

// One indexed resource file.
struct ResourceFileEntry {
    uint16_t fileID = 0;
    // Folder and file name as the program writes paths ("RES\TEXT.RES");
    // converted to a Linux path only when the file is opened.
    std::string path;
    std::unique_ptr<ResourceFileEntry> next;
};

// One block read from a resource file, kept until a purge or shutdown.
struct ResourceCacheEntry {
    int32_t number = 0;      // resource number
    int32_t size = 0;        // bytes in the block
    int32_t loadStamp = 1;   // every block is stamped 1 when loaded
    int32_t useCount = 0;    // Gets not yet matched by a Free
    // The block, owned; one zero byte beyond size is always present, so a
    // text block from a damaged file still ends.
    std::unique_ptr<char[]> data;
    std::unique_ptr<ResourceCacheEntry> next;
};

class ResourceLoader {
public:
    // The file ID of no file: nothing is open.
    static constexpr uint16_t NO_FILE = 65535;

    // Indexes the resource files. The folders are ResDir1 .. ResDir<n> of
    // section Tessarn3 with n = ResDirCount, or the working directory when
    // that key is missing or below 1. Every indexing error (a missing ResDir
    // key, a folder without .RES files, a file that cannot be opened or is too
    // short to hold its file ID, two files with one file ID) writes its text to
    // standard output and ends the program with exit code 1.
    explicit ResourceLoader(ConfigurationFileIO& ini);
    // Frees every cached block whatever its use count, and the file index.
    ~ResourceLoader();

    ResourceLoader(const ResourceLoader&) = delete;
    ResourceLoader& operator=(const ResourceLoader&) = delete;

    // The block of the resource with its use count raised, from the cache when
    // it is there (also with use count 0), else read from its file. Null for a
    // block of size 0, and for a resource that cannot be had: no file with its
    // file ID, a file that fails to open, or a damaged file whose table or
    // block lies outside it (status 1 for those). An index beyond a sound
    // file's table ends the program (see ValidateResource).
    char* Get(int32_t number);

    // Releases one use of the resource; the block stays cached. A number
    // without a used cache entry is reported on standard output, not fatal.
    void Free(int32_t number);

    // The size of the block in bytes, 0 when it cannot be had (as for Get).
    // An index beyond the table of a sound file (index > K - 2) writes "An
    // Invalid Resource Number Was Used!" and the number, in hexadecimal, to
    // standard output and ends the program with exit code 1.
    int32_t ValidateResource(int32_t number);

    // Frees cached blocks whose use count is 0. Mode 0 (the out-of-memory
    // handler) frees those with the lowest load stamp, which, as every block
    // is stamped 1, is all of them; mode 1 frees all of them; any other mode
    // frees nothing. True when at least one block was freed.
    bool Purge(int16_t mode);
    // Purge(1).
    void PurgeAll();

    // 0 after success, 1 when the file of the last resource asked for could
    // not be selected or opened, or was damaged.
    uint16_t GetStatus() const { return status_; }

private:
    // Where a block lies in the open file; valid only when size > 0.
    struct BlockPlace {
        int32_t size = 0;
        int64_t offset = 0;   // file offset of the first byte
    };

    bool SelectFile(int32_t number);
    bool OpenFile(const std::string& path);
    void ScanDirectory(const std::string& folder);
    void DeleteEntry(ResourceCacheEntry* entry);

    BlockPlace LocateBlock(int32_t number);
    bool ReadAt(int64_t offset, char* bytes, int64_t count);
    void CloseFile();
    void CheckDuplicateIDs() const;

    std::unique_ptr<ResourceFileEntry> fileHead_;   // in the order found
    ResourceFileEntry* fileTail_ = nullptr;
    std::unique_ptr<ResourceCacheEntry> cacheHead_; // newest first
    uint16_t status_ = 0;
    uint16_t openFileID_ = NO_FILE;
    std::unique_ptr<std::ifstream> openFile_;
    int64_t openFileSize_ = 0;                      // bytes, measured when opened
};

// The one resource loader of the program, built at start-up; null before.
extern ResourceLoader* TheResourceLoader;
