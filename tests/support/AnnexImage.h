// AnnexImage.h: test helpers for annex records and files. AnnexImage spells
// a record or file byte by byte from its layout table; the Expect* templates
// run the checks every annex record class must pass (write then read gives the
// same bytes, every cut of a file is refused, counts past the end are refused).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "annex/AnnexFile.h"
#include "support/ReportCapture.h"

// Little-endian bytes appended field by field.
class AnnexImage {
public:
    AnnexImage& U8(uint32_t v) { bytes_.push_back(static_cast<char>(v & 0xFF)); return *this; }
    AnnexImage& U16(uint32_t v) { return U8(v).U8(v >> 8); }
    AnnexImage& I16(int32_t v) { return U16(static_cast<uint32_t>(v) & 0xFFFF); }
    AnnexImage& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    AnnexImage& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
    // NameString form: count = length + 1, the text, its zero byte.
    AnnexImage& Name(const char* text)
    {
        const size_t n = std::strlen(text) + 1;
        U16(static_cast<uint32_t>(n));
        bytes_.append(text, n);
        return *this;
    }
    // An ID list: count, then the IDs.
    AnnexImage& IDs(std::initializer_list<uint16_t> ids)
    {
        U16(static_cast<uint32_t>(ids.size()));
        for (uint16_t id : ids)
            U16(id);
        return *this;
    }
    AnnexImage& Raw(const std::string& more) { bytes_ += more; return *this; }

    const std::string& Str() const { return bytes_; }
    size_t Size() const { return bytes_.size(); }

private:
    std::string bytes_;
};

// The bytes record.Save writes for an annex version.
template <class T>
std::string SaveAnnexRecord(const T& record, uint32_t annexVersion)
{
    std::ostringstream out;
    record.Save(out, annexVersion);
    return out.str();
}

// A record read from bytes as a file of that annex version holds it; null
// when the read fails. Every byte must be consumed (consumed reports it).
template <class T>
std::unique_ptr<T> ReadAnnexRecord(const std::string& bytes, uint32_t annexVersion, bool* consumedAll = nullptr)
{
    SetAnnexVersion(annexVersion);
    std::istringstream in(bytes);
    auto record = std::make_unique<T>();
    const bool ok = record->Read(in);
    SetAnnexVersion(ANNEX_VERSION);
    if (consumedAll)
        *consumedAll = ok && in.peek() == std::char_traits<char>::eof();
    return ok ? std::move(record) : nullptr;
}

// Write then read then write again gives the same bytes, in both versions;
// the version-0 form is the version-1 form without its last extraBytes.
template <class T>
void ExpectAnnexRoundTrip(const T& sample, size_t extraBytes = 4)
{
    const std::string v1 = SaveAnnexRecord(sample, 1);
    const std::string v0 = SaveAnnexRecord(sample, 0);
    EXPECT_EQ(v1.size(), v0.size() + extraBytes);
    EXPECT_EQ(v1.substr(0, v0.size()), v0);
    EXPECT_GE(static_cast<int64_t>(v0.size()), T::MIN_FILE_BYTES);
    for (uint32_t version : {0u, 1u}) {
        SCOPED_TRACE(testing::Message() << "annex version " << version);
        const std::string& bytes = version ? v1 : v0;
        bool consumedAll = false;
        const std::unique_ptr<T> copy = ReadAnnexRecord<T>(bytes, version, &consumedAll);
        ASSERT_TRUE(copy);
        EXPECT_TRUE(consumedAll);
        EXPECT_EQ(copy->GetKey(), sample.GetKey());
        EXPECT_EQ(SaveAnnexRecord(*copy, version), bytes);
    }
}

// A file body (count and records, no version word) of the samples in the
// layout of an annex version.
template <class T>
std::string AnnexBody(const std::vector<const T*>& samples, uint32_t annexVersion)
{
    AnnexImage body;
    body.U16(static_cast<uint32_t>(samples.size()));
    for (const T* sample : samples)
        body.Raw(SaveAnnexRecord(*sample, annexVersion));
    return body.Str();
}

// Every cut of a file body short of its end is refused with a report; only
// whole records stay in the table, and never more than were whole.
template <class T>
void ExpectAnnexCutsRefused(const std::vector<const T*>& samples)
{
    for (uint32_t version : {0u, 1u}) {
        const std::string body = AnnexBody(samples, version);
        size_t wholeEnd[64] = {};   // byte offset where record i ends
        size_t offset = 2;
        for (size_t i = 0; i < samples.size() && i < 64; ++i)
            wholeEnd[i] = offset += SaveAnnexRecord(*samples[i], version).size();
        for (size_t cut = 0; cut < body.size(); ++cut) {
            SCOPED_TRACE(testing::Message() << "version " << version << ", cut at " << cut);
            ReportCapture reports;
            SetAnnexVersion(version);
            std::istringstream in(body.substr(0, cut));
            AnnexTable<T> table("test.dat");
            EXPECT_FALSE(table.Load(in));
            SetAnnexVersion(ANNEX_VERSION);
            EXPECT_FALSE(reports.errors.empty());
            size_t kept = 0;
            for (const T* r = table.First(); r; r = r->GetNext())
                ++kept;
            size_t whole = 0;
            while (whole < samples.size() && wholeEnd[whole] <= cut)
                ++whole;
            EXPECT_LE(kept, whole);
        }
        // The whole body loads every record.
        SetAnnexVersion(version);
        std::istringstream in(body);
        AnnexTable<T> table("test.dat");
        ReportCapture reports;
        EXPECT_TRUE(table.Load(in));
        SetAnnexVersion(ANNEX_VERSION);
        EXPECT_TRUE(reports.errors.empty());
        size_t kept = 0;
        for (const T* r = table.First(); r; r = r->GetNext())
            ++kept;
        EXPECT_EQ(kept, samples.size());
    }
}

// A record count that the bytes left cannot hold is refused before any
// record is read.
template <class T>
void ExpectAnnexCountPastEndRefused(const T& sample)
{
    AnnexImage body;
    body.U16(0xFFFF).Raw(SaveAnnexRecord(sample, ANNEX_VERSION));
    ReportCapture reports;
    SetAnnexVersion(ANNEX_VERSION);
    std::istringstream in(body.Str());
    AnnexTable<T> table("test.dat");
    EXPECT_FALSE(table.Load(in));
    EXPECT_EQ(table.First(), nullptr);
    ASSERT_EQ(reports.errors.size(), 1u);
    EXPECT_NE(reports.errors[0].find("record count 65535 exceeds"), std::string::npos) << reports.errors[0];
}
