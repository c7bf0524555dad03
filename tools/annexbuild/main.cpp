// annexbuild: the platform database builder. Turns the readable sources of
// the annex (one JSON file per annex file; the form is described in
// AnnexJson.h) into the sixteen annex .dat files the program reads:
//
//   annexbuild [--annex-version N] SOURCE_DIR OUTPUT_DIR
//
// writes OUTPUT_DIR/airfacil.dat ... warhead.dat in the layout of annex
// version N (0 or 1; 1 when not given), after checking the records against
// the rules of AnnexRules.h (every ID a record names exists in its file, and
// every code, mask, range and chance is one the program can use). OUTPUT_DIR
// is created when missing. Exit code 0 on success, 1 on any error, with the
// reason on standard error: every refused field on a line of its own, naming
// the source file, the record and the field. Nothing is written then.
#include <cstdint>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "AnnexJson.h"
#include "AnnexRules.h"
#include "annex/AnnexTables.h"

int main(int argc, char** argv)
{
    uint32_t version = ANNEX_VERSION;
    int first = 1;
    if (argc >= 3 && std::strcmp(argv[1], "--annex-version") == 0) {
        const std::string text = argv[2];
        if (text != "0" && text != "1") {
            std::cerr << "annexbuild: the annex version must be 0 or 1\n";
            return 1;
        }
        version = text == "0" ? 0 : 1;
        first = 3;
    }
    if (argc - first != 2) {
        std::cerr << "usage: annexbuild [--annex-version N] SOURCE_DIR OUTPUT_DIR\n";
        return 1;
    }
    const std::string sourceDir = argv[first];
    const std::string outDir = argv[first + 1];

    AnnexTables tables;
    tables.Create();
    std::string error;
    if (!ReadAnnexSources(sourceDir, tables, error)) {
        std::cerr << "annexbuild: " << error << '\n';
        return 1;
    }
    const std::vector<AnnexRefusal> refusals = CheckAnnexRules(tables);
    for (const AnnexRefusal& refusal : refusals)
        std::cerr << "annexbuild: " << DescribeRefusal(refusal) << '\n';
    if (!refusals.empty())
        return 1;
    if (!WriteAnnexFiles(tables, outDir, version, error)) {
        std::cerr << "annexbuild: " << error << '\n';
        return 1;
    }
    return 0;
}
