// UI_ICON.cpp: the icon's construction, title, requests, layout, the press
// and release of window icons and of icons in windows or lists, and its
// drawing.
#include "widgets/UI_ICON.h"

#include <cstring>

#include "core/TextUtil.h"
#include "widgets/TimeOfDay.h"
#include "widgets/UI_BUTTON.h"
#include "widgets/UI_SCREEN.h"
#include "widgets/UI_WINDOW.h"
#include "widgets/WindowMessages.h"

int32_t UI_ICON::lastClick = 0;
bool UI_ICON::lastClickSet = false;

namespace {

constexpr int32_t RAW_FROM_ICON = 1;   // raw code of the restore and move an icon sends
constexpr int32_t ICON_FONT = 0;

bool Clipped(const UI_RECT& region, const UI_RECT& clip, UI_RECT& out)
{
    return IntersectRects(region, clip, out);
}

} // namespace

UI_ICON::UI_ICON(int32_t left, int32_t top, const char* newImageName, const char* newTitle, uint16_t newIconFlags,
                 uint16_t objectFlags, UI_CALLBACK userFunction)
    : UI_WIDGET(left, top, 0, 0, objectFlags, 0), iconFlags(newIconFlags)
{
    SetTitle(newTitle);
    imageName = StringDuplicate(newImageName);
    callback = userFunction;
    UI_ICON::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_ICON);
}

UI_ICON::~UI_ICON()
{
    if (!(flags & UI_FLAG_TEXT_NOT_COPIED))
        delete[] title;
    delete[] imageName;
    FreeImage();
}

void UI_ICON::FreeImage()
{
    if (!(iconFlags & UI_ICON_STATIC_IMAGE))
        delete[] image;
    image = nullptr;
    colorIcon = nullptr;   // the display made none to free
    monoIcon = nullptr;
}

bool UI_ICON::WindowMinimized() const
{
    return parent != nullptr && (parent->status & UI_STATUS_MINIMIZED);
}

bool UI_ICON::PointOnIcon(const UI_POINT& point) const
{
    return PointInside(iconRegion, point) || (title != nullptr && PointInside(titleRect, point));
}

void UI_ICON::SetTitle(const char* newTitle)
{
    const bool borrowed = flags & UI_FLAG_TEXT_NOT_COPIED;
    if (title != nullptr && title != newTitle && !borrowed)
        delete[] title;
    title = newTitle == title || borrowed ? const_cast<char*>(newTitle) : StringDuplicate(newTitle);
    HotKeyFromText(title);
    if (screenNumber == 0 || title == nullptr || screen == nullptr)
        return;
    const int32_t width = screen->StringWidth(title, screenNumber, ICON_FONT);
    titleRect.bottom = screenRect.bottom;
    titleRect.top = screenRect.bottom - screen->StringHeight(title, screenNumber, ICON_FONT);
    const int32_t centre = (screenRect.left + screenRect.right) / 2;
    titleRect.left = centre - width / 2;
    titleRect.right = centre + width / 2;
    if (titleRect.left < screenRect.left)
        screenRect.left = titleRect.left;
    if (titleRect.right > screenRect.right)
        screenRect.right = titleRect.right;
    SendMessage(this, UI_CODE_REDISPLAY);
}

void UI_ICON::Tail(int32_t request, uint16_t objectID)
{
    status |= UI_STATUS_DRAWS_ITSELF;
    if (!IsWindowIcon()) {
        if (objectID == UI_ID_ICON && (status & UI_STATUS_ON_SCREEN)) {
            SendMessage(this, UI_CODE_INITIALIZE);
            SendMessage(this, UI_CODE_LAYOUT);
        }
    } else if (request == UI_QUERY_FLAGS_CHANGED && parent != nullptr) {
        parent->Query(UI_QUERY_WINDOW_ICON, this, 0);
    }
}

void* UI_ICON::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_ICON;
    switch (request) {
    case UI_QUERY_INITIALISE:
        SetClassChain({UI_ID_ICON});
        if (flags & UI_FLAG_SUPPORT)
            iconFlags |= UI_ICON_WINDOW;
        if (IsWindowIcon())
            flags |= UI_FLAG_SUPPORT;
        font = ICON_FONT;
        HotKeyFromText(title);
        Tail(request, objectID);
        return data;
    case UI_QUERY_GET_FLAGS:
        if (objectID != UI_ID_ICON)
            return UI_WIDGET::Query(request, data, objectID);
        if (data == nullptr)
            return &iconFlags;
        *static_cast<uint16_t*>(data) = iconFlags;
        return data;
    case UI_QUERY_SET_FLAGS:
    case UI_QUERY_CLEAR_FLAGS:
        if (objectID != UI_ID_ICON)
            return UI_WIDGET::Query(request, data, objectID);
        if (data != nullptr) {
            const uint16_t bits = *static_cast<const uint16_t*>(data);
            iconFlags = request == UI_QUERY_SET_FLAGS ? iconFlags | bits : iconFlags & static_cast<uint16_t>(~bits);
        }
        return data;
    case UI_QUERY_FLAGS_CHANGED:
        if (!IsWindowIcon())
            UI_WIDGET::Query(request, data, UI_ID_ICON);
        Tail(request, objectID);
        return data;
    case UI_QUERY_GET_TEXT:
        if (data == nullptr)
            return title;
        *static_cast<char**>(data) = title;
        return data;
    case UI_QUERY_SET_TEXT:
        SetTitle(static_cast<const char*>(data));
        return data;
    case UI_QUERY_COPY_TEXT:
        if (data != nullptr)
            std::strcpy(static_cast<char*>(data), title != nullptr ? title : "");
        return data;
    case UI_QUERY_GET_IMAGE:
        // The display keeps no device images to turn back into pixels: the
        // pixels are never dropped, so the array is the answer.
        if (data == nullptr)
            return image;
        *static_cast<uint8_t**>(data) = image;
        return data;
    case UI_QUERY_SET_IMAGE:
        FreeImage();
        iconFlags &= ~UI_ICON_STATIC_IMAGE;
        if (data != nullptr && imageWidth > 0 && imageHeight > 0) {
            const size_t count = static_cast<size_t>(imageWidth) * static_cast<size_t>(imageHeight);
            image = new uint8_t[count];
            std::memcpy(image, data, count);
        }
        return data;
    default:
        return UI_WIDGET::Query(request, data, objectID);
    }
}

int32_t UI_ICON::Event(UI_MESSAGE* event)
{
    if (!lastClickSet) {
        lastClick = TimeOfDayHundredths();
        lastClickSet = true;
    }
    const int32_t code = MapEvent(event, UI_ID_ICON);
    switch (code) {
    case UI_CODE_DRAW_CURRENT:
    case UI_CODE_DRAW_INACTIVE:
    case UI_CODE_DRAW_NORMAL:
    case UI_CODE_DEACTIVATE:
        return DrawingCode(event, code);
    case UI_CODE_CHANGED:
    case UI_CODE_LAYOUT:
        return LayOut(event, code);
    case UI_CODE_CLAIM_REGION: {
        if (!IsWindowIcon())
            return UI_WIDGET::Event(event);
        UI_RECT part;
        if (screen != nullptr && Clipped(iconRegion, clipRect, part))
            screen->AssignArea(screenNumber, part.left, part.top, part.right, part.bottom);
        if (screen != nullptr && title != nullptr && Clipped(titleRect, clipRect, part))
            screen->AssignArea(screenNumber, part.left, part.top, part.right, part.bottom);
        return code;
    }
    case UI_CODE_INITIALIZE:
        return Initialise(event, code);
    case UI_CODE_PRESS:
        return Press(event, code);
    case UI_CODE_RELEASE:
        return Release(event, code);
    default:
        return UI_WIDGET::Event(event);
    }
}

// A window icon can be chosen, and is drawn, only while its window is
// minimized.
int32_t UI_ICON::DrawingCode(UI_MESSAGE* event, int32_t code)
{
    if (IsWindowIcon()) {
        if (WindowMinimized())
            flags &= ~UI_FLAG_NOT_SELECTABLE;
        else
            flags |= UI_FLAG_NOT_SELECTABLE;
    }
    UI_WIDGET::Event(event);
    if (IsWindowIcon() && !WindowMinimized()) {
        status &= ~UI_STATUS_REDRAW;
        return code;
    }
    if ((status & UI_STATUS_REDRAW) && screen != nullptr && screenNumber != 0) {
        screen->HoldScreen(screenNumber, screenRect.left, screenRect.top, screenRect.right, screenRect.bottom);
        Draw(event, code);
        screen->ReleaseScreen(screenNumber);
        status &= ~UI_STATUS_REDRAW;
    }
    return code;
}

// The picture at the top of the region (centred when the region is wider),
// the title along its bottom.
int32_t UI_ICON::LayOut(UI_MESSAGE* event, int32_t code)
{
    int32_t answer = code;
    if (IsWindowIcon())
        screenNumber = parent != nullptr ? parent->screenNumber : 0;
    else
        answer = UI_WIDGET::Event(event);
    if (title == nullptr || screen == nullptr) {
        iconRegion = screenRect;
        return answer;
    }
    int32_t left = screenRect.left;
    if (screenRect.right - screenRect.left + 1 > imageWidth)
        left = (screenRect.left + screenRect.right - imageWidth) / 2;
    iconRegion = UI_RECT{left, screenRect.top, left + imageWidth - 1, screenRect.top + imageHeight - 1};
    titleRect = screenRect;
    titleRect.top = screenRect.bottom - screen->StringHeight(title, screenNumber, ICON_FONT);
    SetTitle(title);
    return answer;
}

int32_t UI_ICON::Initialise(UI_MESSAGE* event, int32_t code)
{
    status &= ~UI_STATUS_DRAWS_ITSELF;
    imageWidth = imageHeight = UI_ICON_SIZE;
    if (flags & UI_FLAG_SUPPORT)
        iconFlags |= UI_ICON_WINDOW;
    if (IsWindowIcon()) {
        flags |= UI_FLAG_CENTRED;
        if (parent != nullptr) {
            givenRect.left = parent->givenRect.left;
            givenRect.top = parent->givenRect.top;
        }
    } else {
        UI_WIDGET::Event(event);
    }
    givenRect.right = givenRect.left + imageWidth + 2;
    givenRect.bottom = givenRect.top + imageHeight + 2;
    if (title != nullptr && screen != nullptr) {
        const int32_t width = screen->StringWidth(title, screenNumber, ICON_FONT);
        if (flags & UI_FLAG_CENTRED) {
            givenRect.bottom += screen->rowHeight / 4 + screen->StringHeight(title, screenNumber, ICON_FONT);
            if (width > imageWidth)
                givenRect.right = givenRect.left + width + screen->columnWidth;
        } else {
            givenRect.right = givenRect.left + width - 1;
        }
    }
    if (IsWindowIcon()) {
        screenRect = givenRect;
        if (parent != nullptr)
            parent->Query(UI_QUERY_WINDOW_ICON, this, 0);
    }
    return code;
}

// A press on a window icon restores its window when it comes soon after the
// last click, and otherwise starts moving it.
int32_t UI_ICON::Press(UI_MESSAGE* event, int32_t code)
{
    if (!IsWindowIcon())
        return UI_WIDGET::Event(event);
    if (!PointOnIcon(event->point))
        return UI_CODE_NOT_HANDLED;
    const int32_t now = TimeOfDayHundredths();
    const bool soon = ElapsedHundredths(lastClick, now) < UI_DOUBLE_CLICK_TIME;
    lastClick = now;
    if (parent != nullptr) {
        UI_MESSAGE command(soon ? UI_CODE_RESTORE : UI_CODE_MOVE);
        command.code = RAW_FROM_ICON;
        command.point = event->point;
        parent->Event(&command);
    }
    return code;
}

int32_t UI_ICON::Release(UI_MESSAGE* event, int32_t code)
{
    if (!PointOnIcon(event->point))
        return code;
    const int32_t now = TimeOfDayHundredths();
    UI_MESSAGE release(UI_CODE_RELEASE);
    if (ElapsedHundredths(lastClick, now) < UI_DOUBLE_CLICK_TIME && (iconFlags & UI_ICON_DOUBLE_CLICK))
        return RunCallback(&release, UI_CODE_DOUBLE_CLICK);
    const int32_t answer = RunCallback(&release, UI_CODE_SELECT);
    lastClick = now;
    return answer;
}

int32_t UI_ICON::Draw(UI_MESSAGE*, int32_t code)
{
    if (screen == nullptr)
        return code;
    if (parent != nullptr && parent->HasClass(UI_ID_LIST)) {
        DrawInList(code);
        return code;
    }
    UI_RECT area = iconRegion;
    if (flags & UI_FLAG_BORDER)
        DrawBorder(screenNumber, &area, 0, code);
    if (image == nullptr && colorIcon == nullptr) {
        screen->DrawBox(screenNumber, area.left, area.top, area.right, area.bottom, colours, 0, 1, 0, &clipRect);
    } else {
        if (IsWindowIcon()) {
            const bool inWindow = parent != nullptr && parent->parent != nullptr &&
                                  !parent->parent->HasClass(UI_ID_DESKTOP);
            if (inWindow || desktop == nullptr)
                screen->DrawBox(screenNumber, iconRegion.left, iconRegion.top, iconRegion.right, iconRegion.bottom,
                                colours, 0, 1, 0, &clipRect);
            else
                desktop->FillBackground(iconRegion);
        }
        screen->DrawPixels(screenNumber, iconRegion.left, iconRegion.top, imageWidth, imageHeight, image, nullptr,
                           &clipRect);
    }
    if (title != nullptr) {
        UI_RECT titleArea = titleRect;
        DrawText(screenNumber, &titleArea, title, colours, 1, code);
    }
    return code;
}

// In a list: the list's colours, the picture placed by the justification
// flags and the title below it (centred), before it (right) or after it.
void UI_ICON::DrawInList(int32_t code)
{
    const UI_COLOUR_ENTRY* entry = code != UI_CODE_DRAW_CURRENT ? ChooseColours(code, UI_ID_LIST) : colours;
    colours = entry;
    screen->HoldScreen(screenNumber, screenRect.left, screenRect.top, screenRect.right, screenRect.bottom);
    UI_RECT area = screenRect;
    if (flags & UI_FLAG_BORDER)
        DrawBorder(screenNumber, &area, 0, code);
    screen->DrawBox(screenNumber, area.left, area.top, area.right, area.bottom, entry, 0, 1, 0, &clipRect);
    area.left += 4;
    if (parent->HasClass(UI_ID_LIST_BOX))
        area.left += givenRect.left;
    if (flags & (UI_FLAG_CENTRED | UI_FLAG_RIGHT))
        area.right -= 4;
    int32_t left = area.left;
    if (flags & UI_FLAG_RIGHT)
        left = area.right - imageWidth + 1;
    else if (flags & UI_FLAG_CENTRED)
        left = area.left + (area.right - area.left + 1 - imageWidth) / 2;
    const int32_t top = (flags & UI_FLAG_CENTRED) && title != nullptr
                            ? area.top + 2
                            : area.top + (area.bottom - area.top + 1 - imageHeight) / 2;
    if (image != nullptr)
        screen->DrawPixels(screenNumber, left, top, imageWidth, imageHeight, image, nullptr, &clipRect);
    if (title != nullptr) {
        const uint16_t kept = flags;
        if (flags & UI_FLAG_CENTRED) {
            area.top = area.bottom - screen->rowHeight + 4 + screen->spaceAbove + screen->spaceBelow;
        } else if (flags & UI_FLAG_RIGHT) {
            area.right -= imageWidth - 4;
            flags &= ~UI_FLAG_RIGHT;
        } else {
            area.left += imageWidth + 4;
        }
        area.bottom -= 1;
        DrawText(screenNumber, &area, title, entry, 0, code);
        flags = kept;
    }
    screen->ReleaseScreen(screenNumber);
}
