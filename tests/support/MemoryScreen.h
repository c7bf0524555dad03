// MemoryScreen.h: a stand-in for the graphics library while it lives: the
// mode calls answer from a script and the screen is a memory bitmap of the
// size of the mode last opened, so that tests and benchmarks can look at
// every pixel the refresh writes. Starts Allegro without a display first.
#pragma once

#include <allegro.h>

#include <cerrno>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "widgets/GraphicsSetup.h"

// The number of pixels of colour in page inside the rectangle (rows from the
// top, both ends inclusive).
inline int32_t CountPageColour(BITMAP* page, int32_t colour, int32_t left, int32_t top, int32_t right,
                               int32_t bottom)
{
    int32_t n = 0;
    for (int32_t y = top; y <= bottom; ++y)
        for (int32_t x = left; x <= right; ++x)
            n += getpixel(page, x, y) == colour;
    return n;
}

class MemoryScreen : public GraphicsLibrary {
public:
    MemoryScreen()
    {
        if (system_driver == nullptr)
            install_allegro(SYSTEM_NONE, &errno, std::atexit);
        set_color_depth(8);
        previous_ = SetGraphicsLibrary(this);
    }
    ~MemoryScreen() override
    {
        SetGraphicsLibrary(previous_);
        if (screen_ != nullptr)
            destroy_bitmap(screen_);
    }
    MemoryScreen(const MemoryScreen&) = delete;
    MemoryScreen& operator=(const MemoryScreen&) = delete;

    int32_t SetMode(int32_t driver, int32_t width, int32_t height) override
    {
        modes.emplace_back(driver, width, height);
        if (refused.count({width, height}) != 0)
            return -1;
        if (screen_ != nullptr)
            destroy_bitmap(screen_);
        screen_ = create_bitmap_ex(8, width, height);
        clear_to_color(screen_, untouched);
        return 0;
    }
    const char* ErrorText() override { return "Scripted refusal"; }
    int32_t SetSwitchCallback(void (*callback)()) override
    {
        switchCallback = callback;
        return callbackAnswer;
    }
    // As the library does, a switch mode set removes the callbacks installed
    // before it.
    int32_t SetSwitchMode(int32_t mode) override
    {
        switchModes.push_back(mode);
        if (refusedSwitchModes.count(mode) != 0)
            return -1;
        switchCallback = nullptr;
        return 0;
    }
    BITMAP* Screen() override { return screen_; }

    // Fills the whole screen with the untouched colour again.
    void Wipe() { clear_to_color(screen_, untouched); }

    // The number of screen pixels not of the untouched colour inside rect
    // (page rows), and outside it.
    int32_t ChangedInside(int32_t left, int32_t top, int32_t right, int32_t bottom) const
    {
        return Count(left, top, right, bottom, true);
    }
    int32_t ChangedOutside(int32_t left, int32_t top, int32_t right, int32_t bottom) const
    {
        return Count(left, top, right, bottom, false);
    }

    struct Mode {
        int32_t driver, width, height;
        Mode(int32_t d, int32_t w, int32_t h) : driver(d), width(w), height(h) {}
        bool operator==(const Mode&) const = default;
    };
    std::vector<Mode> modes;                         // every SetMode asked
    std::set<std::pair<int32_t, int32_t>> refused;  // sizes the script refuses
    std::set<int32_t> refusedSwitchModes;
    std::vector<int32_t> switchModes;
    int32_t callbackAnswer = 0;
    void (*switchCallback)() = nullptr;
    int32_t untouched = 222;   // the colour the screen starts in

private:
    int32_t Count(int32_t left, int32_t top, int32_t right, int32_t bottom, bool inside) const
    {
        int32_t changed = 0;
        for (int32_t y = 0; y < screen_->h; ++y) {
            for (int32_t x = 0; x < screen_->w; ++x) {
                const bool in = x >= left && x <= right && y >= top && y <= bottom;
                if (in == inside && getpixel(screen_, x, y) != untouched)
                    ++changed;
            }
        }
        return changed;
    }

    BITMAP* screen_ = nullptr;
    GraphicsLibrary* previous_ = nullptr;
};
