// CommandMessage.cpp: the command's header, its argument chain and the
// cursor reads and writes.
#include "core/CommandMessage.h"

#include <cstring>
#include <new>

#include "core/AllocationCheck.h"

TextArgument::TextArgument(char* text, size_t bufferSize)
    : text_(text), size_(bufferSize)
{
    if (text_ == nullptr) {
        text_ = new char[1]{};
        size_ = 1;
    } else if (size_ == 0) {
        size_ = std::strlen(text_) + 1;
    }
}

bool TextArgument::SetText(const char* text)
{
    const char* const source = text ? text : "";
    const size_t length = std::strlen(source);
    const size_t kept = length < size_ ? length : size_ - 1;
    std::memcpy(text_, source, kept);
    text_[kept] = '\0';
    return true;
}

CommandMessage::CommandMessage(uint16_t code, uint32_t param1, uint32_t param2, uint16_t param3,
                               CommandRoutine onResult, CommandRoutine onDestroy)
{
    header.code = code;
    header.param1 = param1;
    header.param2 = param2;
    header.param3 = param3;
    header.onResult = onResult;
    header.onDestroy = onDestroy;
}

CommandMessage::~CommandMessage()
{
    if (header.onDestroy)
        header.onDestroy(this);
    cursor = nullptr;
    arguments.DeleteAll();
}

bool CommandMessage::Append(CommandArgument* argument)
{
    AllocationCheck(argument);
    if (!argument)
        return false;
    arguments.Append(argument);
    return true;
}

namespace {

// The byte a toggle or choice stores for value under the disabled flag.
int8_t ToggleState(int8_t value, uint8_t disabled)
{
    if (disabled == 1)
        return -1;
    if (disabled == 0 && value < 0)
        return 1;
    return value;
}

} // namespace

bool CommandMessage::AddToggle(int8_t value, uint8_t disabled)
{
    return Append(new (std::nothrow) ToggleArgument(ToggleState(value, disabled)));
}

bool CommandMessage::AddChoice(int8_t value, uint8_t disabled)
{
    return Append(new (std::nothrow) ChoiceArgument(ToggleState(value, disabled)));
}

bool CommandMessage::AddShort(int16_t value) { return Append(new (std::nothrow) ShortArgument(value)); }

bool CommandMessage::AddText(char* text, size_t bufferSize)
{
    return Append(new (std::nothrow) TextArgument(text, bufferSize));
}

bool CommandMessage::AddTextList(Chain<StringNode>* list)
{
    if (!list)
        list = new Chain<StringNode>;
    return Append(new (std::nothrow) TextListArgument(list));
}

CommandArgument* CommandMessage::TakeCursor()
{
    CommandArgument* const argument = cursor;
    if (argument)
        cursor = argument->GetNext();
    return argument;
}

int32_t CommandMessage::GetNextLong()
{
    const CommandArgument* const argument = TakeCursor();
    return argument ? argument->GetValue() : 0;
}

int16_t CommandMessage::GetNextShort() { return static_cast<int16_t>(GetNextLong()); }
uint8_t CommandMessage::GetNextByte() { return static_cast<uint8_t>(GetNextLong()); }
int8_t CommandMessage::GetNextChar() { return static_cast<int8_t>(GetNextLong()); }

void* CommandMessage::GetNextPointer()
{
    const CommandArgument* const argument = TakeCursor();
    return argument ? argument->GetPointer() : nullptr;
}

Chain<StringNode>* CommandMessage::GetNextTextList()
{
    const auto* const argument = dynamic_cast<const TextListArgument*>(TakeCursor());
    return argument ? static_cast<Chain<StringNode>*>(argument->GetPointer()) : nullptr;
}

bool CommandMessage::SetNextLong(int32_t value)
{
    CommandArgument* const argument = TakeCursor();
    if (!argument)
        return false;
    argument->SetValue(value);
    return true;
}

bool CommandMessage::SetNextShort(int16_t value) { return SetNextLong(value); }
bool CommandMessage::SetNextByte(uint8_t value) { return SetNextLong(static_cast<int8_t>(value)); }
bool CommandMessage::SetNextChar(int8_t value) { return SetNextLong(value); }

bool CommandMessage::SetNextText(const char* text)
{
    CommandArgument* const argument = TakeCursor();
    return argument && argument->SetText(text);
}
