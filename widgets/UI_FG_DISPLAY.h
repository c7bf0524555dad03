// UI_FG_DISPLAY.h: the display on the fg graphics layer. It opens the
// largest graphics mode it can from the mode asked for, keeps the screen
// areas assigned to each window (its clip list), draws every operation only
// inside the areas of the drawing window's screen number, lifts its two
// overlays off the back buffer while anything is drawn under them, and
// measures text in an 8 by 16 cell (the pixels themselves are drawn in the
// graphics library's default font).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "widgets/DrawingPrimitives.h"
#include "widgets/UI_CLIP_LIST.h"
#include "widgets/UI_SCREEN.h"

// Video modes the display asks for; any other opens 640 by 480.
constexpr int32_t UI_MODE_1280X1024 = 0x107;
constexpr int32_t UI_MODE_1024X768 = 0x105;
constexpr int32_t UI_MODE_800X600 = 0x103;

constexpr int32_t UI_FONT_NO_MARKER = 0x1000;   // font bit: '&' is an ordinary character
constexpr int32_t UI_FONT_SLOT_MASK = 0xFFF;
constexpr int32_t UI_STRING_LIMIT = 255;        // characters DrawString draws at most

// A font slot: the images of characters 0-127 and 128-255 and the cell size.
struct UI_FONT_SLOT {
    const uint8_t* lowImages = nullptr;
    const uint8_t* highImages = nullptr;
    int32_t width = 0;    // pixels
    int32_t height = 0;
};

class UI_FG_DISPLAY : public UI_SCREEN, public UI_CLIP_LIST {
public:
    static constexpr int32_t FONT_SLOTS = 3;
    static constexpr int32_t PATTERNS = 10;
    static constexpr int32_t PATTERN_SLOT = 11;   // the fg pattern slot this display fills
    using PatternTable = std::array<std::array<uint8_t, 32>, PATTERNS>;

    // Opens the mode (0x107 steps down through 1024 by 768 and 800 by 600 to
    // 640 by 480; 0x105 and 0x103 start lower; any other mode is 640 by 480),
    // fills the back buffer with the background, refreshes the screen and
    // gives the whole screen to screen number 1. When even 640 by 480 is
    // refused, `ready` stays 0 and nothing else is set up.
    explicit UI_FG_DISPLAY(int32_t videoMode);
    // Closes the fg layer when it was opened; the area list goes with it.
    ~UI_FG_DISPLAY() override;

    void DrawPixels(int32_t screenNumber, int32_t left, int32_t top, int32_t width, int32_t height,
                    const uint8_t* pixels, const UI_COLOUR_ENTRY* colourMap, const UI_RECT* clip) override;
    void DrawEllipse(int32_t screenNumber, int32_t column, int32_t line, int32_t startAngle, int32_t endAngle,
                     int32_t radiusX, int32_t radiusY, const UI_COLOUR_ENTRY* colours, int32_t fill, int32_t mode,
                     const UI_RECT* clip) override;
    void DrawLine(int32_t screenNumber, int32_t column1, int32_t line1, int32_t column2, int32_t line2,
                  const UI_COLOUR_ENTRY* colours, int32_t width, int32_t mode, const UI_RECT* clip) override;
    int32_t ColourIndex(const UI_COLOUR_ENTRY* colours, int32_t foreground) override;
    void DrawPolygon(int32_t screenNumber, int32_t count, const int32_t* points, const UI_COLOUR_ENTRY* colours,
                     int32_t fill, int32_t mode, const UI_RECT* clip) override;
    void DrawBox(int32_t screenNumber, int32_t left, int32_t top, int32_t right, int32_t bottom,
                 const UI_COLOUR_ENTRY* colours, int32_t width, int32_t fill, int32_t mode,
                 const UI_RECT* clip) override;
    void XorFrame(const UI_RECT& oldRect, const UI_RECT& newRect, int32_t screenNumber) override;
    void AssignArea(int32_t screenNumber, int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void ShiftArea(const UI_RECT& rectangle, int32_t newLeft, int32_t newTop, int32_t screenNumber) override;
    void DrawString(int32_t screenNumber, int32_t left, int32_t top, const char* text,
                    const UI_COLOUR_ENTRY* colours, int32_t length, int32_t fill, int32_t mode,
                    const UI_RECT* clip, int32_t font) override;
    int32_t StringHeight(const char* text, int32_t screenNumber, int32_t font) override;
    int32_t StringWidth(const char* text, int32_t screenNumber, int32_t font) override;
    int32_t HoldScreen(int32_t screenNumber, int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    int32_t ReleaseScreen(int32_t screenNumber) override;
    int32_t MoveOverlay(int32_t index, int32_t left, int32_t top) override;
    int32_t SetOverlay(int32_t index, int32_t left, int32_t top, int32_t width, int32_t height,
                       const uint8_t* image) override;

    // The rectangle with left and top raised to 0, right and bottom lowered to
    // the screen's last column and line, then cut to clip when given, in
    // result; false (result undefined) when nothing is left.
    bool ClipToScreen(UI_RECT& result, const UI_RECT* clip, int32_t left, int32_t top, int32_t right,
                      int32_t bottom) const;

    // Makes a font slot current: -1 (and the first call) hands slot 1 to the
    // fg layer and fills the width table; another slot (& 0xFFF) becomes
    // current, and is handed down only when its images differ from the
    // current ones. A slot without images changes nothing.
    void SelectFont(int32_t slot);

    int32_t colourCount = 256;
    int32_t updateDepth = 0;   // 0 when no update is open, -n inside n
    UI_RECT updateRect{0, 0, 0, 0};   // the outermost open update, on the screen
    uint8_t overlayLock = 0;   // 1 while an overlay call or an update runs
    int32_t currentPattern = -1;
    int32_t currentForeground = -1;
    int32_t currentBackground = -1;
    int32_t currentMode = -1;
    UI_FONT_SLOT fonts[FONT_SLOTS];
    int32_t currentFont = -1;   // -1 until the first SelectFont
    uint8_t characterWidths[256] = {};

    // The fill patterns of the colour entries, 32 bytes each (16 rows of a
    // 16-bit word): 0 empty, 1 to 8 solid, 9 a checker. The program may change
    // them. A pattern number outside the table fills solid.
    static PatternTable patternTable;
    // The colours of the screen behind every window, and of the frame that
    // XorFrame draws.
    static UI_COLOUR_ENTRY backgroundColours;
    static UI_COLOUR_ENTRY frameColours;
    // The program's background, whose pattern and colours the background
    // takes when a display is built; null keeps the framework's own.
    static const UI_COLOUR_ENTRY* programBackground;

private:
    bool OpenMode(int32_t videoMode);
    // Draws through each assigned area of screenNumber that bounds (already
    // on the screen) meets, with the update opened over bounds and the
    // entry's colours selected at the first piece.
    template <typename DrawPiece>
    void DrawInAreas(int32_t screenNumber, const UI_RECT& bounds, const UI_COLOUR_ENTRY* colours, int32_t mode,
                     DrawPiece drawPiece);
    void SelectColours(const UI_COLOUR_ENTRY* colours, int32_t mode);
    void FillPiece(const UI_RECT& piece);
    int32_t FontSlot(int32_t font) const;
    void LiftOverlay(UI_OVERLAY& overlay);
    void LayOverlay(UI_OVERLAY& overlay);

    std::vector<FgPoint> polygonPoints_;   // kept between calls
};
