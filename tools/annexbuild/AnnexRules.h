// AnnexRules.h: what the platform database builder refuses beyond the form of
// its sources: the rules that keep every record usable by the unit, sensor and
// weapon models that read it (engine and fuel codes, sensor types, air
// facility kinds, arc masks, sonar bands, altitude and speed ranges, hit
// chances, engines without fuel, dangling references), one row of one table
// each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class AnnexTables;

// One refused field: the source file ("ship.json"), the record's ID, the
// field as the source names it, and why.
struct AnnexRefusal {
    std::string file;
    uint16_t record = 0;
    std::string field;
    std::string reason;
};

// "ship.json record 3: field \"mounts\": <reason>".
std::string DescribeRefusal(const AnnexRefusal& refusal);

// A rule: its name and the check that appends a refusal for every record
// field that breaks it. A check skips IDs that resolve to no record; the
// cross-reference rule refuses those.
struct AnnexRule {
    const char* name;
    void (*check)(const AnnexTables& tables, std::vector<AnnexRefusal>& refusals);
};

// The rules, in the order they run.
extern const AnnexRule ANNEX_RULES[];
extern const size_t ANNEX_RULE_COUNT;

// Runs every rule over the tables (all sixteen created); the refusals in rule
// order, none when the database passes.
std::vector<AnnexRefusal> CheckAnnexRules(const AnnexTables& tables);
