// UI_FG_DISPLAY.cpp: the display's mode ladder, its drawing through the
// assigned areas, text measurement, updates and overlays.
#include "widgets/UI_FG_DISPLAY.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "widgets/GraphicsSetup.h"

namespace {

constexpr int32_t DESKTOP_SCREEN = 1;
constexpr int32_t SOLID_PATTERN = 1;
constexpr int32_t FONT_WIDTH = 8;     // pixels of a character cell
constexpr int32_t FONT_HEIGHT = 16;
constexpr int32_t FONT_DESCENT = 3;   // rows of the cell below the text height
constexpr int32_t ROW_GAP = 4;        // pixels between text rows beyond the spaces
constexpr int32_t ANGLE_SCALE = 10;   // the ellipse takes tenths of a degree

// The glyph images of the three font slots. Text is drawn in the graphics
// library's own font, so these are never read; the slots only need images to
// compare, and the metrics.
const uint8_t glyphImages[256 * FONT_HEIGHT] = {};

FgBox ToBox(const UI_RECT& r)
{
    const int32_t last = fg_page_height() - 1;
    return FgBox{r.left, last - r.top, r.right, last - r.bottom};
}

bool SameRect(const UI_RECT& a, const UI_RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

UI_RECT Union(const UI_RECT& a, const UI_RECT& b)
{
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

bool IsSolidPattern(int32_t pattern)
{
    return pattern == SOLID_PATTERN || pattern < 0 || pattern >= UI_FG_DISPLAY::PATTERNS;
}

// Empty, eight solid patterns, then the checker of alternating rows.
constexpr UI_FG_DISPLAY::PatternTable BuildPatternTable()
{
    UI_FG_DISPLAY::PatternTable table{};
    for (int32_t n = 1; n <= 8; ++n)
        table[n].fill(0xFF);
    for (int32_t b = 0; b < 32; ++b)
        table[9][b] = (b / 2) % 2 == 0 ? 0xAA : 0x55;
    return table;
}

} // namespace

UI_FG_DISPLAY::PatternTable UI_FG_DISPLAY::patternTable = BuildPatternTable();

UI_COLOUR_ENTRY UI_FG_DISPLAY::backgroundColours = {{32, 0, 0}, SOLID_PATTERN, 1, 1, 0, 1, 1, 1};
UI_COLOUR_ENTRY UI_FG_DISPLAY::frameColours = {{32, 0, 0}, SOLID_PATTERN, 15, 15, 1, 1, 15, 15};
const UI_COLOUR_ENTRY* UI_FG_DISPLAY::programBackground = nullptr;

UI_FG_DISPLAY::UI_FG_DISPLAY(int32_t videoMode) : UI_SCREEN(0, "DOS", "FG")
{
    if (!OpenMode(videoMode))
        return;
    updateDepth = 0;
    overlayLock = 0;
    currentPattern = currentForeground = currentBackground = currentMode = -1;
    width = fg_page_width();
    height = fg_page_height();
    colourCount = 256;
    monochrome = 0;
    for (UI_FONT_SLOT& slot : fonts)
        slot = UI_FONT_SLOT{glyphImages, glyphImages + 128 * FONT_HEIGHT, FONT_WIDTH, FONT_HEIGHT};
    SelectFont(-1);
    columnWidth = StringWidth("M", 0, 1);
    rowHeight = StringHeight("M", 0, 1) + spaceAbove + spaceBelow + ROW_GAP;

    if (programBackground != nullptr) {
        backgroundColours.fillPattern = programBackground->fillPattern;
        backgroundColours.foreground256 = programBackground->foreground256;
        backgroundColours.background256 = programBackground->background256;
        backgroundColours.foreground2 = programBackground->foreground2;
        backgroundColours.background2 = programBackground->background2;
        backgroundColours.foreground16 = programBackground->foreground16;
        backgroundColours.background16 = programBackground->background16;
    }
    SelectColours(&backgroundColours, FG_MODE_SOLID);
    FillPiece(UI_RECT{0, 0, width - 1, height - 1});
    fg_refresh_screen();
    AssignArea(DESKTOP_SCREEN, 0, 0, width - 1, height - 1);
    ready = 1;
}

UI_FG_DISPLAY::~UI_FG_DISPLAY()
{
    if (ready != 0)
        fg_close();
}

bool UI_FG_DISPLAY::OpenMode(int32_t videoMode)
{
    switch (videoMode) {
    case UI_MODE_1280X1024:
        if (fg_init_1280x1024() != 0)
            return true;
        [[fallthrough]];
    case UI_MODE_1024X768:
        if (fg_init_1024x768() != 0)
            return true;
        [[fallthrough]];
    case UI_MODE_800X600:
        if (fg_init_800x600() != 0)
            return true;
        [[fallthrough]];
    default:
        return fg_init_640x480() != 0;
    }
}

bool UI_FG_DISPLAY::ClipToScreen(UI_RECT& result, const UI_RECT* clip, int32_t left, int32_t top,
                                 int32_t right, int32_t bottom) const
{
    result = UI_RECT{std::max(left, 0), std::max(top, 0), std::min(right, width - 1), std::min(bottom, height - 1)};
    if (clip != nullptr && !IntersectRects(result, *clip, result))
        return false;
    return result.left <= result.right && result.top <= result.bottom;
}

template <typename DrawPiece>
void UI_FG_DISPLAY::DrawInAreas(int32_t screenNumber, const UI_RECT& bounds, const UI_COLOUR_ENTRY* colours,
                                int32_t mode, DrawPiece drawPiece)
{
    bool opened = false;
    auto draw = [&](const UI_RECT& piece) {
        if (!opened) {
            opened = true;
            HoldScreen(screenNumber, bounds.left, bounds.top, bounds.right, bounds.bottom);
            SelectColours(colours, mode);
        }
        drawPiece(piece);
    };
    if (screenNumber == UI_ALL_SCREENS) {
        draw(bounds);
    } else {
        for (const UI_CLIP_RECT* area = First(); area != nullptr; area = area->Next()) {
            UI_RECT piece;
            if (area->screenNumber == screenNumber && IntersectRects(area->region, bounds, piece))
                draw(piece);
        }
    }
    if (opened)
        ReleaseScreen(screenNumber);
}

void UI_FG_DISPLAY::SelectColours(const UI_COLOUR_ENTRY* colours, int32_t mode)
{
    if (colours != nullptr) {
        const int32_t pattern = colours->fillPattern;
        if (!IsSolidPattern(pattern) && pattern != currentPattern)
            fg_set_fill_pattern(PATTERN_SLOT, patternTable[pattern].data());
        currentPattern = pattern;
        currentForeground = ColourIndex(colours, 1);
        currentBackground = ColourIndex(colours, 0);
    }
    currentMode = mode;
}

// Fills with the background colour when the pattern is solid, otherwise with
// the foreground colour overlaid by the pattern in the background colour.
void UI_FG_DISPLAY::FillPiece(const UI_RECT& piece)
{
    const FgBox box = ToBox(piece);
    if (IsSolidPattern(currentPattern)) {
        fg_fill_box(currentBackground, currentMode, 0, box);
        return;
    }
    fg_fill_box(currentForeground, currentMode, 0, box);
    fg_fill_box_pattern(currentBackground, currentMode, 0, box, PATTERN_SLOT);
}

int32_t UI_FG_DISPLAY::FontSlot(int32_t font) const
{
    const int32_t slot = font & UI_FONT_SLOT_MASK;
    return slot < FONT_SLOTS ? slot : 1;
}

void UI_FG_DISPLAY::DrawPixels(int32_t screenNumber, int32_t left, int32_t top, int32_t imageWidth,
                               int32_t imageHeight, const uint8_t* pixels, const UI_COLOUR_ENTRY* colourMap,
                               const UI_RECT* clip)
{
    UI_RECT bounds;
    if (pixels == nullptr || imageWidth <= 0 || imageHeight <= 0 ||
        !ClipToScreen(bounds, clip, left, top, left + imageWidth - 1, top + imageHeight - 1))
        return;
    // Each byte's colour, looked up once for the bytes the image holds.
    uint8_t colourOf[256];
    if (colourMap != nullptr) {
        bool seen[256] = {};
        const size_t count = static_cast<size_t>(imageWidth) * imageHeight;
        for (size_t i = 0; i < count; ++i) {
            const uint8_t value = pixels[i];
            if (value == UI_OVERLAY_TRANSPARENT || seen[value])
                continue;
            seen[value] = true;
            colourOf[value] = static_cast<uint8_t>(ColourIndex(&colourMap[value], 1));
        }
    }
    const FgBox image = ToBox(UI_RECT{left, top, left + imageWidth - 1, top + imageHeight - 1});
    DrawInAreas(screenNumber, bounds, nullptr, FG_MODE_SOLID, [&](const UI_RECT& piece) {
        const FgBox pieceBox = ToBox(piece);
        fg_write_box_pixels(image, pixels, UI_OVERLAY_TRANSPARENT, colourMap != nullptr ? colourOf : nullptr,
                            &pieceBox);
    });
}

void UI_FG_DISPLAY::DrawEllipse(int32_t screenNumber, int32_t column, int32_t line, int32_t startAngle,
                                int32_t endAngle, int32_t radiusX, int32_t radiusY,
                                const UI_COLOUR_ENTRY* colours, int32_t fill, int32_t drawMode,
                                const UI_RECT* clip)
{
    radiusX = std::abs(radiusX);
    radiusY = std::abs(radiusY);
    UI_RECT bounds;
    if (!ClipToScreen(bounds, clip, column - radiusX, line - radiusY, column + radiusX, line + radiusY))
        return;
    const int32_t y = height - 1 - line;
    DrawInAreas(screenNumber, bounds, colours, drawMode, [&](const UI_RECT& piece) {
        const FgBox pieceBox = ToBox(piece);
        // A filled ellipse is ever smaller outlines down to the centre.
        const int32_t steps = fill != 0 ? std::max(radiusX, radiusY) : 0;
        for (int32_t i = 0; i <= steps; ++i)
            fg_draw_ellipse(currentForeground, currentMode, 0, column, y, std::max(radiusX - i, 0),
                            std::max(radiusY - i, 0), startAngle * ANGLE_SCALE, endAngle * ANGLE_SCALE,
                            &pieceBox);
    });
}

void UI_FG_DISPLAY::DrawLine(int32_t screenNumber, int32_t column1, int32_t line1, int32_t column2,
                             int32_t line2, const UI_COLOUR_ENTRY* colours, int32_t lineWidth, int32_t drawMode,
                             const UI_RECT* clip)
{
    const int32_t reach = std::max(lineWidth, 0);
    UI_RECT bounds;
    if (!ClipToScreen(bounds, clip, std::min(column1, column2) - reach, std::min(line1, line2) - reach,
                      std::max(column1, column2) + reach, std::max(line1, line2) + reach))
        return;
    const FgBox lineBox = ToBox(UI_RECT{column1, line1, column2, line2});
    DrawInAreas(screenNumber, bounds, colours, drawMode, [&](const UI_RECT& piece) {
        const FgBox pieceBox = ToBox(piece);
        fg_draw_line(currentForeground, currentMode, 0, 0, lineBox, &pieceBox);
    });
}

int32_t UI_FG_DISPLAY::ColourIndex(const UI_COLOUR_ENTRY* colours, int32_t foreground)
{
    if (colours == nullptr)
        return 0;
    if (monochrome != 0)
        return (foreground != 0 ? colours->foreground2 : colours->background2) != 0 ? 15 : 1;
    if (colourCount < 16)
        return foreground != 0 ? colours->foreground16 : colours->background16;
    return foreground != 0 ? colours->foreground256 : colours->background256;
}

void UI_FG_DISPLAY::DrawPolygon(int32_t screenNumber, int32_t count, const int32_t* points,
                                const UI_COLOUR_ENTRY* colours, int32_t fill, int32_t drawMode,
                                const UI_RECT* clip)
{
    if (count <= 0 || points == nullptr)
        return;
    UI_RECT extent{points[0], points[1], points[0], points[1]};
    polygonPoints_.resize(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const int32_t column = points[2 * i];
        const int32_t line = points[2 * i + 1];
        extent = Union(extent, UI_RECT{column, line, column, line});
        polygonPoints_[i] = FgPoint{column, height - 1 - line};
    }
    UI_RECT bounds;
    if (!ClipToScreen(bounds, clip, extent.left, extent.top, extent.right, extent.bottom))
        return;
    DrawInAreas(screenNumber, bounds, colours, drawMode, [&](const UI_RECT& piece) {
        const FgBox pieceBox = ToBox(piece);
        if (fill != 0)
            fg_fill_polygon(currentForeground, currentMode, 0, count, polygonPoints_.data(), &pieceBox);
        else
            fg_draw_polygon(currentForeground, currentMode, 0, 0, count, polygonPoints_.data(), &pieceBox);
    });
}

void UI_FG_DISPLAY::DrawBox(int32_t screenNumber, int32_t left, int32_t top, int32_t right, int32_t bottom,
                            const UI_COLOUR_ENTRY* colours, int32_t frameWidth, int32_t fill, int32_t drawMode,
                            const UI_RECT* clip)
{
    UI_RECT bounds;
    if (!ClipToScreen(bounds, clip, left, top, right, bottom))
        return;
    DrawInAreas(screenNumber, bounds, colours, drawMode, [&](const UI_RECT& piece) {
        if (fill != 0)
            FillPiece(piece);
        if (fill != 0 && currentForeground == currentBackground)
            return;
        const FgBox pieceBox = ToBox(piece);
        for (int32_t i = 0; i < frameWidth && left + i <= right - i && top + i <= bottom - i; ++i)
            fg_draw_box(currentForeground, currentMode, 0, 0,
                        ToBox(UI_RECT{left + i, top + i, right - i, bottom - i}), &pieceBox);
    });
}

void UI_FG_DISPLAY::XorFrame(const UI_RECT& oldRect, const UI_RECT& newRect, int32_t)
{
    if (SameRect(oldRect, newRect))
        return;
    const UI_RECT both = Union(oldRect, newRect);
    UI_RECT bounds;
    if (!ClipToScreen(bounds, nullptr, both.left, both.top, both.right, both.bottom))
        return;
    HoldScreen(UI_ALL_SCREENS, bounds.left, bounds.top, bounds.right, bounds.bottom);
    const FgBox clipBox = ToBox(bounds);
    const int32_t colour = ColourIndex(&frameColours, 1);
    fg_draw_box(colour, FG_MODE_XOR, 0, 0, ToBox(oldRect), &clipBox);
    fg_draw_box(colour, FG_MODE_XOR, 0, 0, ToBox(newRect), &clipBox);
    ReleaseScreen(UI_ALL_SCREENS);
    fg_refresh_screen();
}

void UI_FG_DISPLAY::AssignArea(int32_t screenNumber, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (left <= 0 && top <= 0 && right >= width - 1 && bottom >= height - 1) {
        DeleteAll();
        InsertBefore(nullptr, new UI_CLIP_RECT(screenNumber, 0, 0, width - 1, height - 1));
        return;
    }
    UI_RECT area;
    if (right < left || bottom < top || !ClipToScreen(area, nullptr, left, top, right, bottom))
        return;
    Cut(screenNumber, area, 0);
    InsertBefore(nullptr, new UI_CLIP_RECT(screenNumber, area));
}

void UI_FG_DISPLAY::ShiftArea(const UI_RECT& rectangle, int32_t newLeft, int32_t newTop, int32_t screenNumber)
{
    const int32_t rows = rectangle.bottom - rectangle.top + 1;
    const int32_t columns = rectangle.right - rectangle.left + 1;
    if (rows <= 0 || columns <= 0)
        return;
    const UI_RECT moved{newLeft, newTop, newLeft + columns - 1, newTop + rows - 1};
    const UI_RECT both = Union(rectangle, moved);
    HoldScreen(screenNumber, both.left, both.top, both.right, both.bottom);
    fg_copy_page_box(ToBox(rectangle), newLeft, height - newTop - rows, FG_PAGE_DRAW, FG_PAGE_DRAW);
    ReleaseScreen(screenNumber);
}

void UI_FG_DISPLAY::DrawString(int32_t screenNumber, int32_t left, int32_t top, const char* text,
                               const UI_COLOUR_ENTRY* colours, int32_t length, int32_t fill, int32_t drawMode,
                               const UI_RECT* clip, int32_t font)
{
    if (text == nullptr || text[0] == '\0' || colours == nullptr)
        return;
    const int32_t textLength = static_cast<int32_t>(std::strlen(text));
    const int32_t taken = std::min(length < 0 ? textLength : std::min(length, textLength), UI_STRING_LIMIT);

    // The characters drawn, with '&' markers taken out (a doubled '&' stays
    // one '&'); the character after the last marker is underlined.
    char shown[UI_STRING_LIMIT + 1];
    int32_t count = 0;
    int32_t underlined = -1;
    const bool markers = (font & UI_FONT_NO_MARKER) == 0;
    for (int32_t i = 0; i < taken; ++i) {
        char c = text[i];
        if (markers && c == '&') {
            if (i + 1 < taken && text[i + 1] == '&')
                ++i;
            else {
                underlined = count;
                continue;
            }
        }
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
        shown[count++] = c;
    }
    shown[count] = '\0';
    if (underlined >= count)
        underlined = -1;

    const UI_FONT_SLOT& slot = fonts[FontSlot(font)];
    const int32_t textWidth = count * slot.width;
    UI_RECT bounds;
    if (textWidth <= 0 || !ClipToScreen(bounds, clip, left, top, left + textWidth - 1, top + slot.height - 1))
        return;
    const int32_t lowestRow = top + StringHeight(text, screenNumber, font) + 1;
    DrawInAreas(screenNumber, bounds, colours, drawMode, [&](const UI_RECT& piece) {
        if (fill != 0)
            FillPiece(piece);
        const FgBox pieceBox = ToBox(piece);
        fg_puts(currentForeground, currentMode, 0, 0, left, height - 1 - lowestRow, shown, &pieceBox);
        if (underlined >= 0) {
            const int32_t from = left + underlined * slot.width;
            const int32_t to = from + characterWidths[static_cast<uint8_t>(shown[underlined])] - 1;
            fg_draw_line(currentForeground, currentMode, 0, 0, ToBox(UI_RECT{from, lowestRow + 1, to, lowestRow + 1}),
                         &pieceBox);
        }
    });
}

int32_t UI_FG_DISPLAY::StringHeight(const char*, int32_t, int32_t font)
{
    return fonts[FontSlot(font)].height - FONT_DESCENT;
}

int32_t UI_FG_DISPLAY::StringWidth(const char* text, int32_t, int32_t font)
{
    if (text == nullptr || text[0] == '\0')
        return 0;
    int32_t count = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        ++count;
        if ((font & UI_FONT_NO_MARKER) == 0 && *c == '&') {
            --count;
            if (c[1] == '&') {   // a doubled '&' shows one
                ++count;
                ++c;
            }
        }
    }
    return count * fonts[FontSlot(font)].width;
}

int32_t UI_FG_DISPLAY::HoldScreen(int32_t, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (--updateDepth == -1) {
        overlayLock = 1;
        updateRect = UI_RECT{std::max(left, 0), std::max(top, 0), std::min(right, width - 1),
                             std::min(bottom, height - 1)};
        LiftOverlay(overlays[UI_OVERLAY_CURSOR]);
        LiftOverlay(overlays[UI_OVERLAY_POINTER]);
    }
    return 1;
}

int32_t UI_FG_DISPLAY::ReleaseScreen(int32_t)
{
    if (++updateDepth == 0) {
        LayOverlay(overlays[UI_OVERLAY_POINTER]);
        LayOverlay(overlays[UI_OVERLAY_CURSOR]);
        overlayLock = 0;
    }
    return 1;
}

// Puts back the pixels under an overlay that the open update touches.
void UI_FG_DISPLAY::LiftOverlay(UI_OVERLAY& overlay)
{
    UI_RECT common;
    if (overlay.image == nullptr || !IntersectRects(overlay.region, updateRect, common))
        return;
    fg_write_box_pixels(ToBox(overlay.region), overlay.saved.data(), -1, nullptr, nullptr);
}

// Saves the pixels under an overlay that the closing update touches and
// plots its image there.
void UI_FG_DISPLAY::LayOverlay(UI_OVERLAY& overlay)
{
    UI_RECT common;
    if (overlay.image == nullptr || !IntersectRects(overlay.region, updateRect, common))
        return;
    const FgBox box = ToBox(overlay.region);
    fg_read_box_pixels(box, overlay.saved.data());
    fg_write_box_pixels(box, overlay.image, UI_OVERLAY_TRANSPARENT, nullptr, nullptr);
}

int32_t UI_FG_DISPLAY::MoveOverlay(int32_t index, int32_t left, int32_t top)
{
    if (index != UI_OVERLAY_POINTER && index != UI_OVERLAY_CURSOR)
        return 0;
    UI_OVERLAY& overlay = overlays[index];
    const UI_RECT old = overlay.region;
    if (overlay.image == nullptr || overlayLock != 0 || updateDepth != 0 || (old.left == left && old.top == top))
        return 0;
    overlayLock = 1;
    const UI_RECT moved{left, top, left + old.right - old.left, top + old.bottom - old.top};
    const UI_RECT both = Union(old, moved);
    HoldScreen(UI_ALL_SCREENS, both.left, both.top, both.right, both.bottom);
    overlay.region = moved;
    ReleaseScreen(UI_ALL_SCREENS);
    overlayLock = 0;
    return 1;
}

int32_t UI_FG_DISPLAY::SetOverlay(int32_t index, int32_t left, int32_t top, int32_t imageWidth,
                                  int32_t imageHeight, const uint8_t* image)
{
    if (index != UI_OVERLAY_POINTER && index != UI_OVERLAY_CURSOR)
        return 0;
    if (overlayLock != 0)
        return 0;
    if (imageWidth <= 0 || imageHeight <= 0)
        image = nullptr;   // nothing to show
    UI_OVERLAY& overlay = overlays[index];
    overlayLock = 1;
    const UI_RECT placed{left, top, left + imageWidth - 1, top + imageHeight - 1};
    const UI_RECT region = overlay.image != nullptr ? Union(overlay.region, placed) : placed;
    HoldScreen(UI_ALL_SCREENS, region.left, region.top, region.right, region.bottom);
    overlay.image = image;
    overlay.region = placed;
    if (image != nullptr)
        overlay.saved.assign(static_cast<size_t>(imageWidth) * imageHeight, 0);
    ReleaseScreen(UI_ALL_SCREENS);
    overlayLock = 0;
    return 1;
}

void UI_FG_DISPLAY::SelectFont(int32_t slot)
{
    if (slot == -1 || currentFont < 0) {
        const UI_FONT_SLOT& first = fonts[1];
        const FgFontRecord record{first.lowImages, first.highImages, FgBox{0, 0, first.width - 1, first.height - 1}};
        fg_set_font(&record);
        std::fill(std::begin(characterWidths), std::end(characterWidths), static_cast<uint8_t>(first.width));
        currentFont = 1;
        return;
    }
    const int32_t wanted = slot & UI_FONT_SLOT_MASK;
    if (wanted >= FONT_SLOTS || wanted == currentFont || fonts[wanted].lowImages == nullptr)
        return;
    const UI_FONT_SLOT& next = fonts[wanted];
    const UI_FONT_SLOT& now = fonts[currentFont];
    if (next.lowImages != now.lowImages || next.highImages != now.highImages) {
        const FgFontRecord record{next.lowImages, next.highImages, FgBox{0, 0, next.width - 1, next.height - 1}};
        fg_set_font(&record);
    }
    currentFont = wanted;
}
