// AnnexFile.cpp: the version rule, the annex reading state and the file
// helpers shared by every annex reader.
#include "annex/AnnexFile.h"

#include <fstream>
#include <iterator>

#include "core/ResourceLoader.h"
#include "platform/Path.h"

const char* const ANNEX_FILES[ANNEX_FILE_COUNT] = {
    ANNEX_AIRFACIL, ANNEX_COMM, ANNEX_FACILITY, ANNEX_FUEL, ANNEX_INSTALLA, ANNEX_LOADOUT,
    ANNEX_MOUNT, ANNEX_MAGAZINE, ANNEX_PLANE, ANNEX_PROPULS, ANNEX_SENSOR, ANNEX_SHIP,
    ANNEX_SUB, ANNEX_WEAPON, ANNEX_WEAPREC, ANNEX_WARHEAD,
};

namespace {

uint32_t currentAnnexVersion = ANNEX_VERSION;
bool annexLoading = false;

} // namespace

uint32_t GetAnnexVersion()
{
    return currentAnnexVersion;
}

void SetAnnexVersion(uint32_t version)
{
    currentAnnexVersion = version;
}

bool IsAnnexLoading()
{
    return annexLoading;
}

void SetAnnexLoading(bool loading)
{
    annexLoading = loading;
}

bool CheckAnnexVersion(std::istream& in)
{
    const std::streampos start = in.tellg();
    uint32_t version = 0;
    if (!LoadField(in, version) || (version >> 16) != 0) {
        // No version word: the file starts with its count. A file of two or
        // three bytes can still hold a count (of 0 records, or a damaged one).
        in.clear();
        if (start == std::streampos(-1) || !in.seekg(start) || AnnexBytesLeft(in) < 2) {
            in.setstate(std::ios::failbit);
            ErrorBox("CheckAnnexVersion: the annex file is too short to hold a record count");
            return false;
        }
        version = 0;
    }
    SetAnnexVersion(version);
    if (version == 0) {
        ErrorBox(ANNEX_TEXT_OLDER);
        return true;
    }
    if (version > ANNEX_VERSION) {
        FatalError(ANNEX_TEXT_LATER);
        return false;   // FatalError may return: read nothing of this file
    }
    return true;
}

int64_t AnnexBytesLeft(std::istream& in)
{
    if (!in)
        return -1;
    const std::streampos here = in.tellg();
    if (here == std::streampos(-1))
        return -1;
    in.seekg(0, std::ios::end);
    const std::streampos end = in.tellg();
    in.seekg(here);
    if (!in || end == std::streampos(-1)) {
        in.clear();
        in.seekg(here);
        return -1;
    }
    return static_cast<int64_t>(end - here);
}

void ReportAnnexOpenFailure(const std::string& path)
{
    const char* text = TheResourceLoader ? TheResourceLoader->Get(ANNEX_OPEN_FAILED_TEXT) : nullptr;
    if (text && text[0] != '\0') {
        FatalError(text);
        TheResourceLoader->Free(ANNEX_OPEN_FAILED_TEXT);
        return;
    }
    if (text)
        TheResourceLoader->Free(ANNEX_OPEN_FAILED_TEXT);
    const std::string fallback = "Cannot open the annex file " + path;
    FatalError(fallback.c_str());
}

std::string AnnexFilePath(const std::string& annexDir, const char* fileName)
{
    return annexDir + fileName;
}

bool OpenAnnexFile(const std::string& path, std::istringstream& in)
{
    std::ifstream file(platform::NativePath(path), std::ios::binary);
    if (!file)
        return false;
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        return false;
    in.str(std::move(bytes));
    in.clear();
    in.seekg(0);
    return true;
}
