// UI_CLIP_LIST.cpp: cutting rectangles out of a clip list.
#include "widgets/UI_CLIP_LIST.h"

#include <algorithm>

bool IntersectRects(const UI_RECT& a, const UI_RECT& b, UI_RECT& result)
{
    const UI_RECT common{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                         std::min(a.bottom, b.bottom)};
    if (common.left > common.right || common.top > common.bottom)
        return false;
    result = common;
    return true;
}

void UI_CLIP_LIST::Cut(int32_t screenNumber, const UI_RECT& cutRegion, int32_t keepOne)
{
    const UI_RECT region = cutRegion;   // it may be the rectangle of a member deleted below
    UI_CLIP_RECT* element = First();
    while (element != nullptr) {
        UI_CLIP_RECT* following = element->Next();
        const UI_RECT e = element->region;
        UI_RECT common;
        const bool covered = region.left <= e.left && region.top <= e.top && e.right <= region.right &&
                             e.bottom <= region.bottom;
        if (covered || IntersectRects(region, e, common)) {
            if (!covered) {
                int32_t bandTop = e.top;
                int32_t bandBottom = e.bottom;
                if (e.top < region.top) {
                    InsertBefore(nullptr, new UI_CLIP_RECT(element->screenNumber, e.left, e.top, e.right,
                                                           region.top - 1));
                    bandTop = region.top;
                }
                if (region.bottom < e.bottom) {
                    InsertBefore(nullptr, new UI_CLIP_RECT(element->screenNumber, e.left, region.bottom + 1,
                                                           e.right, e.bottom));
                    bandBottom = region.bottom;
                }
                if (e.left < region.left)
                    InsertBefore(nullptr, new UI_CLIP_RECT(element->screenNumber, e.left, bandTop,
                                                           region.left - 1, bandBottom));
                if (region.right < e.right)
                    InsertBefore(nullptr, new UI_CLIP_RECT(element->screenNumber, region.right + 1, bandTop,
                                                           e.right, bandBottom));
            }
            Unlink(element);
            delete element;
        }
        element = following;
    }
    if (head == nullptr && keepOne != 0)
        InsertBefore(nullptr, new UI_CLIP_RECT(screenNumber, region.left, region.bottom + 1, region.right,
                                               region.bottom + 2));
}
