// CommandMessageTest.cpp: the command's header, the toggle and choice
// encodings, reading and writing in order through the cursor, the refusal
// past the last argument, the text list, and destruction with its clean-up
// routine.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/CommandMessage.h"

namespace {

char* OwnedText(const char* text, size_t size)
{
    char* buffer = new char[size]{};
    std::strncpy(buffer, text, size - 1);
    return buffer;
}

TEST(CommandMessage, HeaderHoldsTheConstructorValues)
{
    CommandMessage command(16, 0xFFFFFFFFu, 7, 3, nullptr, nullptr);
    const CommandHeader* h = command.GetHeader();
    EXPECT_EQ(h->code, 16);
    EXPECT_EQ(h->param1, 0xFFFFFFFFu);
    EXPECT_EQ(h->param2, 7u);
    EXPECT_EQ(h->param3, 3);
    EXPECT_EQ(h->onResult, nullptr);
    command.FirstArgument();
    EXPECT_EQ(command.GetCursor(), nullptr);   // no arguments: no cursor
}

TEST(CommandMessage, ToggleAndChoiceEncodeTheDisabledFlag)
{
    struct Row { int8_t value; uint8_t disabled; int8_t stored; };
    const Row rows[] = {
        {-1, 0, 1},    // a negative value reads as on
        {-1, 1, -1},
        {1, 1, -1},    // disabled whatever the value
        {0, 0, 0},
        {1, 0, 1},
        {-5, 2, -5},   // any other flag keeps the value
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << int{r.value} << " / " << int{r.disabled});
        CommandMessage command(0, 0, 0, 0, nullptr, nullptr);
        ASSERT_TRUE(command.AddToggle(r.value, r.disabled));
        ASSERT_TRUE(command.AddChoice(r.value, r.disabled));
        command.FirstArgument();
        EXPECT_EQ(command.GetNextChar(), r.stored);
        EXPECT_EQ(command.GetNextChar(), r.stored);
    }
}

TEST(CommandMessage, ReadsAndWritesFollowTheOrderOfAdding)
{
    CommandMessage command(0, 0, 0, 0, nullptr, nullptr);
    command.AddToggle(1, 0);
    command.AddShort(-1234);
    command.AddText(OwnedText("abc", 8), 8);
    auto* list = new Chain<StringNode>;
    list->Append(new StringNode("first", 3));
    command.AddTextList(list);

    command.FirstArgument();
    EXPECT_EQ(command.GetNextByte(), 1);
    EXPECT_EQ(command.GetNextShort(), -1234);
    EXPECT_STREQ(static_cast<const char*>(command.GetNextPointer()), "abc");
    EXPECT_EQ(command.GetNextTextList(), list);
    EXPECT_EQ(command.GetNextLong(), 0);          // past the last: nothing
    EXPECT_FALSE(command.SetNextShort(5));

    command.FirstArgument();
    EXPECT_TRUE(command.SetNextChar(0));
    EXPECT_TRUE(command.SetNextShort(321));
    EXPECT_TRUE(command.SetNextText("a text longer than the buffer"));
    command.FirstArgument();
    EXPECT_EQ(command.GetNextChar(), 0);
    EXPECT_EQ(command.GetNextShort(), 321);
    EXPECT_STREQ(static_cast<const char*>(command.GetNextPointer()), "a text ");   // cut to 8 bytes
}

TEST(CommandMessage, TextListReadOfAnotherKindAnswersNone)
{
    CommandMessage command(0, 0, 0, 0, nullptr, nullptr);
    command.AddShort(4);
    command.AddText(nullptr);
    command.AddTextList(nullptr);   // an empty list
    command.FirstArgument();
    EXPECT_EQ(command.GetNextTextList(), nullptr);
    EXPECT_EQ(command.GetNextTextList(), nullptr);
    Chain<StringNode>* empty = command.GetNextTextList();
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->First(), nullptr);
}

std::vector<std::string>& Calls()
{
    static std::vector<std::string> calls;
    return calls;
}

TEST(CommandMessage, DestroyCallsTheCleanUpOnceBeforeTheArgumentsGo)
{
    Calls().clear();
    auto* command = new CommandMessage(1, 0, 0, 0, nullptr, [](CommandMessage* c) {
        c->FirstArgument();
        // The arguments are still there while the clean-up runs.
        const Chain<StringNode>* list = c->GetNextTextList();
        Calls().push_back(list && list->First() ? list->First()->GetText() : "gone");
    });
    auto* list = new Chain<StringNode>;
    list->Append(new StringNode("kept until the clean-up", 1));
    command->AddTextList(list);
    delete command;   // the sanitizer build checks that the list is freed
    EXPECT_EQ(Calls(), std::vector<std::string>{"kept until the clean-up"});
}

} // namespace
