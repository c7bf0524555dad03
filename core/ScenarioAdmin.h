// ScenarioAdmin.h: ScenarioAdmin, the class of gAdmin, the one object that
// describes the open scenario (program and file versions, the scenario name),
// and VersionNumber, the four-part version a scenario file carries. The
// windows reach gAdmin through the Scen2ui bridge functions.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

// A version of four signed 16-bit parts a.b.c.d, compared part by part from
// the first (the first difference decides, as signed numbers).
// Saved form, little-endian: a, b, c, d, each an i16 (8 bytes).
class VersionNumber {
public:
    VersionNumber(int16_t a = 0, int16_t b = 0, int16_t c = 0, int16_t d = 0);

    bool operator==(const VersionNumber& other) const;
    bool operator!=(const VersionNumber& other) const { return !(*this == other); }
    bool operator<(const VersionNumber& other) const;
    bool operator>(const VersionNumber& other) const { return other < *this; }
    bool operator>=(const VersionNumber& other) const { return !(*this < other); }

    std::ostream& Save(std::ostream& out) const;
    // Reads the four parts; a fourth part outside 0..5 is read as 0. On a
    // short read the stream fails and the parts read so far are kept.
    std::istream& Load(std::istream& in);

    // The written form: the four parts in signed decimal joined by ".".
    std::string Text() const;

    int16_t Part(int index) const { return parts_[index & 3]; }

private:
    int16_t parts_[4];
};

class ScenarioAdmin {
public:
    // Bytes of the scenario name in the file header and in the name buffer.
    static constexpr int NAME_SIZE = 36;

    // The running program's version, 3.6.3.0; the file versions start 0.0.0.0.
    ScenarioAdmin();
    ~ScenarioAdmin() = default;
    ScenarioAdmin(const ScenarioAdmin&) = delete;
    ScenarioAdmin& operator=(const ScenarioAdmin&) = delete;

    // A copy of the version read from the header of the file being loaded.
    VersionNumber GetFileVersion() const { return fileVersion_; }
    // The program version in written form, "3.6.3.0".
    const char* GetVersionText() const { return versionText_.c_str(); }

    // The header flag read from the file; 0 until a header is read.
    uint8_t IsShortHeader() const { return shortHeader_; }
    bool HasFullHeader() const { return shortHeader_ == 0; }

    // Set by the header reader from the file being opened, before any record
    // of that file is read: the saved-field readers choose their layout by
    // these two.
    void SetFileVersion(const VersionNumber& version) { fileVersion_ = version; }
    void SetShortHeader(uint8_t flag) { shortHeader_ = flag; }

    // The scenario name lives in one buffer of the class, not of the object,
    // so it outlives each gAdmin; empty until a scenario is loaded.
    // SetScenarioName copies at most NAME_SIZE bytes; a null text is taken as
    // empty. A name of NAME_SIZE characters or more fills the buffer; the
    // buffer keeps one byte more so that GetScenarioName is always terminated.
    static void SetScenarioName(const char* name);
    static const char* GetScenarioName();
    static bool HasScenarioName();

private:
    VersionNumber programVersion_;
    VersionNumber fileVersion_;
    VersionNumber previewVersion_;
    uint8_t shortHeader_ = 0;
    std::string versionText_;
};

// The scenario header object; created at start-up and again for every
// scenario opened, null only while it is being replaced.
extern ScenarioAdmin* gAdmin;
