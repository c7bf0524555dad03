// OpenedFilePath.cpp: the path of the file being opened.
#include "world/OpenedFilePath.h"

#include <string>

namespace {

std::string& OpenedPath()
{
    static std::string path;
    return path;
}

}  // namespace

void SetOpenedFilePath(const char* path)
{
    OpenedPath() = path != nullptr ? path : "";
}

const char* GetOpenedFilePath()
{
    return OpenedPath().c_str();
}
