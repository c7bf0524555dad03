// LayerCheck.h: the checker of the layer order. It reads the order from the
// top-level CMakeLists.txt (the TESSARN_FOLDERS list) and finds every source
// include and every library link that climbs: a file of a folder, or of that
// folder's tests, naming a folder later in the order.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace layers {

// One climbing include or link: the file relative to the tree's root, its
// 1-based line, the folder it owns and the higher folder it names.
struct Violation {
    std::string file;
    int line = 0;
    std::string folder;
    std::string names;
};

// The folders of the TESSARN_FOLDERS list in the CMakeLists.txt at path,
// lowest first; empty when the file or the list cannot be read.
std::vector<std::string> ReadLayerOrder(const std::filesystem::path& cmakeLists);

// Every include in root/<folder>/ and root/tests/<folder>/ (sources and
// headers at any depth, quotes or angle brackets, leading ../ ignored) of a
// folder later than <folder> in order or of a folder of the tree outside the
// order (tests, tools, bench); the test support headers that tests/<folder>
// includes, checked as part of <folder>; and every tessarn_<x> that
// root/<folder>/CMakeLists.txt links where <x> lies above <folder>. Folders
// missing from the tree are skipped; the programs outside the order (tools,
// bench, fuzz) may include anything.
std::vector<Violation> FindClimbing(const std::filesystem::path& root,
                                    const std::vector<std::string>& order);

// "core/A.cpp:3: core names world, which does not lie below it"
std::string Describe(const Violation& violation);

} // namespace layers
