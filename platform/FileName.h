// FileName.h: SafeFileName, which makes a text read from a file (a scenario
// name, say) fit to stand as one name inside a path. Path conversion lives in
// Path.h.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Returns text with every character that could leave its folder or confuse a
// later path or pattern replaced by '_': both separators, ':', the wildcards
// '*' and '?', control characters (below 0x20, and 0x7F), and every '.' of a
// run of two or more (so no ".." remains), as well as a name that is just ".".
// One character in, one character out: the length never changes, so a caller
// that cuts the name to a width gets the same width either way. Bytes of 0x80
// and above are kept; "" stays "" (the caller decides what an empty name means).
std::string SafeFileName(std::string_view text);

} // namespace platform
