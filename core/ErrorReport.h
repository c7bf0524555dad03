// ErrorReport.h: FatalError, ErrorBox and PostToMessageLog, the three ways the
// game model reports trouble and news upward. Until the window layer installs
// its message windows (SetReportHandlers), they print to standard output as
// start-up does before any window exists.
#pragma once

// Reports a broken invariant, singular maths or a failed allocation. Before the
// desktop exists it prints the text and a newline to standard output and
// returns; callers must then go on with a neutral value. Once the window layer
// has installed its handler, the handler shows the fatal box and ends the program.
void FatalError(const char* text);

// Reports a recoverable problem. Without a window nothing is shown.
void ErrorBox(const char* text);

// Appends one line to the message log window (and so the after-action log).
// Without a message log window nothing happens.
void PostToMessageLog(const char* text);

// The handlers the window layer (or a test) installs. A null member keeps the
// standard-output behaviour for that report.
struct ReportHandlers {
    void (*fatal)(const char* text) = nullptr;
    void (*error)(const char* text) = nullptr;
    void (*post)(const char* text) = nullptr;
};

// Installs handlers and returns the ones they replace, so that a caller can put
// them back. Passing a default-constructed ReportHandlers restores standard output.
ReportHandlers SetReportHandlers(const ReportHandlers& handlers);
