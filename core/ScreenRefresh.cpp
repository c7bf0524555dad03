// ScreenRefresh.cpp: the full-refresh flag of the display layer.
#include "core/ScreenRefresh.h"

namespace {

uint8_t fullRefresh = 0;

}  // namespace

void fg_set_full_refresh()
{
    fullRefresh = 1;
}

uint8_t fg_full_refresh_pending()
{
    return fullRefresh;
}

void fg_clear_full_refresh()
{
    fullRefresh = 0;
}
