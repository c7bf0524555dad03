// GraphicsSetup.cpp: mode set-up, the page table, the screen refresh and the
// installed graphics library of the fg layer.
#include "widgets/GraphicsSetup.h"

#include <allegro.h>

#include <cstdio>

#include "core/ScreenRefresh.h"
#include "widgets/DrawingPrimitives.h"

uint8_t fg_overlay1_dirty = 0;
uint8_t fg_overlay2_dirty = 0;

namespace {

constexpr int32_t OVERLAY_SIZE = 32;   // pixels, each side
constexpr int32_t DRIVER_AUTOMATIC = GFX_AUTODETECT;
constexpr int32_t DRIVER_WINDOWED = GFX_AUTODETECT_WINDOWED;
constexpr int32_t SWITCH_MODE_WINDOWED = 3;
constexpr int32_t SWITCH_MODE_FULL_SCREEN = 4;
constexpr int32_t SWITCH_CALLBACK_REFUSED = -1;

// Allegro's own mode and screen.
class AllegroGraphics : public GraphicsLibrary {
public:
    int32_t SetMode(int32_t driver, int32_t width, int32_t height) override
    {
        if (system_driver == nullptr)
            return -1;   // set_gfx_mode crashes before allegro_init
        set_color_depth(8);
        return set_gfx_mode(driver, width, height, 0, 0);
    }
    const char* ErrorText() override { return allegro_error; }
    int32_t SetSwitchCallback(void (*callback)()) override
    {
        return set_display_switch_callback(SWITCH_IN, callback);
    }
    int32_t SetSwitchMode(int32_t mode) override { return set_display_switch_mode(mode); }
    BITMAP* Screen() override { return screen; }
};

GraphicsLibrary*& Installed()
{
    static GraphicsLibrary* installed = nullptr;
    return installed;
}

GraphicsLibrary& Library()
{
    static AllegroGraphics allegro;
    GraphicsLibrary* installed = Installed();
    return installed != nullptr ? *installed : allegro;
}

struct Overlay {
    BITMAP* page = nullptr;
    FgRect shown{0, 0, 1, 1};   // where it is to be shown
    FgRect drawn{0, 0, 0, 0};   // where it was last drawn on the screen
    uint8_t* dirty;
};

struct Layer {
    int32_t width = 0;
    int32_t height = 0;
    BITMAP* back = nullptr;
    BITMAP* draw = nullptr;
    BITMAP* third = nullptr;
    BITMAP* saved = nullptr;
    bool firstCall = true;
    bool createOverlays = false;
    uint8_t runInWindow = 0;
    Overlay overlays[2] = {{nullptr, {0, 0, 1, 1}, {0, 0, 0, 0}, &fg_overlay1_dirty},
                           {nullptr, {0, 0, 1, 1}, {0, 0, 0, 0}, &fg_overlay2_dirty}};
};

Layer layer;

int32_t Width(const FgRect& r)
{
    return r.right - r.left + 1;
}

int32_t Height(const FgRect& r)
{
    return r.bottom - r.top + 1;
}

// The overlay step of the refresh for one overlay. restoreOld: put back the
// page under the old place first (not needed right after a whole-page copy).
void ShowOverlay(Overlay& overlay, bool restoreOld)
{
    if (*overlay.dirty == 0)
        return;
    BITMAP* screenPage = Library().Screen();
    if (screenPage == nullptr || layer.draw == nullptr || overlay.page == nullptr)
        return;
    *overlay.dirty = 0;
    if (restoreOld) {
        const FgRect& old = overlay.drawn;
        blit(layer.draw, screenPage, old.left, old.top, old.left, old.top, Width(old), Height(old));
    }
    overlay.drawn = overlay.shown;
    const FgRect& now = overlay.shown;
    // The copy is clipped to the 32 by 32 overlay page.
    masked_blit(overlay.page, screenPage, 0, 0, now.left, now.top, Width(now), Height(now));
}

void PlaceOverlay(Overlay& overlay, const FgBox& box)
{
    if (overlay.page != nullptr)
        clear_to_color(overlay.page, 0);
    overlay.shown = fg_box_to_rect(box);
}

void WriteLine(const char* text)
{
    std::fputs(text, stdout);
    std::fputc('\n', stdout);
}

} // namespace

GraphicsLibrary* SetGraphicsLibrary(GraphicsLibrary* library)
{
    GraphicsLibrary* previous = Installed();
    Installed() = library;
    return previous;
}

void fg_set_run_in_window(uint8_t on)
{
    layer.runInWindow = on;
}

uint8_t fg_run_in_window()
{
    return layer.runInWindow;
}

int32_t fg_set_video_mode(int32_t width, int32_t height)
{
    if (layer.firstCall) {
        layer.firstCall = false;
        layer.createOverlays = true;
    }
    GraphicsLibrary& library = Library();
    const bool windowed = layer.runInWindow != 0;
    if (width <= 0 || height <= 0 ||
        library.SetMode(windowed ? DRIVER_WINDOWED : DRIVER_AUTOMATIC, width, height) < 0) {
        WriteLine(width <= 0 || height <= 0 ? "fg_set_video_mode: no mode of that size" : library.ErrorText());
        WriteLine("Can't continue.  Something seriously wrong with the graphics (out of date video drivers?).");
        std::fflush(stdout);
        return 0;
    }
    // The switch mode first: setting it removes every callback installed
    // before. X11 refuses to keep running with the screen lost on return:
    // fall back to plain background running.
    if (windowed || library.SetSwitchMode(SWITCH_MODE_FULL_SCREEN) != 0)
        library.SetSwitchMode(SWITCH_MODE_WINDOWED);
    if (library.SetSwitchCallback(&fg_switch_in) == SWITCH_CALLBACK_REFUSED) {
        const char* stars = "******************************************************************************";
        WriteLine(stars);
        WriteLine("***Unable to install Display Switch Callback.");
        WriteLine("***Proceeding, but Tessarn3 might not refresh correctly if you Alt-Tab out and back.");
        WriteLine(stars);
        std::fflush(stdout);
    }

    if (layer.saved == layer.back)
        layer.saved = nullptr;
    if (layer.back != nullptr)
        destroy_bitmap(layer.back);
    layer.back = create_bitmap_ex(8, width, height);
    layer.draw = layer.back;
    if (layer.back != nullptr)
        clear_to_color(layer.back, 0);
    layer.width = width;
    layer.height = height;

    if (layer.createOverlays) {
        layer.createOverlays = false;
        for (Overlay& overlay : layer.overlays) {
            overlay.page = create_bitmap_ex(8, OVERLAY_SIZE, OVERLAY_SIZE);
            if (overlay.page != nullptr)
                clear_to_color(overlay.page, 0);
            overlay.shown = {0, 0, 1, 1};
        }
        fg_empty_pattern_slots();
    }
    return 1;
}

int32_t fg_init_1280x1024()
{
    return fg_set_video_mode(1280, 1024);
}

int32_t fg_init_1024x768()
{
    return fg_set_video_mode(1024, 768);
}

int32_t fg_init_800x600()
{
    return fg_set_video_mode(800, 600);
}

int32_t fg_init_640x480()
{
    return fg_set_video_mode(640, 480);
}

int32_t fg_page_width()
{
    return layer.width;
}

int32_t fg_page_height()
{
    return layer.height;
}

void fg_refresh_screen()
{
    BITMAP* draw = layer.draw;
    if (draw == nullptr || draw == layer.overlays[0].page || draw == layer.overlays[1].page)
        return;
    BITMAP* screenPage = Library().Screen();
    if (screenPage == nullptr)
        return;
    const bool full = fg_take_full_refresh() != 0;
    if (full) {
        fg_overlay1_dirty = 1;
        fg_overlay2_dirty = 1;
        blit(draw, screenPage, 0, 0, 0, 0, layer.width, layer.height);
    }
    ShowOverlay(layer.overlays[0], !full);
    ShowOverlay(layer.overlays[1], !full);
}

void fg_switch_in()
{
    fg_set_full_refresh();
}

void fg_place_overlay1(const FgBox& box)
{
    PlaceOverlay(layer.overlays[0], box);
}

void fg_place_overlay2(const FgBox& box)
{
    PlaceOverlay(layer.overlays[1], box);
}

void fg_show_overlay1(uint8_t restore)
{
    ShowOverlay(layer.overlays[0], restore != 0);
}

void fg_show_overlay2(uint8_t restore)
{
    ShowOverlay(layer.overlays[1], restore != 0);
}

FgRect fg_overlay_new_rect(int32_t overlay)
{
    return overlay == 2 ? layer.overlays[1].shown : layer.overlays[0].shown;
}

FgRect fg_overlay_old_rect(int32_t overlay)
{
    return overlay == 2 ? layer.overlays[1].drawn : layer.overlays[0].drawn;
}

BITMAP* fg_get_page(int32_t index)
{
    switch (index) {
    case FG_PAGE_SCREEN:
        return Library().Screen();
    case FG_PAGE_BACK:
        return layer.back;
    case FG_PAGE_DRAW:
        return layer.draw;
    case FG_PAGE_THIRD:
        return layer.third;
    case FG_PAGE_OVERLAY1:
        return layer.overlays[0].page;
    case FG_PAGE_OVERLAY2:
        return layer.overlays[1].page;
    default:
        return nullptr;
    }
}

void fg_select_page(int32_t index)
{
    layer.saved = layer.draw;
    layer.draw = fg_get_page(index);
}

void fg_restore_page()
{
    layer.draw = layer.saved;
    layer.saved = nullptr;
}

void fg_set_draw_page(BITMAP* page)
{
    layer.draw = page;
}

BITMAP* fg_get_draw_page()
{
    return layer.draw;
}

int32_t fg_set_third_page(BITMAP* page)
{
    layer.third = page;
    layer.draw = page;
    return 1;
}

void fg_release_page(BITMAP*)
{
}

void fg_close()
{
}

void fg_palette_to_vga(uint8_t* palette)
{
    constexpr int32_t ENTRIES = 256;
    constexpr int32_t ENTRY_BYTES = 4;
    if (palette == nullptr || palette[3] == 0xFF || palette[3] == 0xFE)
        return;
    palette[3] = 0xFF;
    for (int32_t i = 0; i < ENTRIES; ++i) {
        uint8_t* entry = palette + i * ENTRY_BYTES;
        for (int32_t c = 0; c < 3; ++c)
            entry[c] = static_cast<uint8_t>(entry[c] >> 2);
    }
}

FgBox* fg_make_box(FgBox* box, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    box->x1 = x1;
    box->y1 = y1;
    box->x2 = x2;
    box->y2 = y2;
    return box;
}

FgBox* fg_copy_box(FgBox* destination, const FgBox* source)
{
    *destination = *source;
    return destination;
}

FgRect fg_box_to_rect(const FgBox& box)
{
    const int32_t row1 = layer.height - 1 - box.y1;
    const int32_t row2 = layer.height - 1 - box.y2;
    return {box.x1, row1 < row2 ? row1 : row2, box.x2, row1 < row2 ? row2 : row1};
}
