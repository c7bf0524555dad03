// DoctrineDir.cpp: the doctrine directory text and where it is held.
#include "missions/DoctrineDir.h"

std::string ReadDoctrineDir(ConfigurationFileIO&) { return MakeDoctrineDir(nullptr); }

std::string MakeDoctrineDir(const char*) { return ".\\"; }

namespace {
std::string& HeldDoctrineDir()
{
    static std::string held = ".\\";
    return held;
}
} // namespace

const std::string& GetDoctrineDir() { return HeldDoctrineDir(); }

void SetDoctrineDir(const std::string& directory) { HeldDoctrineDir() = directory; }
