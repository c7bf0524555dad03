// ResourceText.h: reporting trouble with a numbered resource text (file 123
// of the resource files), as the map, zones and weather do.
#pragma once

#include <cstdint>
#include <string>

// Passes resource text `number` to `report` (ErrorBox or FatalError) and
// releases it. Without a resource loader, or when the text cannot be had,
// "<owner>: resource text 0x7B00B1" is reported instead, so that the problem
// is still named.
void ReportResourceText(int32_t number, const char* owner, void (*report)(const char*));

// A copy of resource text `number`, released again at once; "" without a
// resource loader or when the text cannot be had.
std::string ResourceString(int32_t number);
