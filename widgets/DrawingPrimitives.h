// DrawingPrimitives.h: the drawing half of the fg graphics layer: lines,
// boxes, patterned fills, polygons, ellipses, text, pixels, keyed images and
// bitmap copies into the current draw page (GraphicsSetup.h), in y-up boxes.
// Every operation sets the full-refresh flag except the pattern setting and
// the keyed image. Nothing is drawn while there is no draw page.
//
// Modes are the library's drawing modes: 0 solid, 1 exclusive-or. Any other
// mode is drawn solid: the library's pattern and translucent modes would read
// a pattern or colour map that these calls never give. Arguments marked
// reserved are passed by callers and ignored.
#pragma once

#include <cstdint>

#include "widgets/GraphicsSetup.h"

constexpr int32_t FG_MODE_SOLID = 0;
constexpr int32_t FG_MODE_XOR = 1;
constexpr int32_t FG_PATTERN_SLOTS = 12;
constexpr int32_t FG_PATTERN_BYTES = 32;

// A point of the y-up system.
struct FgPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// A font as the display hands it down: the images of characters 0-127 and
// 128-255 and a box of width - 1 by height - 1.
struct FgFontRecord {
    const uint8_t* glyphs = nullptr;
    const uint8_t* glyphsHigh = nullptr;
    FgBox size;
};

// A line from (x1, y1) to (x2, y2) under clip (null: the whole page).
void fg_draw_line(int32_t colour, int32_t mode, int32_t reserved1, int32_t reserved2,
                  const FgBox& line, const FgBox* clip);

// The one-pixel outline of box under clip. Mode -1 first reports
// "Assert not working" and the outline is drawn all the same (solid).
void fg_draw_box(int32_t colour, int32_t mode, int32_t reserved1, int32_t reserved2,
                 const FgBox& box, const FgBox* clip);

// The filled box; no clip.
void fg_fill_box(int32_t colour, int32_t mode, int32_t reserved, const FgBox& box);

// The filled box through the pattern of slot (0-11; another slot draws
// nothing): pattern pixels 0 leave the page, the others take colour. The
// masked-pattern mode stays set for later pixels.
void fg_fill_box_pattern(int32_t colour, int32_t mode, int32_t reserved, const FgBox& box, int32_t slot);

// The closed outline: a line from each point to the next and from the last
// back to the first; a single point draws one pixel, none draws nothing.
void fg_draw_polygon(int32_t colour, int32_t mode, int32_t reserved1, int32_t reserved2,
                     int32_t count, const FgPoint* points, const FgBox* clip);

// The filled polygon; its converted points go into a buffer kept between
// calls and grown only for a polygon larger than any before.
void fg_fill_polygon(int32_t colour, int32_t mode, int32_t reserved, int32_t count,
                     const FgPoint* points, const FgBox* clip);
void fg_fill_polygon_pattern(int32_t colour, int32_t mode, int32_t reserved, int32_t count,
                             const FgPoint* points, const FgBox* clip, int32_t slot);

// The one-pixel outline of the ellipse round (centreX, centreY).
void fg_draw_ellipse(int32_t colour, int32_t mode, int32_t reserved1, int32_t centreX, int32_t centreY,
                     int32_t radiusX, int32_t radiusY, int32_t reserved2, int32_t reserved3,
                     const FgBox* clip);

// The text in the library's 8 by 8 default font with a transparent
// background; (x, y) is its lower-left corner, so its lowest row is page row
// page height - 1 - y.
void fg_puts(int32_t colour, int32_t mode, int32_t reserved1, int32_t reserved2, int32_t x, int32_t y,
             const char* text, const FgBox* clip);

// One pixel in the low 8 bits of colour, in whatever mode the last operation
// set; no clip.
void fg_put_pixel(int32_t colour, int32_t reserved1, int32_t reserved2, int32_t x, int32_t y);

// An image of one byte a pixel, rows from the top, as wide and as high as box,
// drawn at the page's own origin whatever the box's corner; bytes equal to key
// are skipped. Does not set the full-refresh flag.
void fg_put_image_keyed(const FgBox& box, const uint8_t* image, int32_t key);

// Copies from source to box's page rectangle; the source corner is
// (sourceX, sourceY) in library rows when useSource is non-zero, else the
// box's own page corner.
void fg_put_bitmap(const FgBox& box, BITMAP* source, int32_t reserved, int32_t sourceX, int32_t sourceY,
                   uint8_t useSource);

// Copies box's rectangle of page sourcePage to page destinationPage, its
// lower-left corner at (x, y). A page index without a bitmap copies nothing.
void fg_copy_page_box(const FgBox& box, int32_t x, int32_t y, int32_t sourcePage, int32_t destinationPage);

// Copies source from its origin to the box's corner (x1, y1), taken as
// library coordinates, box-sized.
void fg_blit_to_box(const FgBox& box, BITMAP* source);

// Stores the 32-byte pattern of slot and rebuilds its 4 by 4 bitmap: row r
// is the 16-bit little-endian word at bytes 2r and 2r + 1, column c its bit
// 15 - c; a set bit is drawn. Slots outside 0-11 are ignored.
void fg_set_fill_pattern(int32_t slot, const uint8_t* pattern);

// Only reports that fonts are not handed down; text keeps the default font.
void fg_set_font(const FgFontRecord* font);

// Reads box's pixels into width by height bytes, rows from the top; pixels
// off the page are left as they are in buffer.
void fg_read_box_pixels(const FgBox& box, uint8_t* buffer);

// Writes width by height bytes, rows from the top, into box's page rectangle
// under clip (null: the whole page), whatever the drawing mode: bytes equal to
// key (a value outside 0-255: none) are skipped, the others go through
// colourOf (256 entries; null: each byte is its own colour).
void fg_write_box_pixels(const FgBox& box, const uint8_t* pixels, int32_t key, const uint8_t* colourOf,
                         const FgBox* clip);

// Forgets the pattern bitmaps and patterns of every slot (the first set-up).
void fg_empty_pattern_slots();
