// GraphicsSetup.h: the lower half of the fg graphics layer: opening the
// graphics mode, the page table (screen, back buffer, current draw page,
// third page, two 32 by 32 overlay pages), the once-per-pass screen refresh,
// the display-switch callback, palette conversion and the y-up box type.
// The drawing operations live in DrawingPrimitives.h; the full-refresh flag
// they set lives in core/ScreenRefresh.h.
//
// Coordinates: a box is y-up (origin at the bottom left of the page); a page
// row is page height - 1 - y. Overlay rectangles are in page rows, from the
// top. Both ends of every rectangle are inclusive.
#pragma once

#include <cstdint>

struct BITMAP;   // the graphics library's bitmap

// A box of the y-up system: two corners, both inclusive, in pixels.
struct FgBox {
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;
};

// A rectangle in page rows (top smaller than bottom), both ends inclusive.
struct FgRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The graphics library's mode and screen calls, which a test replaces to put
// a memory bitmap in the screen's place and to script the mode results.
class GraphicsLibrary {
public:
    virtual ~GraphicsLibrary() = default;
    // Opens an 8-bit mode with the library's driver number (0 automatic,
    // 2 windowed); 0 on success, negative when refused.
    virtual int32_t SetMode(int32_t driver, int32_t width, int32_t height) = 0;
    // The library's text for the last refusal.
    virtual const char* ErrorText() = 0;
    // Installs the switch-in callback; -1 when the library refuses.
    virtual int32_t SetSwitchCallback(void (*callback)()) = 0;
    // Sets the switch mode (3 background, 4 background with the screen lost
    // on return); 0 on success, -1 when refused. Success removes the
    // callbacks installed before.
    virtual int32_t SetSwitchMode(int32_t mode) = 0;
    // The screen bitmap, null before a mode is open.
    virtual BITMAP* Screen() = 0;
};

// Installs library (nullptr: the real library) and returns the one it
// replaces, nullptr meaning the real library.
GraphicsLibrary* SetGraphicsLibrary(GraphicsLibrary* library);

// The user option that opens the graphics mode in a window rather than full
// screen; start-up sets it from the options folder. Off by default.
void fg_set_run_in_window(uint8_t on);
uint8_t fg_run_in_window();

// Opens the graphics mode of width by height pixels, 8-bit, windowed when the
// run-in-window option is on, and makes a cleared back buffer of that size the
// draw page. The first call ever also creates the two overlay pages. Answers
// 1; on a refusal writes the library's error text and a line saying the
// program cannot continue to standard output and answers 0, changing nothing.
int32_t fg_set_video_mode(int32_t width, int32_t height);
int32_t fg_init_1280x1024();
int32_t fg_init_1024x768();
int32_t fg_init_800x600();
int32_t fg_init_640x480();

// The size of the mode last opened (0 before any); every caller reads them as
// the screen size.
int32_t fg_page_width();
int32_t fg_page_height();

// Brings the screen up to date: the whole draw page when the full-refresh
// flag is set, then each overlay whose dirty flag is set. A pass with nothing
// drawn and no overlay moved writes nothing. Does nothing while the draw page
// is an overlay page, or before a mode is open.
void fg_refresh_screen();

// The display-switch callback: only sets the full-refresh flag (it may run on
// the library's own thread); the next refresh repaints.
void fg_switch_in();

// Clear overlay 1 or 2 to transparent and set where it is to be shown from a
// y-up box. The dirty flag is not set.
void fg_place_overlay1(const FgBox& box);
void fg_place_overlay2(const FgBox& box);

// The refresh's overlay step for one overlay at once, when its dirty flag is
// set; restore non-zero first puts back the page under its old rectangle.
void fg_show_overlay1(uint8_t restore);
void fg_show_overlay2(uint8_t restore);

// Set by the caller when an overlay's image changed; cleared by the refresh.
extern uint8_t fg_overlay1_dirty;
extern uint8_t fg_overlay2_dirty;

// Where each overlay is to be shown and where it was last drawn on the screen.
FgRect fg_overlay_new_rect(int32_t overlay);
FgRect fg_overlay_old_rect(int32_t overlay);

// Page indexes of the page table.
constexpr int32_t FG_PAGE_SCREEN = 0;
constexpr int32_t FG_PAGE_BACK = 1;
constexpr int32_t FG_PAGE_DRAW = 2;
constexpr int32_t FG_PAGE_THIRD = 3;
constexpr int32_t FG_PAGE_OVERLAY1 = 4;
constexpr int32_t FG_PAGE_OVERLAY2 = 5;

// The bitmap of a page index 0 to 5 (2: the current draw page); null for any
// other index or a page not made yet.
BITMAP* fg_get_page(int32_t index);

// Saves the current draw page (one level) and makes page index current: 0, 1,
// 3, 4 or 5; 2 keeps the current page; any other index leaves no draw page,
// and nothing draws until fg_restore_page.
void fg_select_page(int32_t index);
// Makes the saved page current and empties the saved slot.
void fg_restore_page();

void fg_set_draw_page(BITMAP* page);
BITMAP* fg_get_draw_page();
// Stores page as page 3, makes it the draw page; answers 1.
int32_t fg_set_third_page(BITMAP* page);

// Page bitmaps outlive their users: both only return.
void fg_release_page(BITMAP* page);
void fg_close();

// Converts a palette of 256 entries of four bytes (red, green, blue, a fourth
// byte) in place from 0-255 to the library's 0-63 components, unless the
// fourth byte of entry 0 already marks it converted (0xFF or 0xFE); marks it.
void fg_palette_to_vga(uint8_t* palette);

// Fill and copy a box; both answer the box written.
FgBox* fg_make_box(FgBox* box, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
FgBox* fg_copy_box(FgBox* destination, const FgBox* source);

// A y-up box as page rows: left x1, right x2, the converted y values with the
// smaller one as top.
FgRect fg_box_to_rect(const FgBox& box);
