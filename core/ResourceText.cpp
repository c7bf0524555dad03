// ResourceText.cpp: resource-text reports with a fall-back that names the number.
#include "core/ResourceText.h"

#include <cstdio>

#include "core/ResourceLoader.h"

void ReportResourceText(int32_t number, const char* owner, void (*report)(const char*))
{
    const char* text = TheResourceLoader != nullptr ? TheResourceLoader->Get(number) : nullptr;
    if (text != nullptr) {
        report(text);
        TheResourceLoader->Free(number);
        return;
    }
    char fallback[96];
    std::snprintf(fallback, sizeof fallback, "%s: resource text 0x%06X",
                  owner != nullptr ? owner : "", static_cast<unsigned>(number));
    report(fallback);
}

std::string ResourceString(int32_t number)
{
    std::string copy;
    if (TheResourceLoader != nullptr) {
        if (const char* text = TheResourceLoader->Get(number)) {
            copy = text;
            TheResourceLoader->Free(number);
        }
    }
    return copy;
}
