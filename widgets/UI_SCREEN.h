// UI_SCREEN.h: UI_SCREEN, the display as window objects see it: the drawing,
// text-measuring, area-assignment and overlay operations, each a do-nothing
// default here, with the screen's metrics and its two overlays (the mouse
// pointer and the text cursor). The display on the fg graphics layer is
// UI_FG_DISPLAY.h.
//
// Coordinates are pixels with lines counted from the top, both ends of a
// rectangle inclusive. Every drawing operation takes the screen number of the
// window drawing first (UI_ALL_SCREENS draws regardless of the assigned
// areas) and a clip rectangle or null.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "widgets/EventColourTables.h"
#include "widgets/UI_MESSAGE.h"

constexpr int32_t UI_ALL_SCREENS = 0xFFFF;
constexpr int32_t UI_OVERLAY_POINTER = 0;
constexpr int32_t UI_OVERLAY_CURSOR = 1;
constexpr uint8_t UI_OVERLAY_TRANSPARENT = 0xFF;   // image byte not drawn

// One overlay: where it is (all -1 when unset), the caller's image (width by
// height bytes, one palette index a pixel; not owned) and the pixels under it.
struct UI_OVERLAY {
    UI_RECT region{-1, -1, -1, -1};
    const uint8_t* image = nullptr;
    std::vector<uint8_t> saved;
};

class UI_SCREEN {
public:
    // Copies the two names and, the first time any display is built, fills
    // the framework's country table from the locale.
    UI_SCREEN(int32_t screenMode, const char* system, const char* driver);
    virtual ~UI_SCREEN() = default;
    UI_SCREEN(const UI_SCREEN&) = delete;
    UI_SCREEN& operator=(const UI_SCREEN&) = delete;

    // Plots a width by height image of one byte a pixel, rows from the top:
    // each byte other than 0xFF in the foreground colour of its entry in
    // colourMap.
    virtual void DrawPixels(int32_t screenNumber, int32_t left, int32_t top, int32_t width, int32_t height,
                            const uint8_t* pixels, const UI_COLOUR_ENTRY* colourMap, const UI_RECT* clip);
    // Angles in degrees.
    virtual void DrawEllipse(int32_t screenNumber, int32_t column, int32_t line, int32_t startAngle,
                             int32_t endAngle, int32_t radiusX, int32_t radiusY, const UI_COLOUR_ENTRY* colours,
                             int32_t fill, int32_t mode, const UI_RECT* clip);
    virtual void DrawLine(int32_t screenNumber, int32_t column1, int32_t line1, int32_t column2, int32_t line2,
                          const UI_COLOUR_ENTRY* colours, int32_t width, int32_t mode, const UI_RECT* clip);
    // The colour number of an entry's foreground (non-zero) or background.
    virtual int32_t ColourIndex(const UI_COLOUR_ENTRY* colours, int32_t foreground);
    // points: count column-line pairs.
    virtual void DrawPolygon(int32_t screenNumber, int32_t count, const int32_t* points,
                             const UI_COLOUR_ENTRY* colours, int32_t fill, int32_t mode, const UI_RECT* clip);
    virtual void DrawBox(int32_t screenNumber, int32_t left, int32_t top, int32_t right, int32_t bottom,
                         const UI_COLOUR_ENTRY* colours, int32_t width, int32_t fill, int32_t mode,
                         const UI_RECT* clip);
    virtual void XorFrame(const UI_RECT& oldRect, const UI_RECT& newRect, int32_t screenNumber);
    virtual void AssignArea(int32_t screenNumber, int32_t left, int32_t top, int32_t right, int32_t bottom);
    virtual void ShiftArea(const UI_RECT& rectangle, int32_t newLeft, int32_t newTop, int32_t screenNumber);
    // length < 0: the whole text.
    virtual void DrawString(int32_t screenNumber, int32_t left, int32_t top, const char* text,
                            const UI_COLOUR_ENTRY* colours, int32_t length, int32_t fill, int32_t mode,
                            const UI_RECT* clip, int32_t font);
    virtual int32_t StringHeight(const char* text, int32_t screenNumber, int32_t font);
    virtual int32_t StringWidth(const char* text, int32_t screenNumber, int32_t font);
    virtual int32_t HoldScreen(int32_t screenNumber, int32_t left, int32_t top, int32_t right, int32_t bottom);
    virtual int32_t ReleaseScreen(int32_t screenNumber);
    // 1 when moved.
    virtual int32_t MoveOverlay(int32_t index, int32_t left, int32_t top);
    // 1 when set.
    virtual int32_t SetOverlay(int32_t index, int32_t left, int32_t top, int32_t width, int32_t height,
                               const uint8_t* image);

    int32_t ready = 0;   // 1 once a derived display has its graphics mode running
    int32_t mode;
    int32_t monochrome = 0;
    int32_t width = 0;    // pixels
    int32_t height = 0;
    int32_t columnWidth = 1;   // a character cell, pixels
    int32_t rowHeight = 1;
    int32_t spaceAbove = 2;    // pixels added above and taken below a cell row
    int32_t spaceBelow = 2;
    int32_t fractionNumX = 1;  // fractional cells: numerator / denominator of a cell
    int32_t fractionDenX = 10;
    int32_t fractionNumY = 1;
    int32_t fractionDenY = 10;
    std::string systemName;
    std::string driverName;
    UI_OVERLAY overlays[2];   // UI_OVERLAY_POINTER, UI_OVERLAY_CURSOR
};
