// ScreenRefresh.cpp: the full-refresh flag of the display layer.
#include "core/ScreenRefresh.h"

#include <atomic>

namespace {

std::atomic<uint8_t> fullRefresh{0};

}  // namespace

void fg_set_full_refresh()
{
    fullRefresh.store(1);
}

uint8_t fg_full_refresh_pending()
{
    return fullRefresh.load();
}

void fg_clear_full_refresh()
{
    fullRefresh.store(0);
}

uint8_t fg_take_full_refresh()
{
    return fullRefresh.exchange(0);
}
