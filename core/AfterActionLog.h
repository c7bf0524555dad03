// AfterActionLog.h: AfterActionLog, the text file that records the message
// log lines and the combat reports of a scenario while the AALog user option
// is on. Its operations are static; its only data is the open log stream.
// The option itself is read at start-up, which hands its flag byte over here.
#pragma once

#include <cstdint>
#include <fstream>

class AfterActionLog {
public:
    AfterActionLog() = default;
    // Copies nothing: the class has no instance data.
    AfterActionLog& operator=(const AfterActionLog&) { return *this; }

    // Start-up binds the AALog option's flag byte (non-zero: on). It is read
    // at every call, so switching the option off stops all writing at once;
    // null, the state at program start, reads as off.
    static void SetOptionFlag(const uint8_t* flag);

    // With the option on: closes the log of the previous run, makes the folder
    // "AALogs" (a failure is ignored) and, when there is a scenario name,
    // creates "AALogs\AALog_" + the first 11 characters of the name (unsafe
    // file-name characters turned into '_') + the first run number whose file
    // does not exist yet + ".txt". No name (as at start-up): no log. With the
    // option off nothing changes, an open log included.
    static void SetUpAALog();

    // Writes one entry to the open log and flushes it. Unless formatted, a
    // line feed is added when the text does not end in one. Nothing happens
    // without a log or a text.
    static void AddToAALog(const char* text, bool formatted = false);

    // As AddToAALog, and only while the option is on. The form the system
    // calls for message log lines and combat reports.
    static void AddToAALogIfEnabled(const char* text, bool formatted = false);

    // A new copy of text (new[]; the caller deletes it with delete[]) that
    // ends in a line feed: an exact copy when it already does, otherwise with
    // one appended, so the empty text gives "\n". Null for a null text.
    static char* CorrectFormat(const char* text);

private:
    static bool IsOptionOn();

    static std::ofstream* mAALog;        // the open log; none before the first
    static const uint8_t* optionFlag_;   // the AALog option's flag byte
};
