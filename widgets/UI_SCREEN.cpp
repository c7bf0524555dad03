// UI_SCREEN.cpp: the display base and its do-nothing operations.
#include "widgets/UI_SCREEN.h"

#include "widgets/CountryTable.h"

UI_SCREEN::UI_SCREEN(int32_t screenMode, const char* system, const char* driver)
    : mode(screenMode), systemName(system != nullptr ? system : ""), driverName(driver != nullptr ? driver : "")
{
    LoadCountryTable();   // only the first display fills it
}

void UI_SCREEN::DrawPixels(int32_t, int32_t, int32_t, int32_t, int32_t, const uint8_t*, const UI_COLOUR_ENTRY*,
                           const UI_RECT*)
{
}

void UI_SCREEN::DrawEllipse(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                            const UI_COLOUR_ENTRY*, int32_t, int32_t, const UI_RECT*)
{
}

void UI_SCREEN::DrawLine(int32_t, int32_t, int32_t, int32_t, int32_t, const UI_COLOUR_ENTRY*, int32_t, int32_t,
                         const UI_RECT*)
{
}

int32_t UI_SCREEN::ColourIndex(const UI_COLOUR_ENTRY*, int32_t)
{
    return 0;
}

void UI_SCREEN::DrawPolygon(int32_t, int32_t, const int32_t*, const UI_COLOUR_ENTRY*, int32_t, int32_t,
                            const UI_RECT*)
{
}

void UI_SCREEN::DrawBox(int32_t, int32_t, int32_t, int32_t, int32_t, const UI_COLOUR_ENTRY*, int32_t, int32_t,
                        int32_t, const UI_RECT*)
{
}

void UI_SCREEN::XorFrame(const UI_RECT&, const UI_RECT&, int32_t)
{
}

void UI_SCREEN::AssignArea(int32_t, int32_t, int32_t, int32_t, int32_t)
{
}

void UI_SCREEN::ShiftArea(const UI_RECT&, int32_t, int32_t, int32_t)
{
}

void UI_SCREEN::DrawString(int32_t, int32_t, int32_t, const char*, const UI_COLOUR_ENTRY*, int32_t, int32_t,
                           int32_t, const UI_RECT*, int32_t)
{
}

int32_t UI_SCREEN::StringHeight(const char*, int32_t, int32_t)
{
    return 1;
}

int32_t UI_SCREEN::StringWidth(const char*, int32_t, int32_t)
{
    return 1;
}

int32_t UI_SCREEN::HoldScreen(int32_t, int32_t, int32_t, int32_t, int32_t)
{
    return 0;
}

int32_t UI_SCREEN::ReleaseScreen(int32_t)
{
    return 0;
}

int32_t UI_SCREEN::MoveOverlay(int32_t, int32_t, int32_t)
{
    return 1;
}

int32_t UI_SCREEN::SetOverlay(int32_t, int32_t, int32_t, int32_t, int32_t, const uint8_t*)
{
    return 1;
}
