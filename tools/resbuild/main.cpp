// resbuild: the resource builder. Turns a readable source under data/resources
// into a resource file (.RES) that the program's resource loader reads:
//
//   resbuild text   SOURCE OUTPUT   numbered texts, one per line (texts.txt)
//   resbuild blocks MANIFEST OUTPUT raw blocks listed in a manifest (*.res.txt)
//
// The source formats and the file layout are described in core/ResourceWriter.h.
// The folder of OUTPUT is created when missing. Exit code 0 on success, 1 on
// any error, with the reason on standard error.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "core/ResourceWriter.h"

namespace {

int Usage()
{
    std::cerr << "usage: resbuild text SOURCE OUTPUT\n"
                 "       resbuild blocks MANIFEST OUTPUT\n";
    return 1;
}

int Fail(const std::string& where, const std::string& what)
{
    std::cerr << "resbuild: " << where << ": " << what << '\n';
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return Usage();
    const std::string kind = argv[1];
    const std::string source = argv[2];
    const std::string output = argv[3];
    if (kind != "text" && kind != "blocks")
        return Usage();

    std::ifstream in(source, std::ios::binary);
    if (!in.is_open())
        return Fail(source, "cannot open");

    ResourceWriter writer;
    std::string error;
    const bool read = kind == "text"
        ? ReadTextSource(in, writer, error)
        : ReadBlockManifest(in, std::filesystem::path(source).parent_path().string(), writer, error);
    if (!read)
        return Fail(source, error);

    const std::filesystem::path folder = std::filesystem::path(output).parent_path();
    std::error_code ignored;
    if (!folder.empty())
        std::filesystem::create_directories(folder, ignored);
    if (!writer.WriteFile(output))
        return Fail(output, "cannot write");
    return 0;
}
