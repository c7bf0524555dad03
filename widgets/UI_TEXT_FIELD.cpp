// UI_TEXT_FIELD.cpp: the multi-line text editor: its buffer and requests,
// the display-line measuring, the layout of its line objects and its keys.
#include "widgets/UI_TEXT_FIELD.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_SCREEN.h"
#include "widgets/UI_TEXT_CURSOR.h"
#include "widgets/WindowMessages.h"

namespace {

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Past one line end at p (CR LF, LF CR, CR or LF).
char* SkipLineEnd(char* p)
{
    if (*p == '\r') {
        ++p;
        if (*p == '\n')
            ++p;
    } else if (*p == '\n') {
        ++p;
        if (*p == '\r')
            ++p;
    }
    return p;
}

UI_STRING_FIELD* AsLine(UI_NODE* node)
{
    return static_cast<UI_STRING_FIELD*>(node);
}

} // namespace

UI_TEXT_FIELD::UI_TEXT_FIELD(int32_t left, int32_t top, int32_t width, int32_t height, const char* newText,
                             int32_t newMaxLength, uint16_t listFlagBits, uint16_t objectFlags,
                             UI_CALLBACK userFunction)
    : UI_WINDOW(left, top, width, height, objectFlags),
      maxLength(newMaxLength),
      editor(0, 0, width, nullptr, 1, 0, 0x80C, nullptr)
{
    listFlags |= listFlagBits;
    if (maxLength == -1)
        maxLength = newText != nullptr ? static_cast<int32_t>(std::strlen(newText)) + 1 : width * height;
    if (maxLength < 0)
        maxLength = 0;
    if (!(flags & UI_FLAG_TEXT_NOT_COPIED)) {
        text = new char[static_cast<size_t>(maxLength) + 1];
        text[0] = '\0';
    }
    callback = userFunction;
    UI_TEXT_FIELD::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_TEXT_FIELD);
    SetText(newText, -1);
}

UI_TEXT_FIELD::~UI_TEXT_FIELD()
{
    // The line objects point into the buffer: they go first.
    UI_NODE_LIST::DeleteAll();
    editor.text = nullptr;
    if (!(flags & UI_FLAG_TEXT_NOT_COPIED))
        delete[] text;
}

void UI_TEXT_FIELD::PointEditor()
{
    editor.maxLength = maxLength;
    editor.text = text;
    editor.length = text != nullptr ? static_cast<int32_t>(std::strlen(text)) : 0;
    editor.insertMode = insertMode;
    editor.cursor = 0;
    editor.markStart = editor.markEnd = -1;
    editor.leftOffset = 0;
}

void* UI_TEXT_FIELD::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_TEXT_FIELD;
    switch (request) {
    case UI_QUERY_INITIALISE:
        SetClassChain({UI_ID_TEXT_FIELD, UI_ID_STRING_FIELD, UI_ID_WINDOW});
        font = UI_FONT_OBJECT;
        insertMode = 1;
        PointEditor();
        editor.windowFlags = UI_WINDOW_KEPT;
        listFlags |= UI_LIST_DRAG_CHOOSES;
        return data;
    case UI_QUERY_FLAGS_CHANGED:
        UI_WINDOW::Query(request, data, objectID);
        if (objectID == UI_ID_TEXT_FIELD && (status & UI_STATUS_ON_SCREEN)) {
            SendMessage(&editor, UI_CODE_INITIALIZE);
            SendMessage(&editor, UI_CODE_LAYOUT);
        }
        listFlags |= UI_LIST_DRAG_CHOOSES;
        return data;
    default: {
        bool handled = false;
        void* answer = AnswerTextRequest(
            request, data, text, maxLength, [this](const char* t, int32_t m) { SetText(t, m); }, handled);
        return handled ? answer : UI_WINDOW::Query(request, data, objectID);
    }
    }
}

void UI_TEXT_FIELD::SetText(const char* newText, int32_t newMaxLength)
{
    const bool borrowed = flags & UI_FLAG_TEXT_NOT_COPIED;
    if (!borrowed && newMaxLength != -1) {
        if (newMaxLength > maxLength) {
            auto* grown = new char[static_cast<size_t>(newMaxLength) + 1];
            const size_t kept = text != nullptr ? strnlen(text, static_cast<size_t>(maxLength)) : 0;
            if (kept > 0)
                std::memcpy(grown, text, kept);
            grown[kept] = '\0';
            if (newText == text)
                newText = grown;
            delete[] text;
            text = grown;
        }
        maxLength = newMaxLength < 0 ? 0 : newMaxLength;
    } else if (borrowed && newMaxLength != -1 && newMaxLength < maxLength) {
        // The caller's buffer is as large as it was given: the maximum may
        // fall, never rise.
        maxLength = newMaxLength < 0 ? 0 : newMaxLength;
    }
    if (newText == text || borrowed) {
        text = const_cast<char*>(newText);
    } else if (text != nullptr) {
        const size_t room = static_cast<size_t>(maxLength);
        const size_t count = newText != nullptr ? strnlen(newText, room) : 0;
        if (count > 0)
            std::memmove(text, newText, count);
        text[count] = '\0';
    }
    if (text == nullptr) {   // the caller's buffer, not given
        static char none[1] = "";
        text = none;
        maxLength = 0;
    }
    PointEditor();
    topLine = text;
    if (First() != nullptr)
        UpdateLines(false, true);
    if (screenNumber != 0) {
        SendMessage(this, UI_CODE_SHOW_CURRENT_VERTICAL);
        SendMessage(this, UI_CODE_REDISPLAY);
    }
}

int32_t UI_TEXT_FIELD::NextTextLine(char** position, int32_t width, int32_t font)
{
    char* start = *position;
    char* p = start;
    int32_t run = 1;
    while (*p != '\0' && !IsLineEnd(*p) && run < width) {
        run += UI_STRING_FIELD::CharacterWidth(static_cast<unsigned char>(*p), font);
        ++p;
    }
    char* end = p;
    char* next = p;
    if (*p != '\0' && !IsLineEnd(*p)) {
        // Too wide: break at the last space, or inside the word.
        char* space = p;
        while (space > start && *space != ' ')
            --space;
        if (space > start) {
            end = space;
            while (end > start && end[-1] == ' ')
                --end;
            next = space;
        } else {
            end = next = p - 1 > start ? p - 1 : start + 1;   // at least one character
        }
    }
    while (*next == ' ')
        ++next;
    *position = SkipLineEnd(next);
    return static_cast<int32_t>(end - start);
}

int32_t UI_TEXT_FIELD::PrevTextLine(char* bufferStart, char** position, int32_t width, int32_t font)
{
    char* limit = *position;
    if (limit <= bufferStart)
        return 0;
    char* p = limit;
    if (IsLineEnd(p[-1])) {
        const char first = *--p;
        if (p > bufferStart && IsLineEnd(p[-1]) && p[-1] != first)
            --p;
    }
    while (p > bufferStart && !IsLineEnd(p[-1]))
        --p;
    for (;;) {
        char* line = p;
        const int32_t length = NextTextLine(&p, width, font);
        if (p >= limit || p == line) {
            *position = line;
            return length;
        }
    }
}

int32_t UI_TEXT_FIELD::Draw(UI_MESSAGE*, int32_t)
{
    return 0;
}

int32_t UI_TEXT_FIELD::LineCount() const
{
    int32_t count = 0;
    for (UI_NODE* n = head; n != nullptr; n = n->next)
        ++count;
    return count;
}

int32_t UI_TEXT_FIELD::LineStartAt(int32_t offset) const
{
    char* p = text + offset;
    while (p > text && !IsLineEnd(p[-1]))
        --p;
    for (;;) {
        char* line = p;
        NextTextLine(&p, editor.drawnWidth, font);
        if (p > text + offset || p == line || (*p == '\0' && !IsLineEnd(p[-1])))
            return static_cast<int32_t>(line - text);
    }
}

int32_t UI_TEXT_FIELD::LineLength(int32_t start) const
{
    char* p = text + start;
    return NextTextLine(&p, editor.drawnWidth, font);
}

int32_t UI_TEXT_FIELD::NextLineStart(int32_t start) const
{
    char* p = text + start;
    NextTextLine(&p, editor.drawnWidth, font);
    return static_cast<int32_t>(p - text);
}

void UI_TEXT_FIELD::UpdateLines(bool redraw, bool relayout)
{
    const int32_t lines = LineCount();
    if (lines == 0 || text == nullptr)
        return;
    const int32_t wrap = editor.drawnWidth;
    const int32_t cursorAt = std::clamp(editor.cursor, 0, editor.length);
    int32_t top = static_cast<int32_t>(topLine - text);
    // Keep the cursor's line among the shown ones.
    const int32_t cursorLine = LineStartAt(cursorAt);
    if (cursorLine < top) {
        top = cursorLine;
    } else {
        int32_t lastStart = top;
        for (int32_t n = 1; n < lines; ++n) {
            const int32_t next = NextLineStart(lastStart);
            if (next == lastStart)
                break;
            lastStart = next;
        }
        if (cursorLine > lastStart) {
            char* p = text + cursorLine;
            for (int32_t n = 1; n < lines && p > text; ++n)
                PrevTextLine(text, &p, wrap, font);
            top = static_cast<int32_t>(p - text);
        }
    }
    const bool topMoved = text + top != topLine;
    topLine = text + top;

    // First every line object takes its display line, then the current line
    // is chosen and each is redrawn when it changed.
    struct Before {
        const char* text;
        int32_t length, leftOffset, markStart, markEnd, cursor;
        uint16_t status;
    };
    std::vector<Before> before;
    before.reserve(static_cast<size_t>(lines));
    char* p = topLine;
    bool ended = false;
    for (UI_NODE* node = head; node != nullptr; node = node->next) {
        UI_STRING_FIELD* line = AsLine(node);
        before.push_back({line->text, line->length, line->leftOffset, line->markStart, line->markEnd, line->cursor,
                          line->status});
        if (!relayout && !topMoved)
            continue;
        line->text = p;
        if (ended)
            line->flags |= UI_FLAG_NOT_SELECTABLE;
        else
            line->flags &= ~UI_FLAG_NOT_SELECTABLE;
        char* next = p;
        line->length = ended ? 0 : NextTextLine(&next, wrap, font);
        line->maxLength = line->length + 1;
        if (!ended && p[line->length] == '\0' && next == p + line->length)
            ended = true;   // this line ends the text
        p = ended ? p + line->length : next;
    }
    UI_STRING_FIELD* chosen = nullptr;
    size_t n = 0;
    for (UI_NODE* node = head; node != nullptr; node = node->next, ++n) {
        UI_STRING_FIELD* line = AsLine(node);
        const int32_t start = static_cast<int32_t>(line->text - text);
        const bool selectable = !(line->flags & UI_FLAG_NOT_SELECTABLE);
        const bool last = node->next == nullptr || (AsLine(node->next)->flags & UI_FLAG_NOT_SELECTABLE);
        const int32_t next = NextLineStart(start);
        if (chosen == nullptr && selectable && cursorAt >= start && (cursorAt < next || last || next == start)) {
            chosen = line;
            line->status |= UI_STATUS_CURRENT;
            line->cursor = std::clamp(cursorAt - start, 0, line->length);
        } else {
            line->status &= ~UI_STATUS_CURRENT;
            line->cursor = editor.leftOffset;
        }
        line->leftOffset = editor.leftOffset;
        line->markStart = line->markEnd = -1;
        if (editor.markStart >= 0) {
            const int32_t from = std::max(editor.markStart - start, 0);
            const int32_t to = std::min(editor.markEnd - start, line->length);
            if (to > from) {
                line->markStart = from;
                line->markEnd = to;
            }
        }
        line->insertMode = insertMode;
        const Before& b = before[n];
        if (redraw && line->screenNumber != 0 &&
            (line->text != b.text || line->length != b.length || line->leftOffset != b.leftOffset ||
             line->markStart != b.markStart || line->markEnd != b.markEnd || line->cursor != b.cursor ||
             line->status != b.status))
        {
            SendMessage(line, UI_CODE_REDISPLAY);
            // Keeps the input devices read while many lines are drawn.
            UI_MESSAGE waiting;
            if (inputManager != nullptr)
                inputManager->Get(&waiting, UI_GET_NO_WAIT | UI_GET_PEEK);
        }
    }
    if (chosen != nullptr)
        current = chosen;
}

void UI_TEXT_FIELD::MakeLines(UI_MESSAGE* event)
{
    UI_WINDOW::DeleteAll();
    clipList.DeleteAll();
    UI_WINDOW::Event(event);
    UI_RECT area = (flags & UI_FLAG_BORDER) ? UI_RECT{screenRect.left + 1, screenRect.top + 1, screenRect.right - 1,
                                                      screenRect.bottom - 1}
                                            : screenRect;
    if (clipList.First() != nullptr)
        area = clipList.First()->region;
    editor.textRegion = area;
    const int32_t areaWidth = area.right - area.left + 1;
    editor.drawnWidth = ((listFlags & UI_TEXT_NO_WRAP) ? UI_TEXT_UNWRAPPED_WIDTH : areaWidth) - 10;
    lineHeight = screen != nullptr ? screen->StringHeight(text, screenNumber, font) + screen->spaceAbove +
                                         screen->spaceBelow
                                   : 1;
    if (lineHeight < 1)
        lineHeight = 1;
    const uint16_t lineFlags =
        static_cast<uint16_t>((flags & (UI_FLAG_NOT_SELECTABLE | UI_FLAG_VIEW_ONLY)) | UI_FLAG_TEXT_NOT_COPIED);
    for (int32_t y = 0; y + lineHeight <= area.bottom - area.top + 1; y += lineHeight) {
        auto* line = new UI_STRING_FIELD(0, 0, 1, nullptr, UI_TEXT_LINE_ROOM, UI_STRING_KEEP_LENGTH, lineFlags, nullptr);
        line->status |= UI_STATUS_IN_PIXELS;
        line->givenRect = UI_RECT{0, y, areaWidth - 1, y + lineHeight - 1};
        line->screenRect = line->givenRect;
        line->text = text;
        line->length = 0;
        line->parent = this;
        UI_NODE_LIST::InsertBefore(nullptr, line);
    }
    UpdateLines(false, true);
    for (UI_NODE* node = head; node != nullptr; node = node->next) {
        SendMessage(AsLine(node), UI_CODE_INITIALIZE);
        AsLine(node)->Event(event);
    }
}

bool UI_TEXT_FIELD::DropAutomaticMark()
{
    if (!(editor.status & UI_STATUS_AUTO_MARK))
        return false;
    editor.status &= ~UI_STATUS_AUTO_MARK;
    editor.markStart = editor.markEnd = -1;
    for (UI_NODE* node = head; node != nullptr; node = node->next)
        AsLine(node)->status &= ~UI_STATUS_AUTO_MARK;
    return true;
}

void UI_TEXT_FIELD::DeleteSpan(int32_t from, int32_t count)
{
    count = std::min(count, editor.length - from);
    if (count <= 0)
        return;
    std::memmove(text + from, text + from + count, static_cast<size_t>(editor.length - from - count) + 1);
    editor.length -= count;
    status |= UI_STATUS_CHANGED;
}

// One character back, a CR LF pair as one.
int32_t UI_TEXT_FIELD::StepLeft(int32_t offset) const
{
    if (offset <= 0)
        return 0;
    --offset;
    if (offset > 0 && IsLineEnd(text[offset]) && IsLineEnd(text[offset - 1]) && text[offset] != text[offset - 1])
        --offset;
    return offset;
}

int32_t UI_TEXT_FIELD::StepRight(int32_t offset) const
{
    if (offset >= editor.length)
        return editor.length;
    if (IsLineEnd(text[offset]))
        return static_cast<int32_t>(SkipLineEnd(text + offset) - text);
    return offset + 1;
}

// Up, down, page up and page down: the cursor to the same column of another
// display line. Page up goes to the first line object, or from there a page
// back; page down to the last selectable line object, or from there a page
// on. Answers the code.
int32_t UI_TEXT_FIELD::MoveVertically(int32_t code)
{
    const bool page = code == UI_CODE_PAGE_UP || code == UI_CODE_PAGE_DOWN;
    int32_t steps = page ? std::max(LineCount() - 1, 1) : 1;
    const bool up = code == UI_CODE_UP || code == UI_CODE_PAGE_UP;
    int32_t start = LineStartAt(editor.cursor);
    const int32_t column = editor.cursor - start;
    if (page && current != nullptr) {
        // Line objects between the current one and the first (page up) or
        // the last selectable one (page down).
        int32_t index = 0;
        int32_t lastSelectable = 0;
        int32_t n = 0;
        for (UI_NODE* node = head; node != nullptr; node = node->next, ++n) {
            if (node == current)
                index = n;
            if (!(AsLine(node)->flags & UI_FLAG_NOT_SELECTABLE))
                lastSelectable = n;
        }
        const int32_t within = up ? index : lastSelectable - index;
        if (within > 0)
            steps = within;
    }
    for (int32_t n = 0; n < steps; ++n) {
        if (up) {
            if (start == 0)
                break;
            char* p = text + start;
            PrevTextLine(text, &p, editor.drawnWidth, font);
            start = static_cast<int32_t>(p - text);
        } else {
            const int32_t next = NextLineStart(start);
            const bool endsText = text[start + LineLength(start)] == '\0' && next == start + LineLength(start);
            if (endsText || next == start)
                break;
            start = next;
        }
    }
    editor.cursor = start + std::min(column, LineLength(start));
    return code;
}

int32_t UI_TEXT_FIELD::MouseMark(UI_MESSAGE* event, int32_t code)
{
    // Outside the text area (on a scroll bar, say) the window has it.
    if (!PointInside(editor.textRegion, event->point) || (status & UI_STATUS_MOUSE_ANYWAY))
        return UI_WINDOW::Event(event);
    DropAutomaticMark();
    if (flags & UI_FLAG_VIEW_ONLY)
        return code;
    UI_STRING_FIELD* under = nullptr;
    for (UI_NODE* node = head; node != nullptr; node = node->next) {
        UI_STRING_FIELD* line = AsLine(node);
        if (!(line->flags & UI_FLAG_NOT_SELECTABLE) && event->point.line >= line->screenRect.top &&
            event->point.line <= line->screenRect.bottom)
            under = line;
    }
    if (under == nullptr) {
        // Below the last line of a short text: its end.
        for (UI_NODE* node = head; node != nullptr; node = node->next)
            if (!(AsLine(node)->flags & UI_FLAG_NOT_SELECTABLE))
                under = AsLine(node);
        if (under == nullptr)
            return UI_CODE_NOT_HANDLED;
    }
    under->markStart = under->markEnd = -1;
    UI_MESSAGE copy = *event;
    copy.point.column = std::clamp(copy.point.column, under->screenRect.left, under->screenRect.right);
    copy.point.line = under->screenRect.top;
    under->Event(&copy);
    editor.cursor = static_cast<int32_t>(under->text - text) + under->cursor;
    if (code == UI_CODE_MARK_BEGIN || editor.markStart < 0) {
        editor.markStart = editor.markEnd = editor.cursor;
    }
    if (code == UI_CODE_MARK_END) {
        if (editor.markStart == editor.markEnd)
            editor.markStart = editor.markEnd = -1;
        else
            editor.status |= UI_STATUS_AUTO_MARK;
    }
    return code;
}

// Cut and the deletes. Answers the code.
int32_t UI_TEXT_FIELD::DeleteKey(UI_MESSAGE* event, int32_t code)
{
    if (editor.markStart >= 0 && text + editor.markStart < topLine)
        topLine = text + LineStartAt(editor.markStart);
    const int32_t start = LineStartAt(editor.cursor);
    const int32_t end = start + LineLength(start);
    if (code == UI_CODE_DELETE_EOL && editor.markStart < 0) {
        DeleteSpan(editor.cursor, end - editor.cursor);
        return code;
    }
    if (editor.markStart < 0 && code != UI_CODE_CUT && editor.cursor == end && editor.cursor < editor.length) {
        // At a display line's end: join it with the next line.
        const int32_t next = NextLineStart(start);
        if (text[end] == ' ')
            DeleteSpan(end, 1);
        else
            DeleteSpan(end, static_cast<int32_t>(SkipLineEnd(text + end) - (text + end)));
        (void)next;
        return code;
    }
    const int32_t before = editor.length;
    editor.Event(event);
    if (editor.length != before)
        status |= UI_STATUS_CHANGED;
    return code;
}

void UI_TEXT_FIELD::SendScrollValues(bool moved, int32_t code)
{
    UI_STRING_FIELD* line = AsLine(current);
    if (line == nullptr || line->text == nullptr)
        return;
    const int32_t cell = screen != nullptr && screen->columnWidth > 0 ? screen->columnWidth : 1;
    if (horizontalScroll != nullptr && (moved || code == UI_CODE_LAYOUT)) {
        UI_MESSAGE set(UI_CODE_SET_SCROLL_HORIZONTAL);
        set.data[0] = line->cursor;
        set.data[1] = 0;
        set.data[2] = line->length;
        set.data[3] = std::min(line->length, editor.drawnWidth / cell);
        set.data[4] = 1;
        horizontalScroll->Event(&set);
    }
    if (verticalScroll != nullptr && (moved || code == UI_CODE_LAYOUT)) {
        int32_t page = 0;
        for (UI_NODE* node = head; node != nullptr; node = node->next)
            page += AsLine(node)->length + 1;
        UI_MESSAGE set(UI_CODE_SET_SCROLL);
        set.data[0] = static_cast<int32_t>(line->text - text);
        set.data[1] = 0;
        set.data[2] = editor.length - line->length;
        set.data[3] = page;
        set.data[4] = line->length + 1;
        verticalScroll->Event(&set);
    }
}

int32_t UI_TEXT_FIELD::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_TEXT_FIELD);
    const bool viewOnly = flags & UI_FLAG_VIEW_ONLY;
    const int32_t oldCursor = editor.cursor;
    const int32_t oldLeft = editor.leftOffset;
    bool relayout = true;
    bool extendMark = false;   // a user mark follows the cursor
    int32_t answer = code;
    switch (code) {
    case UI_CODE_CHANGED:
    case UI_CODE_LAYOUT:
        MakeLines(event);
        SendScrollValues(true, code);
        return code;
    case UI_CODE_SHOW_CURRENT_VERTICAL:
    case UI_CODE_SHOW_CURRENT_HORIZONTAL: {
        // The line of the cursor is made current again, its cursor placed.
        UpdateLines(false, false);
        UI_STRING_FIELD* line = AsLine(current);
        if (line != nullptr && line->screenNumber != 0) {
            UI_MESSAGE place(UI_CODE_DRAW_CURRENT);
            place.rect = line->screenRect;
            line->Event(&place);
        }
        return code;
    }
    case UI_CODE_SCROLL_HORIZONTAL: {
        // The shared left clip and the cursor move together, within the
        // current line.
        const int32_t start = LineStartAt(editor.cursor);
        const int32_t limit = LineLength(start);
        const int32_t delta = event->data[4];
        editor.leftOffset = std::clamp(editor.leftOffset + delta, 0, limit);
        editor.cursor = start + std::clamp(editor.cursor - start + delta, 0, limit);
        break;
    }
    case UI_CODE_SCROLL_VERTICAL: {
        int32_t start = LineStartAt(editor.cursor);
        const int32_t column = editor.cursor - start;
        for (int32_t left = event->data[4]; left != 0;) {
            const int32_t from = start;
            if (left < 0) {
                char* p = text + start;
                PrevTextLine(text, &p, editor.drawnWidth, font);
                start = static_cast<int32_t>(p - text);
                left = std::min(left + std::max(from - start, 1), 0);
            } else {
                const int32_t next = NextLineStart(start);
                if (text[next] == '\0' && LineLength(next) == 0 && next > 0 && !IsLineEnd(text[next - 1]))
                    break;
                start = next;
                left = std::max(left - std::max(start - from, 1), 0);
            }
            if (start == from)
                break;
        }
        editor.cursor = std::clamp(start + std::min(column, LineLength(start)), 0, editor.length);
        break;
    }
    case UI_CODE_DRAW_CURRENT:
        editor.insertMode = insertMode;
        if ((flags & UI_FLAG_CURSOR_AT_END) && !(flags & (UI_FLAG_NOT_SELECTABLE | UI_FLAG_VIEW_ONLY))) {
            editor.status |= UI_STATUS_AUTO_MARK;
            editor.markStart = 0;
            editor.markEnd = editor.cursor = editor.length;
        }
        UpdateLines(false, true);
        return UI_WINDOW::Event(event);
    case UI_CODE_DEACTIVATE:
        if (DropAutomaticMark())
            UpdateLines(true, false);
        return UI_WINDOW::Event(event);
    case UI_KEY_EVENT:
    case UI_CODE_PASTE:
        if (viewOnly)
            return UI_WINDOW::Event(event);
        DropAutomaticMark();
        editor.Event(event);
        status |= editor.status & UI_STATUS_CHANGED;
        break;
    case UI_CODE_POINTER_MOVE:
        if (!viewOnly && PointInside(editor.textRegion, event->point)) {
            if (inputManager != nullptr)
                inputManager->SendToDevice(UI_MOUSE_EVENT, UI_POINTER_TEXT);
            return code;
        }
        return UI_WINDOW::Event(event);
    case UI_CODE_SELECT:
        if (viewOnly || event->type == UI_CODE_SELECT || editor.length + 2 > editor.maxLength)
            return code;
        if (editor.markStart >= 0 && !(editor.status & UI_STATUS_AUTO_MARK)) {
            UI_MESSAGE copy(UI_CODE_COPY);
            editor.Event(&copy);
            editor.markStart = editor.markEnd = -1;
            break;
        }
        DropAutomaticMark();
        std::memmove(text + editor.cursor + 2, text + editor.cursor,
                     static_cast<size_t>(editor.length - editor.cursor) + 1);
        text[editor.cursor] = '\r';
        text[editor.cursor + 1] = '\n';
        editor.cursor += 2;
        editor.length += 2;
        editor.leftOffset = 0;
        status |= UI_STATUS_CHANGED;
        break;
    case UI_CODE_UP:
    case UI_CODE_PAGE_UP:
    case UI_CODE_DOWN:
    case UI_CODE_PAGE_DOWN:
        DropAutomaticMark();
        MoveVertically(code);
        extendMark = true;
        break;
    case UI_CODE_LEFT:
    case UI_CODE_RIGHT:
        DropAutomaticMark();
        if (code == UI_CODE_LEFT ? editor.cursor == 0 : editor.cursor >= editor.length)
            return UI_CODE_NOT_HANDLED;
        editor.cursor = code == UI_CODE_LEFT ? StepLeft(editor.cursor) : StepRight(editor.cursor);
        extendMark = true;
        break;
    case UI_CODE_WORD_LEFT: {
        DropAutomaticMark();
        int32_t p = editor.cursor;
        if (p == 0)
            return UI_CODE_NOT_HANDLED;
        --p;
        while (p > 0 && (text[p] == ' ' || IsLineEnd(text[p])))
            --p;
        while (p > 0 && text[p - 1] != ' ' && !IsLineEnd(text[p - 1]))
            --p;
        editor.cursor = p;
        extendMark = true;
        break;
    }
    case UI_CODE_WORD_RIGHT: {
        DropAutomaticMark();
        int32_t p = editor.cursor;
        while (p < editor.length && text[p] != ' ' && !IsLineEnd(text[p]))
            ++p;
        while (p < editor.length && (text[p] == ' ' || IsLineEnd(text[p])))
            ++p;
        if (p >= editor.length || p == editor.cursor)
            return UI_CODE_NOT_HANDLED;
        editor.cursor = p;
        extendMark = true;
        break;
    }
    case UI_CODE_LINE_START:
    case UI_CODE_LINE_END: {
        DropAutomaticMark();
        const int32_t start = LineStartAt(editor.cursor);
        editor.cursor = code == UI_CODE_LINE_START ? start : start + LineLength(start);
        extendMark = true;
        break;
    }
    case UI_CODE_PREVIOUS_FIELD:
    case UI_CODE_NEXT_FIELD:
        return UI_CODE_NOT_HANDLED;
    case UI_CODE_FIRST_FIELD:
    case UI_CODE_LAST_FIELD:
        DropAutomaticMark();
        editor.cursor = code == UI_CODE_FIRST_FIELD ? 0 : editor.length;
        extendMark = true;
        break;
    case UI_CODE_MARK_BEGIN:
    case UI_CODE_MARK_CONTINUE:
    case UI_CODE_MARK_END:
        answer = MouseMark(event, code);
        if (answer == UI_CODE_NOT_HANDLED || answer != code)
            return answer;
        extendMark = code != UI_CODE_MARK_BEGIN;
        break;
    case UI_CODE_CUT:
    case UI_CODE_DELETE:
    case UI_CODE_DELETE_WORD:
    case UI_CODE_DELETE_EOL:
        if (viewOnly)
            return code;
        DeleteKey(event, code);
        break;
    case UI_CODE_MARK:
        DropAutomaticMark();
        if (!viewOnly) {
            if (editor.markStart < 0)
                editor.markStart = editor.markEnd = editor.cursor;
            else
                editor.markStart = editor.markEnd = -1;
        }
        break;
    case UI_CODE_INSERT_TOGGLE:
        if (!viewOnly) {
            insertMode = !insertMode;
            editor.insertMode = insertMode;
            if (inputManager != nullptr)
                inputManager->SendToDevice(UI_CURSOR_DEVICE, insertMode ? UI_CURSOR_INSERT : UI_CURSOR_OVERWRITE);
        }
        break;
    case UI_CODE_BACKSPACE: {
        if (viewOnly || editor.cursor == 0)
            return code;
        DropAutomaticMark();
        const int32_t start = LineStartAt(editor.cursor);
        if (editor.markStart < 0 && start == editor.cursor && text[editor.cursor - 1] == ' ') {
            --editor.cursor;   // a soft break: the space goes
            DeleteSpan(editor.cursor, 1);
            break;
        }
        // Left, then delete, as in a one-line field: a line end goes as one,
        // and a mark loses the character left of the cursor's end first.
        UI_MESSAGE left(UI_CODE_LEFT);
        if (Event(&left) != UI_CODE_NOT_HANDLED) {
            UI_MESSAGE del(UI_CODE_DELETE);
            Event(&del);
        }
        return code;
    }
    case UI_CODE_COPY: {
        UI_MESSAGE copy(UI_CODE_COPY);
        editor.Event(&copy);
        break;
    }
    default:
        return UI_WINDOW::Event(event);
    }
    // A user mark's end that stood at the cursor follows it.
    if (extendMark && editor.markStart >= 0) {
        if (editor.markStart == oldCursor)
            editor.markStart = editor.cursor;
        else
            editor.markEnd = editor.cursor;
        if (editor.markStart > editor.markEnd)
            std::swap(editor.markStart, editor.markEnd);
    }
    editor.cursor = std::clamp(editor.cursor, 0, editor.length);
    if (editor.markStart >= 0) {
        editor.markEnd = std::min(editor.markEnd, editor.length);
        editor.markStart = std::min(editor.markStart, editor.markEnd);
    }
    // Without wrapping, a line scrolled sideways takes every line with it.
    UI_STRING_FIELD* line = AsLine(current);
    if ((listFlags & UI_TEXT_NO_WRAP) && line != nullptr) {
        const int32_t start = LineStartAt(editor.cursor);
        const int32_t column = editor.cursor - start;
        const int32_t visible = screen != nullptr && screen->columnWidth > 0
                                    ? (editor.textRegion.right - editor.textRegion.left + 1 - 8) / screen->columnWidth
                                    : 1;
        if (column < editor.leftOffset)
            editor.leftOffset = std::max(column - 5, 0);
        else if (column >= editor.leftOffset + std::max(visible, 1))
            editor.leftOffset = column - std::max(visible, 1) + 1;
    }
    UpdateLines(true, relayout || editor.leftOffset != oldLeft);
    SendScrollValues(editor.cursor != oldCursor, code);
    return answer;
}
