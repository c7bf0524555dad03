// ErrorReport.cpp: the report gateway and its standard-output fall-back.
#include "core/ErrorReport.h"

#include <cstdio>

namespace {

ReportHandlers gHandlers;

}  // namespace

void FatalError(const char* text)
{
    if (gHandlers.fatal != nullptr) {
        gHandlers.fatal(text != nullptr ? text : "");
        return;
    }
    std::printf("%s\n", text != nullptr ? text : "");
    std::fflush(stdout);
}

void ErrorBox(const char* text)
{
    if (gHandlers.error != nullptr)
        gHandlers.error(text != nullptr ? text : "");
}

void PostToMessageLog(const char* text)
{
    if (gHandlers.post != nullptr)
        gHandlers.post(text != nullptr ? text : "");
}

ReportHandlers SetReportHandlers(const ReportHandlers& handlers)
{
    const ReportHandlers previous = gHandlers;
    gHandlers = handlers;
    return previous;
}
