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
    static const char* const kinds[] = {".h", ".hpp", ".inl", ".cpp", ".cc"};
    const std::string ext = path.extension().string();
    return std::find(std::begin(kinds), std::end(kinds), ext) != std::end(kinds);
}

// An include written with quotes or angle brackets, with or without leading
// "./" and "../" steps; capture 1 is the first folder it names, capture 2 the
// rest of the path.
const std::regex& IncludePattern()
{
    static const std::regex include(
        R"re(^\s*#\s*include\s*["<](?:\.\.?/)*([A-Za-z0-9_]+)/([^">]*)[">])re");
    return include;
}

// A folder's build file naming a project library.
const std::regex& LinkPattern()
{
    static const std::regex link(R"(\btessarn_([A-Za-z0-9_]+))");
    return link;
}

// Adds a violation for every line of file matching pattern whose first
// capture names a folder of order above `folder`, or a folder of the tree
// that is no layer at all (tests, tools, bench). Paths are kept relative to
// root. A file of tests/<folder> that includes a test support header gets
// that header checked against <folder> too, once per header.
void ScanFile(const fs::path& root, const fs::path& file, const std::regex& pattern,
              const std::vector<std::string>& order, const std::string& folder,
              std::vector<Violation>& found, std::vector<fs::path>& supportSeen)
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
            if (rank == order.size()) {
                std::error_code error;
                if (named == "support" && it->size() > 2) {
                    const fs::path header = root / "tests" / "support" / (*it)[2].str();
                    if (fs::is_regular_file(header, error) &&
                        std::find(supportSeen.begin(), supportSeen.end(), header) == supportSeen.end()) {
                        supportSeen.push_back(header);
                        ScanFile(root, header, pattern, order, folder, found, supportSeen);
                    }
                    continue;
                }
                if (fs::is_directory(root / named, error))
                    found.push_back({fs::relative(file, root).generic_string(), line, folder, named});
                continue;   // otherwise a system or library header
            }
            if (rank > own)
                found.push_back({fs::relative(file, root).generic_string(), line, folder, named});
        }
    }
}

void ScanFolder(const fs::path& root, const fs::path& dir,
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
    std::vector<fs::path> supportSeen;
    for (const fs::path& file : files)
        ScanFile(root, file, IncludePattern(), order, folder, found, supportSeen);
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
    std::vector<Violation> found;
    for (const std::string& folder : order) {
        ScanFolder(root, root / folder, order, folder, found);
        ScanFolder(root, root / "tests" / folder, order, folder, found);
        const fs::path build = root / folder / "CMakeLists.txt";
        std::vector<fs::path> noSupport;
        if (fs::exists(build))
            ScanFile(root, build, LinkPattern(), order, folder, found, noSupport);
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
