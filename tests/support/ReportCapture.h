// ReportCapture.h: a test fixture helper that records every FatalError,
// ErrorBox and PostToMessageLog text while it lives, instead of printing them.
#pragma once

#include <string>
#include <vector>

#include "core/ErrorReport.h"

class ReportCapture {
public:
    ReportCapture() { previous_ = SetReportHandlers({&OnFatal, &OnError, &OnPost}); Active() = this; }
    ~ReportCapture() { SetReportHandlers(previous_); Active() = nullptr; }
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;

    std::vector<std::string> fatals;
    std::vector<std::string> errors;
    std::vector<std::string> posts;

    void Clear() { fatals.clear(); errors.clear(); posts.clear(); }

private:
    static ReportCapture*& Active() { static ReportCapture* active = nullptr; return active; }
    static void OnFatal(const char* t) { if (Active()) Active()->fatals.emplace_back(t); }
    static void OnError(const char* t) { if (Active()) Active()->errors.emplace_back(t); }
    static void OnPost(const char* t) { if (Active()) Active()->posts.emplace_back(t); }

    ReportHandlers previous_;
};
