// UI_ICON.h: UI_ICON, a small picture with a title under it that can be
// chosen like a button: a window icon stands for its window while the
// window is minimized (a double press restores it, a single press moves
// it); any other icon reports a double click to its user function. The
// program's picture buttons derive from it.
#pragma once

#include <cstdint>

#include "widgets/UI_WIDGET.h"

// iconFlags
constexpr uint16_t UI_ICON_DOUBLE_CLICK = 0x1;   // a quick second release is a double click
constexpr uint16_t UI_ICON_WINDOW = 0x2;         // stands for its window (a support object)
constexpr uint16_t UI_ICON_STATIC_IMAGE = 0x400; // the picture bytes are not the icon's

constexpr int32_t UI_ICON_SIZE = 32;   // pixels each way of every picture

// Requests of the icon beyond the common ones.
constexpr int32_t UI_QUERY_GET_IMAGE = 0x107;
constexpr int32_t UI_QUERY_SET_IMAGE = 0x108;
constexpr int32_t UI_QUERY_WINDOW_ICON = 0x8D;   // to a window: data is its icon

class UI_ICON : public UI_WIDGET {
public:
    // At (left, top) in cells, sized by its picture and title. newTitle is
    // copied unless objectFlags has 0x08; newImageName is only kept. The
    // picture comes later with request 0x108.
    UI_ICON(int32_t left, int32_t top, const char* newImageName, const char* newTitle, uint16_t newIconFlags = 0,
            uint16_t objectFlags = 0, UI_CALLBACK userFunction = nullptr);
    ~UI_ICON() override;

    // Requests (objectID 0 means 5): 0, 3-5 (iconFlags, own id only), 6,
    // 11, 12, 15 (the title), 0x107 (the pixels, or stored at data), 0x108
    // (a new picture of imageWidth by imageHeight bytes from data; null
    // leaves none); others go to the widget.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    int32_t Event(UI_MESSAGE* event) override;
    int32_t Draw(UI_MESSAGE* event, int32_t code) override;

    // Replaces the title as a label replaces its text; on the screen it is
    // placed centred under the picture, widening the icon when it is wider,
    // and redrawn.
    void SetTitle(const char* newTitle);

    uint16_t iconFlags;
    char* title = nullptr;
    char* imageName = nullptr;
    int32_t imageWidth = UI_ICON_SIZE;    // pixels
    int32_t imageHeight = UI_ICON_SIZE;
    uint8_t* image = nullptr;             // rows from the top, 0xFF transparent
    void* colorIcon = nullptr;            // device images: this display makes none
    void* monoIcon = nullptr;
    UI_RECT iconRegion{0, 0, 0, 0};       // where the picture stands
    UI_RECT titleRect{0, 0, 0, 0};        // where the title stands

    // When any icon last took a click, in hundredths of the time of day; set
    // by the first message any icon receives.
    static int32_t lastClick;
    static bool lastClickSet;

private:
    bool IsWindowIcon() const { return iconFlags & UI_ICON_WINDOW; }
    bool WindowMinimized() const;
    bool PointOnIcon(const UI_POINT& point) const;
    void Tail(int32_t request, uint16_t objectID);
    void FreeImage();
    int32_t DrawingCode(UI_MESSAGE* event, int32_t code);
    int32_t LayOut(UI_MESSAGE* event, int32_t code);
    int32_t Initialise(UI_MESSAGE* event, int32_t code);
    int32_t Press(UI_MESSAGE* event, int32_t code);
    int32_t Release(UI_MESSAGE* event, int32_t code);
    void DrawInList(int32_t code);
};
