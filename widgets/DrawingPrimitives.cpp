// DrawingPrimitives.cpp: the fg drawing operations on Allegro, the pattern
// slots and the polygon buffer.
#include "widgets/DrawingPrimitives.h"

#include <allegro.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "core/ErrorReport.h"
#include "core/ScreenRefresh.h"

namespace {

constexpr int32_t PATTERN_SIDE = 4;   // pixels

struct PatternSlot {
    BITMAP* bitmap = nullptr;
    uint8_t pattern[FG_PATTERN_BYTES] = {};
};

PatternSlot slots[FG_PATTERN_SLOTS];
std::vector<int> polygonBuffer;   // two values a point, never shrunk

int32_t Row(int32_t y)
{
    return fg_page_height() - 1 - y;
}

void SetMode(int32_t mode)
{
    drawing_mode(mode == FG_MODE_XOR ? DRAW_MODE_XOR : DRAW_MODE_SOLID, nullptr, 0, 0);
}

void SetClip(BITMAP* page, const FgBox* clip)
{
    if (clip == nullptr) {
        set_clip_rect(page, 0, 0, page->w - 1, page->h - 1);
        return;
    }
    const FgRect r = fg_box_to_rect(*clip);
    const int32_t left = std::max(std::min(r.left, r.right), 0);
    const int32_t right = std::min(std::max(r.left, r.right), page->w - 1);
    const int32_t top = std::max(r.top, 0);
    const int32_t bottom = std::min(r.bottom, page->h - 1);
    // The library clamps the rectangle into the bitmap, which would leave the
    // last column or row open for a clip wholly beyond it: an empty clip then.
    if (left > right || top > bottom)
        set_clip_rect(page, 0, 0, -1, -1);
    else
        set_clip_rect(page, left, top, right, bottom);
}

void ResetClip(BITMAP* page)
{
    set_clip_rect(page, 0, 0, page->w - 1, page->h - 1);
}

// Builds slot's 4 by 4 bitmap from its stored pattern, creating it when
// needed; false when the bitmap cannot be had.
bool BuildPattern(PatternSlot& slot)
{
    if (slot.bitmap == nullptr)
        slot.bitmap = create_bitmap_ex(8, PATTERN_SIDE, PATTERN_SIDE);
    if (slot.bitmap == nullptr)
        return false;
    solid_mode();
    for (int32_t row = 0; row < PATTERN_SIDE; ++row) {
        const uint32_t word = slot.pattern[2 * row] | (uint32_t{slot.pattern[2 * row + 1]} << 8);
        for (int32_t column = 0; column < PATTERN_SIDE; ++column)
            _putpixel(slot.bitmap, column, row, (word >> (15 - column)) & 1);
    }
    return true;
}

// Sets the masked-pattern mode with slot's bitmap; false for a bad slot.
bool SetPatternMode(int32_t mode, int32_t slot)
{
    if (slot < 0 || slot >= FG_PATTERN_SLOTS)
        return false;
    PatternSlot& s = slots[slot];
    if (s.bitmap == nullptr && !BuildPattern(s))
        return false;
    SetMode(mode);
    drawing_mode(DRAW_MODE_MASKED_PATTERN, s.bitmap, 0, 0);
    return true;
}

// Converts points into the polygon buffer; answers the buffer.
const int* ConvertPoints(int32_t count, const FgPoint* points)
{
    const size_t values = static_cast<size_t>(count) * 2;
    if (polygonBuffer.size() < values)
        polygonBuffer.assign(values, 0);
    for (int32_t i = 0; i < count; ++i) {
        polygonBuffer[2 * i] = points[i].x;
        polygonBuffer[2 * i + 1] = Row(points[i].y);
    }
    return polygonBuffer.data();
}

void FillPolygon(int32_t colour, int32_t count, const FgPoint* points, const FgBox* clip, int32_t mode,
                 int32_t slot)
{
    BITMAP* page = fg_get_draw_page();
    if (page == nullptr || count <= 0 || points == nullptr)
        return;
    SetClip(page, clip);
    if (slot < 0)
        SetMode(mode);
    else if (!SetPatternMode(mode, slot)) {
        ResetClip(page);
        return;
    }
    polygon(page, count, ConvertPoints(count, points), colour);
    ResetClip(page);
    fg_set_full_refresh();
}

int32_t Span(int32_t a, int32_t b)
{
    return std::abs(b - a) + 1;
}

// A box's page rectangle with its columns in order.
FgRect OrderedRect(const FgBox& box)
{
    FgRect r = fg_box_to_rect(box);
    if (r.right < r.left)
        std::swap(r.left, r.right);
    return r;
}

// Calls visit(column, row, index) for each pixel of box's page rectangle that
// lies on page and inside clip (null: the whole page); index counts the box's
// pixels row by row from its top left.
template <typename Visit>
void ForEachVisiblePixel(BITMAP* page, const FgBox& box, const FgBox* clip, Visit visit)
{
    const FgRect r = OrderedRect(box);
    FgRect limit{0, 0, page->w - 1, page->h - 1};
    if (clip != nullptr) {
        const FgRect c = OrderedRect(*clip);
        limit = FgRect{std::max(limit.left, c.left), std::max(limit.top, c.top), std::min(limit.right, c.right),
                       std::min(limit.bottom, c.bottom)};
    }
    const size_t width = static_cast<size_t>(r.right - r.left + 1);
    for (int32_t row = std::max(r.top, limit.top); row <= std::min(r.bottom, limit.bottom); ++row)
        for (int32_t column = std::max(r.left, limit.left); column <= std::min(r.right, limit.right); ++column)
            visit(column, row, static_cast<size_t>(row - r.top) * width + static_cast<size_t>(column - r.left));
}

} // namespace

void fg_draw_line(int32_t colour, int32_t mode, int32_t, int32_t, const FgBox& l, const FgBox* clip)
{
    BITMAP* page = fg_get_draw_page();
    if (page == nullptr)
        return;
    SetClip(page, clip);
    SetMode(mode);
    line(page, l.x1, Row(l.y1), l.x2, Row(l.y2), colour);
    ResetClip(page);
    fg_set_full_refresh();
}

void fg_draw_box(int32_t colour, int32_t mode, int32_t, int32_t, const FgBox& box, const FgBox* clip)
{
    BITMAP* page = fg_get_draw_page();
    if (page == nullptr)
        return;
    if (mode == -1)
        ErrorBox("Assert not working");
    SetMode(mode);
    SetClip(page, clip);
    const FgRect r = fg_box_to_rect(box);
    rect(page, r.left, r.top, r.right, r.bottom, colour);
    ResetClip(page);
    fg_set_full_refresh();
}

void fg_fill_box(int32_t colour, int32_t mode, int32_t, const FgBox& box)
{
    BITMAP* page = fg_get_draw_page();
    if (page == nullptr)
        return;
    SetMode(mode);
    const FgRect r = fg_box_to_rect(box);
    rectfill(page, r.left, r.top, r.right, r.bottom, colour);
    fg_set_full_refresh();
}

void fg_fill_box_pattern(int32_t colour, int32_t mode, int32_t, const FgBox& box, int32_t slot)
{
    BITMAP* page = fg_get_draw_page();
    if (page == nullptr || !SetPatternMode(mode, slot))
        return;
    const FgRect r = fg_box_to_rect(box);
    rectfill(page, r.left, r.top, r.right, r.bottom, colour);
    fg_set_full_refresh();
}

void fg_draw_polygon(int32_t colour, int32_t mode, int32_t, int32_t, int32_t count, const FgPoint* points,
                     const FgBox* clip)
{
    BITMAP* page = fg_get_draw_page();
    if (page == nullptr || count <= 0 || points == nullptr)
        return;
    SetClip(page, clip);
    for (int32_t i = 0; i < count; ++i) {
        const FgPoint& from = points[i];
        const FgPoint& to = points[(i + 1) % count];
        SetMode(mode);
        line(page, from.x, Row(from.y), to.x, Row(to.y), colour);
    }
    ResetClip(page);
    fg_set_full_refresh();
}

void fg_fill_polygon(int32_t colour, int32_t mode, int32_t, int32_t count, const FgPoint* points,
                     const FgBox* clip)
{
    FillPolygon(colour, count, points, clip, mode, -1);
}

void fg_fill_polygon_pattern(int32_t colour, int32_t mode, int32_t, int32_t count, const FgPoint* points,
                             const FgBox* clip, int32_t slot)
{
    if (slot < 0 || slot >= FG_PATTERN_SLOTS)
        return;
    FillPolygon(colour, count, points, clip, mode, slot);
}

void fg_draw_ellipse(int32_t colour, int32_t mode, int32_t, int32_t centreX, int32_t centreY, int32_t radiusX,
                     int32_t radiusY, int32_t, int32_t, const FgBox* clip)
{
    BITMAP* page = fg_get_draw_page();
    if (page == nullptr)
        return;
    SetMode(mode);
    SetClip(page, clip);
    ellipse(page, centreX, Row(centreY), std::abs(radiusX), std::abs(radiusY), colour);
    ResetClip(page);
    fg_set_full_refresh();
}

void fg_puts(int32_t colour, int32_t mode, int32_t, int32_t, int32_t x, int32_t y, const char* text,
             const FgBox* clip)
{
    BITMAP* page = fg_get_draw_page();
    if (page == nullptr || text == nullptr)
        return;
    SetClip(page, clip);
    SetMode(mode);
    textout_ex(page, font, text, x, fg_page_height() - y - text_height(font), colour, -1);
    ResetClip(page);
    fg_set_full_refresh();
}

void fg_put_pixel(int32_t colour, int32_t, int32_t, int32_t x, int32_t y)
{
    BITMAP* page = fg_get_draw_page();
    if (page == nullptr)
        return;
    putpixel(page, x, Row(y), colour & 0xFF);
    fg_set_full_refresh();
}

void fg_put_image_keyed(const FgBox& box, const uint8_t* image, int32_t key)
{
    BITMAP* page = fg_get_draw_page();
    if (page == nullptr || image == nullptr)
        return;
    const int32_t width = Span(box.x1, box.x2);
    const int32_t height = Span(box.y1, box.y2);
    for (int32_t row = 0; row < height && row < page->h; ++row) {
        const uint8_t* source = image + static_cast<size_t>(row) * width;
        for (int32_t column = 0; column < width && column < page->w; ++column) {
            if (source[column] != key)
                _putpixel(page, column, row, source[column]);
        }
    }
}

void fg_put_bitmap(const FgBox& box, BITMAP* source, int32_t, int32_t sourceX, int32_t sourceY,
                   uint8_t useSource)
{
    BITMAP* page = fg_get_draw_page();
    if (page == nullptr || source == nullptr)
        return;
    const FgRect r = fg_box_to_rect(box);
    const int32_t left = r.left < r.right ? r.left : r.right;
    blit(source, page, useSource != 0 ? sourceX : left, useSource != 0 ? sourceY : r.top, left, r.top,
         Span(r.left, r.right), Span(r.top, r.bottom));
    fg_set_full_refresh();
}

void fg_copy_page_box(const FgBox& box, int32_t x, int32_t y, int32_t sourcePage, int32_t destinationPage)
{
    BITMAP* source = fg_get_page(sourcePage);
    BITMAP* destination = fg_get_page(destinationPage);
    if (source == nullptr || destination == nullptr)
        return;
    const FgRect r = fg_box_to_rect(box);
    const int32_t height = Span(r.top, r.bottom);
    const int32_t left = r.left < r.right ? r.left : r.right;
    blit(source, destination, left, r.top, x, fg_page_height() - y - height, Span(r.left, r.right), height);
    fg_set_full_refresh();
}

void fg_blit_to_box(const FgBox& box, BITMAP* source)
{
    BITMAP* page = fg_get_draw_page();
    if (page == nullptr || source == nullptr)
        return;
    blit(source, page, 0, 0, box.x1, box.y1, Span(box.x1, box.x2), Span(box.y1, box.y2));
    fg_set_full_refresh();
}

void fg_set_fill_pattern(int32_t slot, const uint8_t* pattern)
{
    if (slot < 0 || slot >= FG_PATTERN_SLOTS || pattern == nullptr)
        return;
    std::memcpy(slots[slot].pattern, pattern, FG_PATTERN_BYTES);
    BuildPattern(slots[slot]);
}

void fg_set_font(const FgFontRecord*)
{
    ErrorBox("eek.  fg_set_font isn't finished.  please report this.");
}

void fg_read_box_pixels(const FgBox& box, uint8_t* buffer)
{
    BITMAP* page = fg_get_draw_page();
    if (page == nullptr || buffer == nullptr)
        return;
    ForEachVisiblePixel(page, box, nullptr, [&](int32_t column, int32_t row, size_t index) {
        buffer[index] = static_cast<uint8_t>(_getpixel(page, column, row));
    });
}

void fg_write_box_pixels(const FgBox& box, const uint8_t* pixels, int32_t key, const uint8_t* colourOf,
                         const FgBox* clip)
{
    BITMAP* page = fg_get_draw_page();
    if (page == nullptr || pixels == nullptr)
        return;
    ForEachVisiblePixel(page, box, clip, [&](int32_t column, int32_t row, size_t index) {
        const uint8_t value = pixels[index];
        if (value != key)
            _putpixel(page, column, row, colourOf != nullptr ? colourOf[value] : value);
    });
    fg_set_full_refresh();
}

void fg_empty_pattern_slots()
{
    for (PatternSlot& slot : slots) {
        if (slot.bitmap != nullptr)
            destroy_bitmap(slot.bitmap);
        slot = PatternSlot{};
    }
}
