// RecordingDisplay.h: a display for widget tests that draws nothing and
// writes down every drawing call (lines, boxes, texts, pictures, ellipses,
// updates), with metrics a test sets: by default 640 by 480, cells of 8 by
// 14 pixels with 2 above and 2 below, text 10 pixels high and 8 a character.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "widgets/UI_SCREEN.h"

class RecordingDisplay : public UI_SCREEN {
public:
    RecordingDisplay() : UI_SCREEN(0, "TEST", "RECORDING")
    {
        ready = 1;
        width = 640;
        height = 480;
        columnWidth = 8;
        rowHeight = 14;
    }

    struct Call {
        std::string what;   // "line", "box", "text", "pixels", "ellipse"
        int32_t screenNumber;
        UI_RECT rect;       // line ends, box corners, text position (right/bottom -1), picture extent
        const UI_COLOUR_ENTRY* colours;
        int32_t fill;
        std::string text;
        UI_RECT clip;       // all -1 without a clip
    };

    void DrawLine(int32_t screenNumber, int32_t column1, int32_t line1, int32_t column2, int32_t line2,
                  const UI_COLOUR_ENTRY* colours, int32_t, int32_t, const UI_RECT* clip) override
    {
        Note("line", screenNumber, UI_RECT{column1, line1, column2, line2}, colours, 0, "", clip);
    }
    void DrawBox(int32_t screenNumber, int32_t left, int32_t top, int32_t right, int32_t bottom,
                 const UI_COLOUR_ENTRY* colours, int32_t, int32_t fill, int32_t, const UI_RECT* clip) override
    {
        Note("box", screenNumber, UI_RECT{left, top, right, bottom}, colours, fill, "", clip);
    }
    void DrawString(int32_t screenNumber, int32_t left, int32_t top, const char* text,
                    const UI_COLOUR_ENTRY* colours, int32_t, int32_t fill, int32_t, const UI_RECT* clip,
                    int32_t) override
    {
        Note("text", screenNumber, UI_RECT{left, top, -1, -1}, colours, fill, text != nullptr ? text : "", clip);
    }
    void DrawPixels(int32_t screenNumber, int32_t left, int32_t top, int32_t imageWidth, int32_t imageHeight,
                    const uint8_t* pixels, const UI_COLOUR_ENTRY*, const UI_RECT* clip) override
    {
        Note("pixels", screenNumber, UI_RECT{left, top, left + imageWidth - 1, top + imageHeight - 1}, nullptr, 0,
             "", clip);
        lastPixels = pixels;
    }
    void DrawEllipse(int32_t screenNumber, int32_t column, int32_t line, int32_t, int32_t, int32_t radiusX,
                     int32_t radiusY, const UI_COLOUR_ENTRY* colours, int32_t fill, int32_t,
                     const UI_RECT* clip) override
    {
        Note("ellipse", screenNumber, UI_RECT{column - radiusX, line - radiusY, column + radiusX, line + radiusY},
             colours, fill, "", clip);
    }
    void AssignArea(int32_t screenNumber, int32_t left, int32_t top, int32_t right, int32_t bottom) override
    {
        assigned.push_back({"area", screenNumber, UI_RECT{left, top, right, bottom}, nullptr, 0, "", {}});
    }
    int32_t StringHeight(const char*, int32_t, int32_t) override { return textHeight; }
    int32_t StringWidth(const char* text, int32_t, int32_t) override
    {
        int32_t n = 0;
        for (const char* c = text; c != nullptr && *c != '\0'; ++c)
            n += *c != '&';
        return n * characterWidth;
    }
    int32_t ColourIndex(const UI_COLOUR_ENTRY* colours, int32_t foreground) override
    {
        return colours == nullptr ? 0 : foreground != 0 ? colours->foreground256 : colours->background256;
    }
    int32_t HoldScreen(int32_t, int32_t, int32_t, int32_t, int32_t) override { return ++holds; }
    int32_t ReleaseScreen(int32_t) override { return ++releases; }

    // The calls of one kind, in order.
    std::vector<Call> Of(const std::string& what) const
    {
        std::vector<Call> found;
        for (const Call& c : calls)
            if (c.what == what)
                found.push_back(c);
        return found;
    }

    std::vector<Call> calls;
    std::vector<Call> assigned;
    const uint8_t* lastPixels = nullptr;
    int32_t textHeight = 10;
    int32_t characterWidth = 8;
    int32_t holds = 0;
    int32_t releases = 0;

private:
    void Note(const char* what, int32_t screenNumber, const UI_RECT& rect, const UI_COLOUR_ENTRY* colours,
              int32_t fill, const std::string& text, const UI_RECT* clip)
    {
        calls.push_back({what, screenNumber, rect, colours, fill, text, clip != nullptr ? *clip : UI_RECT{-1, -1, -1, -1}});
    }
};
