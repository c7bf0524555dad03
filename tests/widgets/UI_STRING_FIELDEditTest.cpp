// Tests of the string field's editing: keys and the mouse scripted through
// the desktop of a recording display, the paste buffer, the repaint of the
// changed part of the line and the mark drawn in its own colours.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/ScriptedInput.h"
#include "support/WindowSession.h"
#include "widgets/PasteBuffer.h"
#include "widgets/UI_STRING_FIELD.h"

namespace {

constexpr int32_t RAW_BACKSPACE = 0x0E08;
constexpr int32_t RAW_DELETE = 0x53E0;
constexpr int32_t RAW_INSERT = 0x52E0;
constexpr int32_t RAW_CTRL_LEFT = 0x7300;
constexpr int32_t RAW_CTRL_RIGHT = 0x7400;
constexpr int32_t RAW_MARK = 0x6200;
constexpr int32_t RAW_PASTE = 0x6500;
constexpr int32_t RAW_COPY = 0x9200;

// A window on the desktop holding one string field, the field current.
class FieldSession : public ::testing::Test {
protected:
    void Open(const char* text, int32_t maxLength, int32_t cells = 20, uint16_t stringFlags = 0,
              uint16_t fieldFlags = 0)
    {
        window_ = new UI_WINDOW(2, 2, 40, 8);
        field_ = new UI_STRING_FIELD(1, 1, cells, text, maxLength, stringFlags, fieldFlags, nullptr);
        window_->Add(field_);
        session_.desktop.Add(window_);
    }
    int32_t Type(const std::string& characters) { return session_.Type(characters); }
    int32_t Press(int32_t raw) { return session_.Dispatch(WindowSession::Key(raw)); }
    int32_t Send(int32_t code)
    {
        UI_MESSAGE m(code);
        return field_->Event(&m);
    }
    int32_t ToField(UI_MESSAGE m) { return field_->Event(&m); }
    std::string Text() const { return field_->GetText(); }

    void TearDown() override { FreePasteBuffer(); }

    WindowSession session_;
    UI_WINDOW* window_ = nullptr;
    UI_STRING_FIELD* field_ = nullptr;
};

TEST_F(FieldSession, TypingOverAMarkCutsItIntoThePasteBuffer)
{
    Open("hello world", 40);
    Press(RAW_HOME);
    Press(RAW_MARK);
    for (int n = 0; n < 5; ++n)
        Press(RAW_RIGHT);
    EXPECT_EQ(field_->markStart, 0);
    EXPECT_EQ(field_->markEnd, 5);
    Type("J");
    EXPECT_EQ(Text(), "J world");
    ASSERT_NE(pasteBuffer, nullptr);
    EXPECT_EQ(std::string(pasteBuffer), "hello");
    EXPECT_EQ(pasteLength, 5);
    EXPECT_EQ(field_->markStart, -1);
    EXPECT_TRUE(field_->status & UI_STATUS_CHANGED);

    // Paste puts it back at the cursor; copy leaves the text and the buffer
    // holds the marked part.
    Press(RAW_PASTE);
    EXPECT_EQ(Text(), "Jhello world");
    EXPECT_EQ(field_->cursor, 6);
    Press(RAW_MARK);
    Press(RAW_LEFT);
    Press(RAW_COPY);
    EXPECT_EQ(std::string(pasteBuffer), "o");
    EXPECT_EQ(Text(), "Jhello world");
    Press(RAW_MARK);
    Press(RAW_RIGHT);
    Send(UI_CODE_CUT);   // its key belongs to the window
    EXPECT_EQ(Text(), "Jhell world");
    EXPECT_EQ(std::string(pasteBuffer), "o");
}

TEST_F(FieldSession, FullFieldDropsCharactersInEitherMode)
{
    Open("", 10);
    Type("abcdefghijkl");
    EXPECT_EQ(Text(), "abcdefghi");   // maximum 10: nine characters
    Press(RAW_INSERT);
    EXPECT_EQ(field_->insertMode, 0);
    Type("z");   // overstrike at the end of a full field
    EXPECT_EQ(Text(), "abcdefghi");
    Press(RAW_HOME);
    Type("XY");   // overstrike replaces
    EXPECT_EQ(Text(), "XYcdefghi");
    EXPECT_EQ(field_->cursor, 2);
}

TEST_F(FieldSession, BackspaceDeleteAndWordMoves)
{
    Open("one two  three", 40);
    Press(RAW_HOME);
    EXPECT_EQ(Press(RAW_BACKSPACE), UI_CODE_BACKSPACE);   // at 0: nothing happens
    EXPECT_EQ(Text(), "one two  three");
    EXPECT_EQ(Send(UI_CODE_WORD_LEFT), UI_CODE_NOT_HANDLED);

    struct Row { int32_t from; int32_t raw; int32_t to; int32_t answer; };
    const Row rows[] = {
        {2, RAW_CTRL_LEFT, 0, UI_CODE_WORD_LEFT},            // inside the first word: to 0
        {6, RAW_CTRL_LEFT, 4, UI_CODE_WORD_LEFT},
        {9, RAW_CTRL_LEFT, 4, UI_CODE_WORD_LEFT},            // back over the spaces
        {0, RAW_CTRL_RIGHT, 4, UI_CODE_WORD_RIGHT},
        {4, RAW_CTRL_RIGHT, 9, UI_CODE_WORD_RIGHT},          // over the word and both spaces
        {10, RAW_CTRL_RIGHT, 10, UI_CODE_NOT_HANDLED},       // the last word: stays
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.from << " key " << r.raw);
        field_->cursor = r.from;
        const int32_t answer = ToField(WindowSession::Key(r.raw));
        EXPECT_EQ(answer, r.answer);
        EXPECT_EQ(field_->cursor, r.to);
    }

    field_->cursor = 3;
    EXPECT_EQ(Press(RAW_BACKSPACE), UI_CODE_BACKSPACE);
    EXPECT_EQ(Text(), "on two  three");
    EXPECT_EQ(field_->cursor, 2);
    Press(RAW_DELETE);
    EXPECT_EQ(Text(), "ontwo  three");
    Press(RAW_END);
    EXPECT_EQ(Press(RAW_RIGHT), UI_CODE_NOT_HANDLED);
    EXPECT_EQ(Press(RAW_DELETE), UI_CODE_DELETE);   // at the end of a plain field: nothing
    EXPECT_EQ(Text(), "ontwo  three");
}

TEST_F(FieldSession, QueuedDeletesNeverCountPastTheEnd)
{
    Open("abcdef", 40);
    field_->cursor = 3;
    for (int n = 0; n < 6; ++n)
        {
        const UI_MESSAGE key = WindowSession::Key(RAW_DELETE);
        session_.manager.Put(&key, UI_PUT_AT_TAIL);
    }
    Press(RAW_DELETE);
    EXPECT_EQ(Text(), "abc");
    EXPECT_EQ(field_->length, 3);
    UI_MESSAGE left;
    EXPECT_NE(session_.manager.Get(&left, UI_GET_NO_WAIT | UI_GET_NO_POLL), 0);   // all taken
}

TEST_F(FieldSession, NarrowFieldScrollsOneCharacterAtATime)
{
    Open("", 40, 4);   // 32 pixels: less than five cells
    EXPECT_EQ(field_->scrollStep, 1);
    Type("abcdefgh");
    EXPECT_GT(field_->leftOffset, 0);
    const int32_t left = field_->leftOffset;
    Type("i");
    EXPECT_EQ(field_->leftOffset, left + 1);

    UI_STRING_FIELD wide(0, 0, 20, "", 40, 0, 0, nullptr);
    window_->Add(&wide);
    EXPECT_EQ(wide.scrollStep, 5);
    window_->Remove(&wide);
}

TEST_F(FieldSession, StringFlagsFoldTypedCharacters)
{
    struct Row { uint16_t stringFlags; const char* typed; const char* stored; };
    const Row rows[] = {
        {UI_STRING_UPPER_CASE, "ab c", "AB C"},
        {UI_STRING_LOWER_CASE, "AB C", "ab c"},
        {UI_STRING_SPACE_TO_UNDERSCORE, "a b", "a_b"},
        {UI_STRING_LOWER_CASE | UI_STRING_UPPER_CASE, "aB", "AB"},   // upper after lower
        {0, "a\x01" "b", "ab"},                                      // not printable: dropped
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.stored);
        UI_STRING_FIELD field(0, 0, 20, "", 40, r.stringFlags, 0, nullptr);
        for (const char* c = r.typed; *c != '\0'; ++c) {
            UI_MESSAGE key = WindowSession::KeyWith(0x1E00 | static_cast<unsigned char>(*c), 0,
                                                    static_cast<unsigned char>(*c));
            field.Event(&key);
        }
        EXPECT_STREQ(field.GetText(), r.stored);
    }
}

TEST_F(FieldSession, AutomaticMarkOnBecomingCurrentGoesAtTheFirstArrow)
{
    window_ = new UI_WINDOW(2, 2, 40, 8);
    window_->Add(new UI_STRING_FIELD(1, 1, 20, "first", 40, 0, 0, nullptr));
    field_ = new UI_STRING_FIELD(1, 3, 20, "second", 40, 0, UI_FLAG_CURSOR_AT_END, nullptr);
    window_->Add(field_);
    session_.desktop.Add(window_);
    window_->Add(window_->First());   // the first field current
    EXPECT_EQ(field_->markStart, -1);
    Press(RAW_TAB);
    ASSERT_EQ(window_->Current(), field_);
    EXPECT_EQ(field_->markStart, 0);
    EXPECT_EQ(field_->markEnd, 6);
    EXPECT_EQ(field_->cursor, 6);
    EXPECT_TRUE(field_->status & UI_STATUS_AUTO_MARK);
    Press(RAW_LEFT);
    EXPECT_EQ(field_->markStart, -1);
    EXPECT_EQ(field_->cursor, 5);
    EXPECT_FALSE(field_->status & UI_STATUS_AUTO_MARK);
}

TEST_F(FieldSession, BurstOfQueuedCharactersMakesOneRepaint)
{
    Open("", 40);
    for (char c : std::string("bcdef")) {
        UI_MESSAGE key = WindowSession::KeyWith(0x1E00 | c, 0, c);
        session_.manager.Put(&key, UI_PUT_AT_TAIL);
    }
    session_.display.calls.clear();
    Type("a");
    EXPECT_EQ(Text(), "abcdef");
    const auto texts = session_.display.Of("text");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text.substr(0, 6), "abcdef");
    EXPECT_EQ(session_.Pump().size(), 0u);   // nothing left queued
}

TEST_F(FieldSession, RepaintWritesOnlyTheChangedTail)
{
    Open("abcd", 40);
    Press(RAW_END);
    session_.display.calls.clear();
    Type("e");
    const auto texts = session_.display.Of("text");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rect.left, field_->textRegion.left + 4 * session_.display.characterWidth);
    EXPECT_EQ(texts[0].text.substr(0, 1), "e");
}

TEST_F(FieldSession, MouseMarksFromPressToRelease)
{
    Open("abcdefgh", 40);
    const int32_t x0 = field_->textRegion.left;
    const int32_t y = field_->textRegion.top + 1;
    const int32_t w = session_.display.characterWidth;
    ToField(WindowSession::Mouse(0x1100, x0 + 2 * w + 1, y));
    ToField(WindowSession::Mouse(0x0100, x0 + 5 * w + 1, y));
    ToField(WindowSession::Mouse(0x1000, x0 + 5 * w + 1, y));
    EXPECT_EQ(field_->markStart, 2);
    EXPECT_EQ(field_->markEnd, 5);
    EXPECT_TRUE(field_->status & UI_STATUS_AUTO_MARK);
    // Released on another character than the last drag report: the mark
    // reaches it and stays.
    ToField(WindowSession::Mouse(0x1100, x0 + 1 * w + 1, y));
    ToField(WindowSession::Mouse(0x0100, x0 + 3 * w + 1, y));
    ToField(WindowSession::Mouse(0x1000, x0 + 4 * w + 1, y));
    EXPECT_EQ(field_->markStart, 1);
    EXPECT_EQ(field_->markEnd, 4);
    EXPECT_EQ(field_->cursor, 4);
    EXPECT_TRUE(field_->status & UI_STATUS_AUTO_MARK);
    // A press and release with no drag between is a click: no mark.
    ToField(WindowSession::Mouse(0x1100, x0 + 6 * w + 1, y));
    ToField(WindowSession::Mouse(0x1000, x0 + 6 * w + 1, y));
    EXPECT_EQ(field_->markStart, -1);
    EXPECT_EQ(field_->cursor, 6);
    // Outside the field the press is not the field's.
    EXPECT_EQ(ToField(WindowSession::Mouse(0x1100, 0, 0)), UI_CODE_NOT_HANDLED);
}

TEST_F(FieldSession, MousePressPlacesTheTextCursor)
{
    auto* caret = new ScriptedDevice(UI_CURSOR_DEVICE);
    session_.manager.AddDevice(caret);
    Open("abcdefgh", 40);
    const int32_t x0 = field_->textRegion.left;
    const int32_t y = field_->textRegion.top + 1;
    const int32_t w = session_.display.characterWidth;
    ToField(WindowSession::Mouse(0x1100, x0 + 3 * w + 1, y));
    EXPECT_EQ(field_->cursor, 3);
    EXPECT_EQ(caret->last.type, UI_CODE_CURSOR_POSITION);
    EXPECT_EQ(caret->last.point.column, x0 + 3 * w);
}

int32_t ShortenText(UI_WIDGET* object, UI_MESSAGE*, int32_t code)
{
    static_cast<UI_STRING_FIELD*>(object)->SetText("x");
    return code;
}

TEST_F(FieldSession, CursorStaysInsideATextTheUserFunctionShortened)
{
    // The cursor used to keep its old place past the new text's end, and the
    // next character typed was stored beyond it.
    Open("abcdefgh", 40);
    field_->cursor = 8;
    field_->callback = ShortenText;
    UI_MESSAGE enter = WindowSession::Key(0x1C0D);
    field_->Event(&enter);
    EXPECT_STREQ(field_->GetText(), "x");
    EXPECT_LE(field_->cursor, field_->length);
    field_->callback = nullptr;
    Type("z");
    EXPECT_EQ(Text().size(), 2u);
}

TEST_F(FieldSession, MarkIsWrittenInTheMarkColours)
{
    Open("abcdefgh", 40);
    field_->markStart = 2;
    field_->markEnd = 5;
    session_.display.calls.clear();
    field_->Repaint(0, 0, 0);
    const auto texts = session_.display.Of("text");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text.substr(0, 2), "ab");
    EXPECT_EQ(texts[1].colours, &UI_MARK_COLOURS);
    EXPECT_EQ(texts[1].rect.left, field_->textRegion.left + 2 * session_.display.characterWidth);
    EXPECT_NE(texts[2].colours, &UI_MARK_COLOURS);
}

} // namespace
