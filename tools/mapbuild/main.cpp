// mapbuild: the map data builder. Turns a readable description of coast,
// country-border and ice-edge outlines (JSON, polygons in degrees; the format
// is described at ReadMapSource in world/MapFileWriter.h) into the three map
// data files the scenario map reads:
//
//   mapbuild SOURCE.json OUTPUT_BASE   writes OUTPUT_BASE.cst, .cty and .ice
//
// A coast or ice outline that passes a whole or half degree grid point (from
// which the map's land and ice tests count crossings) is refused, naming the
// edge and the grid point, before any file is written.
//
// The folder of OUTPUT_BASE is created when missing. Exit code 0 on success,
// 1 on any error, with the reason on standard error.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "world/MapFileWriter.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: mapbuild SOURCE.json OUTPUT_BASE\n";
        return 1;
    }
    const std::string source = argv[1];
    const std::string base = argv[2];

    std::ifstream in(source, std::ios::binary);
    if (!in.is_open()) {
        std::cerr << "mapbuild: " << source << ": cannot open\n";
        return 1;
    }
    MapSource description;
    std::string error;
    if (!ReadMapSource(in, description, error)) {
        std::cerr << "mapbuild: " << source << ": " << error << '\n';
        return 1;
    }

    const std::filesystem::path folder = std::filesystem::path(base).parent_path();
    std::error_code ignored;
    if (!folder.empty())
        std::filesystem::create_directories(folder, ignored);
    if (!WriteMapFiles(description, base, error)) {
        std::cerr << "mapbuild: " << source << ": " << error << '\n';
        return 1;
    }
    return 0;
}
