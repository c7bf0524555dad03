// Tests of the label: its width following its text (not when centred), the
// held text and its copies, the '~' marker, the hot key handed to the next
// object so that Alt and the letter choose it, and the drawing of the text.
#include <gtest/gtest.h>

#include <cstring>

#include "support/WindowSession.h"
#include "widgets/UI_LABEL.h"
#include "widgets/UI_STRING_FIELD.h"
#include "widgets/UI_WINDOW.h"

namespace {

int32_t Width(const UI_WIDGET* object)
{
    return object->screenRect.right - object->screenRect.left;
}

class Labels : public testing::Test {
protected:
    void SetUp() override
    {
        window_ = new UI_WINDOW(2, 2, 40, 10);
        session_.desktop.Add(window_);
    }

    UI_LABEL* Show(UI_LABEL* label)
    {
        window_->Add(label);
        return label;
    }

    WindowSession session_;
    UI_WINDOW* window_ = nullptr;
};

TEST_F(Labels, WidthZeroFollowsTheTextWhileCentredKeepsItsWidth)
{
    UI_LABEL* plain = Show(new UI_LABEL(1, 1, "Name"));
    EXPECT_EQ(Width(plain), 4 * 8);
    EXPECT_TRUE(plain->flags & UI_FLAG_NOT_SELECTABLE);
    plain->SetText("Longer name");
    EXPECT_EQ(Width(plain), 11 * 8);
    plain->SetText("ID");
    EXPECT_EQ(Width(plain), 2 * 8);
    EXPECT_EQ(plain->screenRect.bottom - plain->screenRect.top, 14 - 2 - 2 - 1);

    UI_LABEL* centred = Show(new UI_LABEL(1, 3, 10, "Name", UI_FLAG_CENTRED));
    const int32_t given = Width(centred);
    EXPECT_EQ(given, 10 * 8 - 1);
    centred->SetText("A much longer text than before");
    EXPECT_EQ(Width(centred), given);

    UI_LABEL* bordered = Show(new UI_LABEL(1, 5, "Name", UI_FLAG_BORDER));
    EXPECT_EQ(Width(bordered), 4 * 8 + 8);   // one cell more for the border
}

TEST_F(Labels, ChangedTextIsErasedAndDrawnAtOnce)
{
    UI_LABEL* label = Show(new UI_LABEL(1, 1, "Before"));
    session_.display.calls.clear();
    label->SetText("After");
    const auto texts = session_.display.Of("text");
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back().text, "After");
    EXPECT_EQ(texts.back().rect.left, label->screenRect.left);
    EXPECT_FALSE(session_.display.Of("box").empty());   // the old text erased
}

TEST(UI_LABEL, HeldTextIsNeitherFreedNorCopiedAgain)
{
    UI_LABEL label(0, 0, "First");
    char* held = label.GetText();
    label.SetText(held);
    EXPECT_EQ(label.GetText(), held);
    EXPECT_STREQ(label.GetText(), "First");
    label.SetText(nullptr);   // a null text gives an empty label
    EXPECT_EQ(label.GetText(), nullptr);

    char buffer[32];
    label.Query(UI_QUERY_SET_TEXT, const_cast<char*>("Copied"), 0);
    label.Query(UI_QUERY_COPY_TEXT, buffer, 0);
    EXPECT_STREQ(buffer, "Copied");
    char* got = nullptr;
    EXPECT_EQ(label.Query(UI_QUERY_GET_TEXT, &got, 0), &got);
    EXPECT_EQ(got, label.GetText());
    EXPECT_EQ(label.classChain[0], UI_ID_LABEL);
}

TEST_F(Labels, CallersBufferIsShownAndNeverFreed)
{
    char caller[] = "Speed 12";
    {
        UI_LABEL* label = Show(new UI_LABEL(1, 1, caller, UI_FLAG_TEXT_NOT_COPIED));
        EXPECT_EQ(label->GetText(), caller);
        std::strcpy(caller, "Speed 30");
        session_.display.calls.clear();
        label->Query(UI_QUERY_REDISPLAY, nullptr, UI_ID_WIDGET);
        const auto texts = session_.display.Of("text");
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts.back().text, "Speed 30");
        window_->Remove(label);
        delete label;   // must not free caller (the sanitizer build would see it)
    }
    EXPECT_STREQ(caller, "Speed 30");
}

TEST(UI_LABEL, HotKeyGoesToTheNextFieldAndAltChoosesIt)
{
    WindowSession session;
    auto* window = new UI_WINDOW(2, 2, 40, 10);
    auto* first = new UI_STRING_FIELD(12, 0, 10, "x", 10, 0, 0, nullptr);
    char text[] = "~Name";
    auto* label = new UI_LABEL(1, 1, text, UI_FLAG_TEXT_NOT_COPIED);
    auto* field = new UI_STRING_FIELD(12, 1, 10, "y", 10, 0, 0, nullptr);
    window->Add(first);
    window->Add(label);
    window->Add(field);
    session.desktop.Add(window);   // initialised in list order
    EXPECT_STREQ(label->GetText(), "&Name");   // the marker is changed in place
    EXPECT_EQ(label->hotKey, 'n');
    EXPECT_EQ(field->hotKey, 'n');
    ASSERT_EQ(window->Current(), first);
    EXPECT_EQ(session.Dispatch(WindowSession::KeyWith(0x3100, UI_SHIFT_ALT)), UI_KEY_EVENT);
    EXPECT_EQ(window->Current(), field);   // the field, never the label
}

TEST_F(Labels, LastLabelKeepsItsHotKey)
{
    UI_LABEL* label = Show(new UI_LABEL(1, 1, "&Quit"));
    EXPECT_EQ(label->hotKey, 'q');
    EXPECT_EQ(label->next, nullptr);
    EXPECT_EQ(session_.Dispatch(WindowSession::KeyWith(0x1000, UI_SHIFT_ALT)), UI_CODE_NOT_HANDLED);
}

} // namespace
