// ScreenRefresh.h: the full-refresh flag of the display layer, one byte that
// says the draw page has changed since the screen was last brought up to
// date. Anything that draws into the page sets it; fg_refresh_screen, with
// the rest of the display layer, reads and clears it once per loop pass.
// The flag is atomic: under X11 the display-switch callback sets it from the
// graphics library's own thread.
#pragma once

#include <cstdint>

// Sets the flag to 1: the next refresh repaints the whole screen.
void fg_set_full_refresh();

// The flag's value: 1 when a full repaint is due, else 0.
uint8_t fg_full_refresh_pending();

// Clears the flag; the refresh does this once it has repainted.
void fg_clear_full_refresh();

// Reads and clears the flag in one step, so that a set from another thread
// between the read and the clear is never lost. Answers the value read.
uint8_t fg_take_full_refresh();
