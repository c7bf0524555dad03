// AfterActionLog.cpp: the after-action log. Every entry is flushed when it is
// written, so the file is complete whenever the program ends; the stream is
// therefore never deleted at shutdown.
#include "core/AfterActionLog.h"

#include <cstring>
#include <new>
#include <string>

#include "core/AllocationCheck.h"
#include "core/Scen2ui.h"
#include "platform/FileName.h"
#include "platform/Path.h"

std::ofstream* AfterActionLog::mAALog = nullptr;
const uint8_t* AfterActionLog::optionFlag_ = nullptr;

namespace {

constexpr const char* LOG_FOLDER = "AALogs";
// "AALogs\AALog_" (13 characters) and at most 11 of the scenario name.
constexpr size_t BASE_LENGTH = 24;

// True when a file of that name can be opened for reading.
bool CanOpenForReading(const std::string& path)
{
    std::ifstream probe(platform::NativePath(path));
    return probe.is_open();
}

} // namespace

void AfterActionLog::SetOptionFlag(const uint8_t* flag)
{
    optionFlag_ = flag;
}

bool AfterActionLog::IsOptionOn()
{
    return optionFlag_ != nullptr && *optionFlag_ != 0;
}

void AfterActionLog::SetUpAALog()
{
    if (!IsOptionOn())
        return;
    if (mAALog != nullptr) {
        if (mAALog->is_open()) {
            mAALog->flush();
            mAALog->close();
        }
        delete mAALog;
        mAALog = nullptr;
    }
    platform::MakeDirectory(LOG_FOLDER);

    const char* name = Scen2ui::GetScenarioName();
    if (name == nullptr || name[0] == '\0')
        return;

    // The name comes from a scenario file: keep it to one plain file name.
    std::string base = std::string(LOG_FOLDER) + "\\" + "AALog_" + platform::SafeFileName(name);
    if (base.size() > BASE_LENGTH)
        base.resize(BASE_LENGTH);

    for (uint64_t run = 1;; ++run) {
        const std::string candidate = base + std::to_string(run) + ".txt";
        if (CanOpenForReading(candidate))
            continue;
        mAALog = new (std::nothrow) std::ofstream(platform::NativePathForCreate(candidate),
                                                  std::ios::out | std::ios::trunc);
        AllocationCheck(mAALog);
        return;
    }
}

char* AfterActionLog::CorrectFormat(const char* text)
{
    if (text == nullptr)
        return nullptr;
    const size_t length = std::strlen(text);
    const bool endsInLineFeed = length > 0 && text[length - 1] == '\n';
    const size_t copyLength = endsInLineFeed ? length : length + 1;
    char* copy = new (std::nothrow) char[copyLength + 1];
    AllocationCheck(copy);
    if (copy == nullptr)
        return nullptr;
    std::memcpy(copy, text, length);
    if (!endsInLineFeed)
        copy[length] = '\n';
    copy[copyLength] = '\0';
    return copy;
}

void AfterActionLog::AddToAALog(const char* text, bool formatted)
{
    if (mAALog == nullptr || text == nullptr)
        return;
    char* corrected = formatted ? nullptr : CorrectFormat(text);
    const char* entry = formatted ? text : corrected;
    if (entry != nullptr) {
        *mAALog << entry;
        mAALog->flush();
    }
    delete[] corrected;
}

void AfterActionLog::AddToAALogIfEnabled(const char* text, bool formatted)
{
    if (text == nullptr || !IsOptionOn() || mAALog == nullptr)
        return;
    AddToAALog(text, formatted);
}
