// Tests of the multi-line text editor: its buffer, the display-line
// measuring, and keys scripted through the desktop of a recording display
// (8-pixel characters: a 20-cell area wraps at 150 pixels, 19 characters;
// five rows hold four lines).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/ScriptedInput.h"
#include "support/WindowSession.h"
#include "widgets/PasteBuffer.h"
#include "widgets/UI_TEXT_FIELD.h"

namespace {

constexpr int32_t RAW_BACKSPACE = 0x0E08;
constexpr int32_t RAW_DELETE = 0x53E0;

TEST(UI_TEXT_FIELD, BufferKeepsMaxLengthCharacters)
{
    WidgetWorld world;   // a display for the character widths
    UI_TEXT_FIELD sized(0, 0, 12, 5, nullptr, -1, 0, 0, nullptr);
    EXPECT_EQ(sized.maxLength, 60);
    EXPECT_STREQ(sized.GetText(), "");
    EXPECT_EQ(sized.classChain[0], UI_ID_TEXT_FIELD);
    EXPECT_EQ(sized.classChain[1], UI_ID_STRING_FIELD);

    UI_TEXT_FIELD field(0, 0, 12, 5, "abc", -1, 0, 0, nullptr);
    EXPECT_EQ(field.maxLength, 4);
    field.SetText("abcdefgh");
    EXPECT_STREQ(field.GetText(), "abcd");   // maxLength characters, one more than a string field
    EXPECT_EQ(field.editor.length, 4);

    int32_t larger = 10;
    field.Query(UI_QUERY_SET_MAX_LENGTH, &larger, 0);
    EXPECT_STREQ(field.GetText(), "abcd");
    char* buffer = field.GetText();
    int32_t smaller = 3;
    field.Query(UI_QUERY_SET_MAX_LENGTH, &smaller, 0);
    EXPECT_EQ(field.GetText(), buffer);
    field.SetText("xyzw");
    EXPECT_STREQ(field.GetText(), "xyz");

    // After any new text the first shown line is the start and nothing is
    // marked.
    field.editor.markStart = 0;
    field.editor.markEnd = 2;
    field.topLine = field.GetText() + 2;
    field.SetText("new");
    EXPECT_EQ(field.topLine, field.GetText());
    EXPECT_EQ(field.editor.markStart, -1);
    EXPECT_EQ(field.editor.cursor, 0);
}

TEST(UI_TEXT_FIELD, CallersBufferIsUsedInPlace)
{
    WidgetWorld world;
    char caller[32] = "line one\r\nline two";
    {
        UI_TEXT_FIELD field(0, 0, 12, 5, caller, 31, 0, UI_FLAG_TEXT_NOT_COPIED, nullptr);
        EXPECT_EQ(field.GetText(), caller);
        EXPECT_EQ(field.editor.text, caller);
    }
    EXPECT_STREQ(caller, "line one\r\nline two");
}

TEST(UI_TEXT_FIELD, UnusableMaximumsLeaveAnEmptyTextTypingCannotReach)
{
    // A maximum below -1 used to ask for a buffer of negative size; the
    // caller's buffer not given left the editor on a null text.
    WidgetWorld world;
    struct Row { const char* text; int32_t maxLength; uint16_t flags; };
    const Row rows[] = {
        {"abc", -5, 0},
        {nullptr, -1, UI_FLAG_TEXT_NOT_COPIED},
        {nullptr, 40, UI_FLAG_TEXT_NOT_COPIED},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.maxLength << " flags " << r.flags);
        UI_TEXT_FIELD field(0, 0, 12, 5, r.text, r.maxLength, 0, r.flags, nullptr);
        ASSERT_NE(field.GetText(), nullptr);
        EXPECT_STREQ(field.GetText(), "");
        EXPECT_EQ(field.maxLength, 0);
        UI_MESSAGE key(UI_KEY_EVENT);
        key.code = 0x1E61;
        key.keyData.keyValue = 'a';
        field.Event(&key);
        UI_MESSAGE enter(UI_KEY_EVENT);
        enter.code = 0x1C0D;
        field.Event(&enter);
        EXPECT_STREQ(field.GetText(), "");
    }
}

TEST(UI_TEXT_FIELD, CallersBufferMaximumFallsButNeverRises)
{
    WidgetWorld world;
    char caller[8] = "abc";
    UI_TEXT_FIELD field(0, 0, 12, 5, caller, 7, 0, UI_FLAG_TEXT_NOT_COPIED, nullptr);
    int32_t larger = 50;
    field.Query(UI_QUERY_SET_MAX_LENGTH, &larger, 0);
    EXPECT_EQ(field.maxLength, 7);
    EXPECT_EQ(field.GetText(), caller);
    int32_t smaller = 5;
    field.Query(UI_QUERY_SET_MAX_LENGTH, &smaller, 0);
    EXPECT_EQ(field.maxLength, 5);
    EXPECT_EQ(field.editor.maxLength, 5);
    EXPECT_EQ(field.GetText(), caller);
}

TEST(UI_TEXT_FIELD, NextTextLineBreaksAtSpacesAndLineEnds)
{
    WidgetWorld world;   // 8 pixels a character
    struct Row { const char* text; int32_t width; int32_t length; int32_t next; };
    const Row rows[] = {
        {"abc def", 100, 7, 7},
        {"abc def ghi", 50, 7, 8},          // 1 + 6 x 8 is 49: "f" still counted, the space breaks
        {"abc def ghi", 40, 3, 4},
        {"abc   def", 34, 3, 6},            // trailing spaces left out, skipped
        {"abcdefghij", 34, 4, 4},           // no space: one fewer than the five counted
        {"ab\r\ncd", 100, 2, 4},            // CR LF one line end
        {"ab\n\rcd", 100, 2, 4},            // LF CR too
        {"ab\r\r", 100, 2, 3},              // only one of them
        {"", 100, 0, 0},                    // at the end nothing moves
        // Narrower than a character: it used to give 0 or -1 characters and
        // not move on; a line takes one character.
        {"abc", 5, 1, 1},
        {"abc", 1, 1, 1},
        {"abc", 0, 1, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << '"' << r.text << "\" width " << r.width);
        std::string text = r.text;
        char* p = text.data();
        EXPECT_EQ(UI_TEXT_FIELD::NextTextLine(&p, r.width), r.length);
        EXPECT_EQ(p - text.data(), r.next);
    }
}

TEST(UI_TEXT_FIELD, PrevTextLineWalksBackToEveryLineStart)
{
    WidgetWorld world;
    for (int32_t width : {0, 5, 20, 34, 100}) {
        SCOPED_TRACE(width);
        std::string text = "one two three\r\nfour five\r\n\r\nsix";
        std::vector<char*> starts;
        for (char* p = text.data(); *p != '\0';) {
            starts.push_back(p);
            UI_TEXT_FIELD::NextTextLine(&p, width);
        }
        char* p = text.data() + text.size();
        // From the end: back over every line start, then it stops at 0.
        for (size_t n = starts.size(); n-- > 0;) {
            UI_TEXT_FIELD::PrevTextLine(text.data(), &p, width);
            EXPECT_EQ(p, starts[n]);
        }
        EXPECT_EQ(UI_TEXT_FIELD::PrevTextLine(text.data(), &p, width), 0);
        EXPECT_EQ(p, text.data());
    }
}

// A window holding one text field of cells by rows, the field current.
class TextSession : public ::testing::Test {
protected:
    void Open(const char* text, int32_t cells = 20, int32_t rows = 5, uint16_t listFlagBits = 0,
              int32_t maxLength = 400)
    {
        window_ = new UI_WINDOW(1, 1, 60, 20);
        field_ = new UI_TEXT_FIELD(0, 0, cells, rows, text, maxLength, listFlagBits, 0, nullptr);
        window_->Add(field_);
        session_.desktop.Add(window_);
    }
    int32_t Type(const std::string& characters) { return session_.Type(characters); }
    int32_t Press(int32_t raw) { return session_.Dispatch(WindowSession::Key(raw)); }
    std::string Text() const { return field_->GetText(); }
    UI_STRING_FIELD* Line(int32_t n) const
    {
        UI_NODE* node = field_->head;
        while (n-- > 0 && node != nullptr)
            node = node->next;
        return static_cast<UI_STRING_FIELD*>(node);
    }
    std::string Shown(int32_t n) const { return std::string(Line(n)->text, static_cast<size_t>(Line(n)->length)); }
    void TearDown() override { FreePasteBuffer(); }

    WindowSession session_;
    UI_WINDOW* window_ = nullptr;
    UI_TEXT_FIELD* field_ = nullptr;
};

TEST_F(TextSession, ShortTextLeavesTheRemainingLinesUnselectable)
{
    Open("one\r\ntwo");
    ASSERT_EQ(field_->LineCount(), 4);
    EXPECT_EQ(Shown(0), "one");
    EXPECT_EQ(Shown(1), "two");
    EXPECT_FALSE(Line(1)->flags & UI_FLAG_NOT_SELECTABLE);
    EXPECT_TRUE(Line(2)->flags & UI_FLAG_NOT_SELECTABLE);
    EXPECT_TRUE(Line(3)->flags & UI_FLAG_NOT_SELECTABLE);
    EXPECT_EQ(field_->Current(), Line(0));
}

TEST_F(TextSession, TypingPastTheWrapOnTheLastLineScrollsUpOneLine)
{
    Open("one\r\ntwo\r\nthree\r\nfour");
    field_->editor.cursor = field_->editor.length;
    field_->UpdateLines(false, true);
    EXPECT_EQ(field_->Current(), Line(3));
    Type(" alpha beta gamma");
    EXPECT_EQ(Text(), "one\r\ntwo\r\nthree\r\nfour alpha beta gamma");
    EXPECT_EQ(field_->topLine, field_->GetText() + 5);   // "two" is the first line now
    EXPECT_EQ(Shown(2), "four alpha beta");
    EXPECT_EQ(Shown(3), "gamma");
    EXPECT_EQ(field_->Current(), Line(3));
    EXPECT_TRUE(field_->status & UI_STATUS_CHANGED);
}

TEST_F(TextSession, BackspaceAtASoftBreakDeletesTheSpace)
{
    Open("alpha beta gamma delta");
    EXPECT_EQ(Shown(0), "alpha beta gamma");
    EXPECT_EQ(Shown(1), "delta");
    field_->editor.cursor = 17;   // start of "delta"
    field_->UpdateLines(false, true);
    Press(RAW_BACKSPACE);
    EXPECT_EQ(Text(), "alpha beta gammadelta");
    EXPECT_EQ(field_->editor.cursor, 16);
}

TEST_F(TextSession, DeleteAtALineEndJoinsTheLines)
{
    Open("one\r\ntwo");
    field_->editor.cursor = 3;
    field_->UpdateLines(false, true);
    Press(RAW_DELETE);
    EXPECT_EQ(Text(), "onetwo");   // CR and LF together
    EXPECT_EQ(Shown(0), "onetwo");
    EXPECT_TRUE(Line(1)->flags & UI_FLAG_NOT_SELECTABLE);

    Press(RAW_ENTER);
    EXPECT_EQ(Text(), "one\r\ntwo");
    EXPECT_EQ(field_->editor.cursor, 5);
    EXPECT_EQ(field_->Current(), Line(1));
    Press(RAW_BACKSPACE);   // the line end goes as one
    EXPECT_EQ(Text(), "onetwo");
}

TEST_F(TextSession, WithoutWrappingLinesScrollSidewaysTogether)
{
    Open("a rather long first line of text\r\nsecond line also quite long", 20, 5, UI_TEXT_NO_WRAP);
    EXPECT_EQ(Shown(0), "a rather long first line of text");   // cut only at CR LF
    EXPECT_EQ(Shown(1), "second line also quite long");
    field_->editor.cursor = 0;
    Press(RAW_END);   // line end
    EXPECT_GT(field_->editor.leftOffset, 0);
    EXPECT_EQ(Line(0)->leftOffset, field_->editor.leftOffset);
    EXPECT_EQ(Line(1)->leftOffset, field_->editor.leftOffset);
}

TEST_F(TextSession, ArrowsKeepTheColumnAcrossLines)
{
    Open("abcdef\r\nxy\r\nlonger line");
    field_->editor.cursor = 5;
    Press(RAW_DOWN);
    EXPECT_EQ(field_->editor.cursor, 10);   // "xy" is shorter: its end
    Press(RAW_DOWN);
    EXPECT_EQ(field_->editor.cursor, 14);
    EXPECT_EQ(field_->Current(), Line(2));
    Press(RAW_UP);
    Press(RAW_UP);
    EXPECT_EQ(field_->editor.cursor, 2);
    EXPECT_EQ(Press(RAW_LEFT), UI_CODE_LEFT);
    field_->editor.cursor = 8;   // start of "xy"
    Press(RAW_LEFT);
    EXPECT_EQ(field_->editor.cursor, 6);   // back over CR LF as one
}

TEST_F(TextSession, MouseMarksAcrossLines)
{
    Open("one two\r\nthree four\r\nfive");
    const int32_t w = session_.display.characterWidth;
    auto at = [&](int32_t line, int32_t column, int32_t raw) {
        UI_MESSAGE m = WindowSession::Mouse(raw, Line(0)->textRegion.left + column * w + 1,
                                            Line(line)->screenRect.top + 1);
        return field_->Event(&m);
    };
    // Pressed on "two", dragged into "three four", released there.
    EXPECT_EQ(at(0, 4, 0x1100), UI_CODE_MARK_BEGIN);
    EXPECT_EQ(field_->editor.cursor, 4);
    EXPECT_EQ(field_->editor.markStart, 4);
    EXPECT_EQ(field_->editor.markEnd, 4);
    at(1, 3, 0x0100);
    at(1, 5, 0x0100);
    EXPECT_EQ(at(1, 5, 0x1000), UI_CODE_MARK_END);
    EXPECT_EQ(field_->editor.markStart, 4);
    EXPECT_EQ(field_->editor.markEnd, 14);
    EXPECT_EQ(field_->editor.cursor, 14);
    EXPECT_EQ(field_->Current(), Line(1));
    EXPECT_TRUE(field_->editor.status & UI_STATUS_AUTO_MARK);
    // Each line shows its slice of the mark.
    EXPECT_EQ(Line(0)->markStart, 4);
    EXPECT_EQ(Line(0)->markEnd, 7);
    EXPECT_EQ(Line(1)->markStart, 0);
    EXPECT_EQ(Line(1)->markEnd, 5);
    EXPECT_EQ(Line(2)->markStart, -1);
    // The mouse's mark is automatic: the next cursor key drops it.
    Press(RAW_RIGHT);
    EXPECT_EQ(field_->editor.markStart, -1);
    EXPECT_EQ(Line(0)->markStart, -1);

    // Dragged upwards: the mark is put in order.
    at(2, 2, 0x1100);
    at(0, 1, 0x0100);
    at(0, 1, 0x1000);
    EXPECT_EQ(field_->editor.markStart, 1);
    EXPECT_EQ(field_->editor.markEnd, 21 + 2);
    EXPECT_EQ(field_->editor.cursor, 1);

    // A click without a drag marks nothing; below the last line of the text
    // it lands on the last line.
    at(1, 2, 0x1100);
    at(1, 2, 0x1000);
    EXPECT_EQ(field_->editor.markStart, -1);
    EXPECT_EQ(field_->editor.cursor, 11);
    at(3, 2, 0x1100);
    EXPECT_EQ(field_->editor.cursor, 21 + 2);
    EXPECT_EQ(field_->Current(), Line(2));
}

TEST_F(TextSession, ViewOnlyTextIsNotMarkedByTheMouse)
{
    Open("one two");
    field_->flags |= UI_FLAG_VIEW_ONLY;
    const int32_t w = session_.display.characterWidth;
    for (int32_t raw : {0x1100, 0x0100, 0x1000}) {
        UI_MESSAGE m = WindowSession::Mouse(raw, Line(0)->textRegion.left + (raw == 0x1100 ? 1 : 5) * w + 1,
                                            Line(0)->screenRect.top + 1);
        field_->Event(&m);
    }
    EXPECT_EQ(field_->editor.markStart, -1);
    EXPECT_EQ(field_->editor.cursor, 0);
}

TEST_F(TextSession, CursorKeysCrossSoftAndHardBreaks)
{
    // "alpha beta gamma" and "delta" wrapped at the space at 16; "one two"
    // and "three" split by CR LF at 7; one long word cut inside itself.
    struct Row { const char* text; int32_t from; int32_t raw; int32_t to; };
    const Row rows[] = {
        {"alpha beta gamma delta", 17, 0x4B00, 16},   // left: the end of the line above
        {"alpha beta gamma delta", 16, 0x4D00, 17},   // right: the start of the line below
        {"alpha beta gamma delta", 17, 0x7300, 11},   // word left: the last word above
        {"alpha beta gamma delta", 11, 0x7400, 17},   // word right: the first word below
        {"alpha beta gamma delta", 3, 0x4FE0, 16},    // line end: the display line's
        {"alpha beta gamma delta", 20, 0x47E0, 17},   // line start: the display line's
        {"one two\r\nthree", 9, 0x4B00, 7},
        {"one two\r\nthree", 7, 0x4D00, 9},
        {"one two\r\nthree", 9, 0x7300, 4},
        {"one two\r\nthree", 4, 0x7400, 9},
        {"one two\r\n\r\nthree", 11, 0x7300, 4},   // over an empty line
        {"abcdefghijklmnopqrstuvwxyz", 20, 0x7300, 0},   // through a break inside the word
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.text << " from " << r.from << " key " << r.raw);
        Open(r.text);
        field_->editor.cursor = r.from;
        field_->UpdateLines(false, true);
        Press(r.raw);
        EXPECT_EQ(field_->editor.cursor, r.to);
        session_.desktop.Remove(window_);
        delete window_;
    }
    // Cut inside a word: left from the second line's start goes to the last
    // character of the first, and right comes back.
    Open("abcdefghijklmnopqrstuvwxyz");
    const int32_t cut = Line(0)->length;
    ASSERT_GT(cut, 0);
    ASSERT_LT(cut, 26);
    field_->editor.cursor = cut;
    field_->UpdateLines(false, true);
    EXPECT_EQ(field_->Current(), Line(1));
    Press(0x4B00);
    EXPECT_EQ(field_->editor.cursor, cut - 1);
    EXPECT_EQ(field_->Current(), Line(0));
    Press(0x4D00);
    EXPECT_EQ(field_->editor.cursor, cut);
    EXPECT_EQ(field_->Current(), Line(1));
}

TEST_F(TextSession, PageKeysGoToTheEdgeLineBeforeTurningThePage)
{
    Open("l0\r\nl1\r\nl2\r\nl3\r\nl4\r\nl5\r\nl6\r\nl7\r\nl8\r\nl9");
    ASSERT_EQ(field_->LineCount(), 4);
    auto lineOf = [&](int32_t n) { return 4 * n; };   // each line "lN" and CR LF
    struct Step { int32_t raw; int32_t cursor; int32_t top; int32_t currentLine; };
    constexpr int32_t PAGE_UP = 0x49E0;
    constexpr int32_t PAGE_DOWN = 0x51E0;
    field_->editor.cursor = lineOf(1) + 1;
    field_->UpdateLines(false, true);
    const Step steps[] = {
        {PAGE_DOWN, lineOf(3) + 1, lineOf(0), 3},   // to the last line object
        {PAGE_DOWN, lineOf(6) + 1, lineOf(3), 3},   // from there a page on
        {RAW_UP, lineOf(5) + 1, lineOf(3), 2},
        {RAW_UP, lineOf(4) + 1, lineOf(3), 1},
        {PAGE_DOWN, lineOf(6) + 1, lineOf(3), 3},   // from the middle: the last line object
        {RAW_UP, lineOf(5) + 1, lineOf(3), 2},
        {PAGE_UP, lineOf(3) + 1, lineOf(3), 0},     // to the first line object
        {PAGE_UP, lineOf(0) + 1, lineOf(0), 0},     // from there a page back
        {PAGE_DOWN, lineOf(3) + 1, lineOf(0), 3},
        {PAGE_DOWN, lineOf(6) + 1, lineOf(3), 3},
        {PAGE_DOWN, lineOf(9) + 1, lineOf(6), 3},   // the last line of the text
        {PAGE_DOWN, lineOf(9) + 1, lineOf(6), 3},
    };
    int32_t n = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "step " << n++);
        Press(step.raw);
        EXPECT_EQ(field_->editor.cursor, step.cursor);
        EXPECT_EQ(field_->topLine, field_->GetText() + step.top);
        EXPECT_EQ(field_->Current(), Line(step.currentLine));
    }
}

TEST_F(TextSession, SideScrollMovesTheCursorWithTheLines)
{
    Open("a rather long first line of text\r\nsecond line also quite long", 20, 5, UI_TEXT_NO_WRAP);
    field_->editor.cursor = 2;
    field_->UpdateLines(false, true);
    UI_MESSAGE scroll(UI_CODE_SCROLL_HORIZONTAL);
    scroll.data[4] = 6;
    field_->Event(&scroll);
    EXPECT_EQ(field_->editor.leftOffset, 6);
    EXPECT_EQ(field_->editor.cursor, 8);
    EXPECT_EQ(Line(0)->leftOffset, 6);
    EXPECT_EQ(Line(1)->leftOffset, 6);
    scroll.data[4] = -20;
    field_->Event(&scroll);
    EXPECT_EQ(field_->editor.leftOffset, 0);
    EXPECT_EQ(field_->editor.cursor, 0);
}

TEST_F(TextSession, BackspaceIsLeftThenDelete)
{
    // With a mark made by the keys the left step moves its end first, as in
    // a one-line field.
    Open("abcdef\r\nxy");
    field_->editor.cursor = 2;
    field_->UpdateLines(false, true);
    Press(0x6200);   // mark
    Press(RAW_RIGHT);
    Press(RAW_RIGHT);
    Press(RAW_RIGHT);
    EXPECT_EQ(field_->editor.markEnd, 5);
    EXPECT_EQ(Press(RAW_BACKSPACE), UI_CODE_BACKSPACE);
    EXPECT_EQ(Text(), "abef\r\nxy");
    EXPECT_EQ(field_->editor.cursor, 2);
    EXPECT_EQ(field_->editor.markStart, -1);
    field_->editor.cursor = 0;
    field_->UpdateLines(false, true);
    EXPECT_EQ(Press(RAW_BACKSPACE), UI_CODE_BACKSPACE);   // at the start: nothing
    EXPECT_EQ(Text(), "abef\r\nxy");
}

TEST_F(TextSession, ShowCurrentPlacesTheCursorOnItsLine)
{
    auto* caret = new ScriptedDevice(UI_CURSOR_DEVICE);
    session_.manager.AddDevice(caret);
    Open("one\r\ntwo");
    char* second = Line(1)->text;
    field_->editor.cursor = 7;
    UI_MESSAGE show(UI_CODE_SHOW_CURRENT_VERTICAL);
    EXPECT_EQ(field_->Event(&show), UI_CODE_SHOW_CURRENT_VERTICAL);
    EXPECT_EQ(field_->Current(), Line(1));
    EXPECT_EQ(Line(1)->text, second);
    EXPECT_EQ(Line(1)->cursor, 2);
    EXPECT_EQ(caret->last.type, UI_CODE_CURSOR_POSITION);
    EXPECT_EQ(caret->last.point.column, Line(1)->textRegion.left + 2 * session_.display.characterWidth);
    EXPECT_EQ(caret->last.point.line, Line(1)->textRegion.top);
}

TEST_F(TextSession, DevicesAreReadBetweenRedrawnLines)
{
    auto* device = new ScriptedDevice(UI_KEY_EVENT);
    session_.manager.AddDevice(device);
    Open("one\r\ntwo\r\nthree\r\nfour");
    const int32_t before = device->polls;
    Press(RAW_ENTER);   // at 0: every line object moves down one line
    EXPECT_GE(device->polls - before, field_->LineCount());
}

// A scroll bar stand-in that keeps the values it is sent.
class ValueBar : public UI_WIDGET {
public:
    ValueBar() : UI_WIDGET(0, 0, 1, 1, UI_FLAG_SUPPORT) {}
    int32_t Event(UI_MESSAGE* event) override
    {
        if (event->type == UI_CODE_SET_SCROLL || event->type == UI_CODE_SET_SCROLL_HORIZONTAL) {
            last[event->type == UI_CODE_SET_SCROLL ? 0 : 1] = *event;
            return event->type;
        }
        return UI_WIDGET::Event(event);
    }
    UI_MESSAGE last[2];
};

TEST_F(TextSession, ScrollBarsAreSentTheCursorsPlace)
{
    Open("one two\r\nthree four\r\nfive");
    ValueBar vertical;
    ValueBar horizontal;
    field_->verticalScroll = &vertical;
    field_->horizontalScroll = &horizontal;
    field_->editor.cursor = 0;
    Press(RAW_DOWN);
    Press(RAW_RIGHT);
    const UI_MESSAGE& v = vertical.last[0];
    EXPECT_EQ(v.type, UI_CODE_SET_SCROLL);
    EXPECT_EQ(v.data[0], 9);                 // the current line's start
    EXPECT_EQ(v.data[1], 0);
    EXPECT_EQ(v.data[2], 25 - 10);           // text less the current line
    EXPECT_EQ(v.data[3], 8 + 11 + 5 + 1);    // each line object's length plus one
    EXPECT_EQ(v.data[4], 11);
    const UI_MESSAGE& h = horizontal.last[1];
    EXPECT_EQ(h.type, UI_CODE_SET_SCROLL_HORIZONTAL);
    EXPECT_EQ(h.data[0], 1);
    EXPECT_EQ(h.data[1], 0);
    EXPECT_EQ(h.data[2], 10);
    EXPECT_EQ(h.data[3], 10);
    EXPECT_EQ(h.data[4], 1);
    field_->verticalScroll = nullptr;
    field_->horizontalScroll = nullptr;
}

} // namespace
