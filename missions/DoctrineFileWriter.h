// DoctrineFileWriter.h: writing doctrine files (the format Doctrine::LoadFile
// reads) from a readable description, for the sample data builder and the
// tests.
//
// Description, one item per line; '#' starts a comment:
//   factors N                      number of factor curves (0..65535)
//   options N                      number of option curves (0..65535)
//   factor KEY IN VALUE [DX DY]... an enabled factor curve: start input and
//                                  value, then its segments (all -128..127)
//   option KEY IN VALUE [DX DY]... an enabled option curve, the same way
// Curves not described are written disabled, without segments.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

struct DoctrineCurveSource {
    uint8_t disabled = 1;
    int8_t startInput = 0;
    int8_t startValue = 0;
    std::vector<std::pair<int8_t, int8_t>> segments;   // (input step, value step)
};

struct DoctrineSource {
    std::vector<DoctrineCurveSource> factors;
    std::vector<DoctrineCurveSource> options;
};

// Reads a description; false with the reason (and its line) in error.
bool ReadDoctrineSource(std::istream& in, DoctrineSource& source, std::string& error);

// Writes the doctrine file of source; answers whether the stream is good.
// A curve of more than 127 segments cannot be written and answers false.
bool WriteDoctrineFile(std::ostream& out, const DoctrineSource& source);
