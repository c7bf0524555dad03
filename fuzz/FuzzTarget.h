// FuzzTarget.h: what every libFuzzer target of fuzz/ shares. A target defines
// LLVMFuzzerTestOneInput, calling its loader as the program does, and
// FuzzSeeds, which writes its seed inputs from the sample data set; this file's
// LLVMFuzzerInitialize installs the report and exit seams once and, when
// TESSARN_FUZZ_SEEDS names a folder, writes the seeds there and ends (the
// build makes each target's seed corpus that way).
//
// The program's deliberate endings on a damaged file (FatalError, ExitProgram)
// are no crash here: a fatal report is noted (each distinct text once, on
// standard error) and the load goes on as it does before the desktop exists;
// ExitProgram unwinds to the target, which goes on with the next input. With
// TESSARN_FUZZ_FATAL=abort either aborts instead, so that libFuzzer keeps the
// input that reaches it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/ScenarioAdmin.h"
#include "core/gam2arena.h"

namespace fuzz {

// Thrown in place of ending the program.
struct ProgramExit {
    int code;
};

// Runs the load; an ending of the program inside it is taken as its answer.
void Guarded(const std::function<void()>& load);

// The input as a string of bytes.
std::string Bytes(const uint8_t* data, size_t size);

// A folder of this process's own, created on first use, for loaders that read
// named files.
const std::string& WorkDir();
// Writes (replaces) a file; false when it cannot be written.
bool WriteFile(const std::string& path, const std::string& bytes);
// The whole file, empty when it cannot be read.
std::string ReadFile(const std::string& path);

// The built sample data set.
std::string DataDir();

// Installs the sample resource texts (TheResourceLoader) for targets whose
// loaders report through them; once per process.
void UseSampleResources();

// Installs an event factory that makes only path-return events, the events
// a station's or an aircraft record's saved form holds; once per process.
void UsePathReturnEvents();

// The sample sea area (MAPS/SAMPLE.*) loaded as gMap once per process, land
// and sea cells following its outlines; the map section's bytes in `section`
// when asked for.
void UseSampleMap(std::string* section = nullptr);

// Splits an input into `parts` files: parts - 1 little-endian u16 lengths
// first, then the files in turn (the last takes the rest; short inputs give
// empty files).
std::vector<std::string> Split(const std::string& bytes, size_t parts);
// The inverse, for seeds.
std::string Join(const std::vector<std::string>& files);

// The game state one input loads into: a fresh arena and, when a version is
// given, an open scenario file of that version; both are put back as they
// were when it goes out of scope.
class GameState {
public:
    GameState();
    explicit GameState(const VersionNumber& version);
    ~GameState();
    GameState(const GameState&) = delete;
    GameState& operator=(const GameState&) = delete;

    ArenaState& Arena() { return arena_; }

private:
    ArenaState arena_;
    ArenaState* previousArena_;
    ScenarioAdmin admin_;
    ScenarioAdmin* previousAdmin_;
};

// Where FuzzSeeds writes: Add names and writes one seed input.
class Seeds {
public:
    explicit Seeds(std::string folder) : folder_(std::move(folder)) {}
    void Add(const std::string& name, const std::string& bytes);
    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
};

}  // namespace fuzz

// Defined by each target.
void FuzzSeeds(fuzz::Seeds& seeds);
