// LayerCheck.cpp: reading the layer order and scanning sources and folder
// build files for names of higher folders.
#include "LayerCheck.h"

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>

namespace layers {

namespace {

namespace fs = std::filesystem;

// Position of folder in order; order.size() for a name not in it.
size_t RankOf(const std::vector<std::string>& order, const std::string& folder)
{
    return static_cast<size_t>(std::find(order.begin(), order.end(), folder) - order.begin());
}

bool IsSource(const fs::path& path)
{
    const std::string ext = path.extension().string();
    return ext == ".h" || ext == ".cpp";
}

// Adds a violation for every line of file matching pattern whose first
// capture names a folder of order not below `folder` (or above it, with
// allowSame). Paths are kept relative to root.
void ScanFile(const fs::path& root, const fs::path& file, const std::regex& pattern,
              const std::vector<std::string>& order, const std::string& folder,
              bool allowSame, std::vector<Violation>& found)
{
    std::ifstream in(file);
    const size_t own = RankOf(order, folder);
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) {
            const std::string named = (*it)[1].str();
            const size_t rank = RankOf(order, named);
            if (rank == order.size())
                continue;   // not a layer folder: support/, a system header
            if (rank > own || (!allowSame && rank == own))
                found.push_back({fs::relative(file, root).generic_string(), line, folder, named});
        }
    }
}

void ScanFolder(const fs::path& root, const fs::path& dir, const std::regex& include,
                const std::vector<std::string>& order, const std::string& folder,
                std::vector<Violation>& found)
{
    std::error_code error;
    if (!fs::is_directory(dir, error))
        return;
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir, error))
        if (entry.is_regular_file() && IsSource(entry.path()))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());   // a stable report
    for (const fs::path& file : files)
        ScanFile(root, file, include, order, folder, true, found);
}

} // namespace

std::vector<std::string> ReadLayerOrder(const std::filesystem::path& cmakeLists)
{
    std::ifstream in(cmakeLists);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    static const std::regex list(R"(set\(\s*TESSARN_FOLDERS\s+([^)]*)\))");
    std::smatch match;
    std::vector<std::string> order;
    if (!std::regex_search(all, match, list))
        return order;
    std::istringstream words(match[1].str());
    for (std::string word; words >> word;)
        order.push_back(word);
    return order;
}

std::vector<Violation> FindClimbing(const std::filesystem::path& root,
                                    const std::vector<std::string>& order)
{
    static const std::regex include(R"(^\s*#\s*include\s*"([A-Za-z0-9_]+)/)");
    static const std::regex link(R"(\btessarn_([A-Za-z0-9_]+))");
    std::vector<Violation> found;
    for (const std::string& folder : order) {
        ScanFolder(root, root / folder, include, order, folder, found);
        ScanFolder(root, root / "tests" / folder, include, order, folder, found);
        const fs::path build = root / folder / "CMakeLists.txt";
        if (fs::exists(build))
            ScanFile(root, build, link, order, folder, false, found);
    }
    return found;
}

std::string Describe(const Violation& violation)
{
    std::ostringstream text;
    text << violation.file << ':' << violation.line << ": " << violation.folder << " names "
         << violation.names << ", which does not lie below it";
    return text.str();
}

} // namespace layers
