// TempTree.h: a scratch folder under /tmp that a test fills with
// mixed-case names, removed again with everything in it when the test ends.
// InTempTree also makes it the working directory for the test's duration.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

class TempTree {
public:
    TempTree()
    {
        char name[] = "/tmp/tessarn_platform_XXXXXX";
        if (mkdtemp(name) != nullptr)
            root = name;
    }
    ~TempTree()
    {
        std::error_code ignored;
        if (!root.empty())
            std::filesystem::remove_all(root, ignored);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // Writes a file at relative (with '/' separators), making its folders.
    void File(const std::string& relative, const std::string& contents = "") const
    {
        const std::filesystem::path path = std::filesystem::path(root) / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << contents;
    }
    void Folder(const std::string& relative) const
    {
        std::filesystem::create_directories(std::filesystem::path(root) / relative);
    }

    std::string root;   // absolute, no trailing '/'; empty if mkdtemp failed
};

class InTempTree : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(tree.root.empty());
        saved = std::filesystem::current_path();
        std::filesystem::current_path(tree.root);
    }
    void TearDown() override
    {
        if (!saved.empty())
            std::filesystem::current_path(saved);
    }

    TempTree tree;
    std::filesystem::path saved;
};
