// dtrbuild: the doctrine file builder. Turns a readable doctrine description
// (the format is described in missions/DoctrineFileWriter.h) into the binary
// doctrine file the sides read:
//
//   dtrbuild SOURCE.txt OUTPUT.dtr
//
// The folder of OUTPUT is created when missing. Exit code 0 on success, 1 on
// any error, with the reason on standard error; nothing is written then.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "missions/DoctrineFileWriter.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: dtrbuild SOURCE.txt OUTPUT.dtr\n";
        return 1;
    }
    const std::string source = argv[1];
    const std::filesystem::path output = argv[2];

    std::ifstream in(source, std::ios::binary);
    if (!in.is_open()) {
        std::cerr << "dtrbuild: " << source << ": cannot open\n";
        return 1;
    }
    DoctrineSource description;
    std::string error;
    if (!ReadDoctrineSource(in, description, error)) {
        std::cerr << "dtrbuild: " << source << ": " << error << '\n';
        return 1;
    }
    std::ostringstream bytes;
    if (!WriteDoctrineFile(bytes, description)) {
        std::cerr << "dtrbuild: " << source << ": the doctrine cannot be written\n";
        return 1;
    }
    std::error_code ec;
    if (output.has_parent_path())
        std::filesystem::create_directories(output.parent_path(), ec);
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.str().data(), static_cast<std::streamsize>(bytes.str().size())) || !out.flush()) {
        std::cerr << "dtrbuild: " << output.string() << ": cannot write\n";
        return 1;
    }
    return 0;
}
