// AnnexJson.h: the readable source of the sample platform database (one JSON
// file per annex file, data/annex/<name>.json for <name>.dat) and its
// conversion into annex records, and the writing of the sixteen .dat files
// through the records' own Save. What the builder refuses in records that
// read well is AnnexRules.h.
//
// Source file form:
//   { "comment": [...], "records": [ { "id": 1, <field>: <value>, ... }, ... ] }
// Field names are the record classes' member names (annex/*Annex.h,
// annex/WeaponRec.h). A field left out keeps the value a new record
// has; a field the record does not have is an error, as is a record ID of 0
// or one used twice in a file. A record may carry a "comment" text for its
// reader, which the builder passes over. Values:
//   numbers              a JSON integer, or a text in C form ("0x800", "-3");
//                        checked against the field's width and sign
//   names                a text of at most 31 characters, without '|'
//   typeCode             a text of at most 5 characters
//   ID lists             [id, ...]
//   ID-value lists       [{"id": id, "value": number}, ...] (sensors, mounts)
//   triples              [front, side, rear]
//   byte rows            [b, ...] with exactly as many bytes as the record has
//   bandValuesA/B        [4 numbers]; speedTable: 4 rows of 4 [upper, lower, speed]
//   position             {"lat": degrees, "lon": degrees}, north and east positive
//   points               [{"facility": id, "lat": degrees, "lon": degrees}, ...],
//                        each facility's offset from the installation
#pragma once

#include <cstdint>
#include <string>

class AnnexTables;

// The source file of an annex file: "ship.dat" gives "ship.json".
std::string SourceFileName(const char* annexFileName);

// Reads the sixteen sources of sourceDir into tables (created by the caller
// with AnnexTables::Create, empty). False with the first error (file, record
// and field named) in error.
bool ReadAnnexSources(const std::string& sourceDir, AnnexTables& tables, std::string& error);

// Writes the sixteen files, <outDir>/<name>.dat, in the layout of the given
// annex version (0 or 1) with its version word. False with the reason.
bool WriteAnnexFiles(const AnnexTables& tables, const std::string& outDir, uint32_t annexVersion,
                     std::string& error);
