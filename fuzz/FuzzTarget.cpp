// FuzzTarget.cpp: the shared set-up of the fuzz targets (see FuzzTarget.h).
#include "fuzz/FuzzTarget.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

#include "core/ConfigurationFileIO.h"
#include "core/ErrorReport.h"
#include "core/EventList.h"
#include "core/ResourceLoader.h"
#include "platform/Exit.h"
#include "tests/support/SampleMap.h"
#include "world/Map.h"
#include "world/PathReturnEvent.h"

namespace fuzz {

namespace {

bool AbortOnFatal()
{
    const char* mode = std::getenv("TESSARN_FUZZ_FATAL");
    return mode != nullptr && std::string(mode) == "abort";
}

void NoteFatal(const char* text)
{
    if (AbortOnFatal())
        std::abort();
    static std::set<std::string> seen;
    if (seen.insert(text).second)
        std::fprintf(stderr, "fatal report (a finding, not a crash): %s\n", text);
}

void Quiet(const char*) {}

[[noreturn]] void ThrowExit(int code)
{
    if (AbortOnFatal())
        std::abort();
    throw ProgramExit{code};
}

}  // namespace

void Guarded(const std::function<void()>& load)
{
    try {
        load();
    } catch (const ProgramExit&) {
    }
}

std::string Bytes(const uint8_t* data, size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

const std::string& WorkDir()
{
    // Never destroyed, so that the removal at exit can still read it.
    static const std::string& dir = *new std::string([] {
        const std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("tessarn-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path.string();
    }());
    static const bool removedAtExit = [] {
        return std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(WorkDir(), ignored);
        }) == 0;
    }();
    (void)removedAtExit;
    return dir;
}

bool WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string DataDir()
{
    return TESSARN_DATA_DIR;
}

void UseSampleResources()
{
    static std::unique_ptr<ResourceLoader> loader;
    if (loader)
        return;
    const std::string ini = WorkDir() + "/resources.ini";
    WriteFile(ini, "[Tessarn3]\nResDirCount 1\nResDir1 " + DataDir() + "/RESOURCE\n");
    ConfigurationFileIO file(ini.c_str());
    loader = std::make_unique<ResourceLoader>(file);
    TheResourceLoader = loader.get();
}

void UsePathReturnEvents()
{
    SetEventFactory([](uint8_t typeCode) -> Event* {
        return typeCode == EventCode::PATH_RETURN ? new PathReturnEvent : nullptr;
    });
}

void UseSampleMap(std::string* section)
{
    static std::unique_ptr<Map> map;
    static std::string bytes;
    if (!map) {
        std::string error;
        map = samplemap::LoadSampleMap(error, [](bool land, bool ice, int32_t, int32_t) -> int16_t {
            const int16_t cell = land ? 80 : -160;
            return ice ? static_cast<int16_t>(cell | 1) : cell;
        });
        if (!map) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::abort();
        }
        std::ostringstream out(std::ios::binary);
        map->Save(out);
        bytes = out.str();
    }
    gMap = map.get();
    if (section != nullptr)
        *section = bytes;
}

std::vector<std::string> Split(const std::string& bytes, size_t parts)
{
    std::vector<std::string> files(parts);
    size_t at = 2 * (parts - 1);
    for (size_t i = 0; i + 1 < parts; ++i) {
        size_t length = 0;
        if (2 * i + 1 < bytes.size())
            length = static_cast<unsigned char>(bytes[2 * i]) | static_cast<size_t>(static_cast<unsigned char>(bytes[2 * i + 1])) << 8;
        if (at < bytes.size()) {
            files[i] = bytes.substr(at, length);
            at += files[i].size();
        }
    }
    if (at < bytes.size())
        files[parts - 1] = bytes.substr(at);
    return files;
}

std::string Join(const std::vector<std::string>& files)
{
    std::string head, body;
    for (size_t i = 0; i < files.size(); ++i) {
        if (i + 1 < files.size()) {
            const size_t length = std::min<size_t>(files[i].size(), 0xFFFF);
            head += static_cast<char>(length & 0xFF);
            head += static_cast<char>(length >> 8);
            body += files[i].substr(0, length);
        } else {
            body += files[i];
        }
    }
    return head + body;
}

void Seeds::Add(const std::string& name, const std::string& bytes)
{
    WriteFile(folder_ + "/" + name, bytes);
}

GameState::GameState() : previousArena_(gam2arena::SetArenaState(&arena_)), previousAdmin_(gAdmin) {}

GameState::GameState(const VersionNumber& version) : GameState()
{
    admin_.SetFileVersion(version);
    gAdmin = &admin_;
}

GameState::~GameState()
{
    gAdmin = previousAdmin_;
    gam2arena::SetArenaState(previousArena_);
}

}  // namespace fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    SetReportHandlers({&fuzz::NoteFatal, &fuzz::Quiet, &fuzz::Quiet});
    platform::SetExitHandler(&fuzz::ThrowExit);
    if (const char* folder = std::getenv("TESSARN_FUZZ_SEEDS")) {
        std::filesystem::create_directories(folder);
        fuzz::Seeds seeds(folder);
        FuzzSeeds(seeds);
        std::exit(0);
    }
    return 0;
}
