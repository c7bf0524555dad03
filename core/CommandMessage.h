// CommandMessage.h: CommandMessage, one command carried from the code that
// prepares it to the window or routine that carries it out: a header (code,
// three parameters, a result routine and a clean-up routine) and a chain of
// typed arguments (toggle, choice, short, text, text list) read and written
// in order through a cursor. The argument node classes live here too.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/Chain.h"
#include "core/ChainLink.h"
#include "core/StringNode.h"

class CommandMessage;

// A routine handed the command: the result routine when the user confirms,
// the clean-up routine when the command is destroyed.
using CommandRoutine = void (*)(CommandMessage* command);

struct CommandHeader {
    uint16_t code = 0;                     // command code (item table number for dialogs)
    uint32_t param1 = 0;                   // e.g. a unit or mission id; 0xFFFFFFFF for none
    uint32_t param2 = 0;
    uint16_t param3 = 0;
    CommandRoutine onResult = nullptr;     // receives the finished command
    CommandRoutine onDestroy = nullptr;    // called first by the destructor; null for none
};

// One argument of a command. Every kind reads and writes a number; the text
// kinds also answer their owned pointer. A read or write of the wrong kind
// is not checked: the order of the arguments is the contract between the
// builder of a command and its consumer.
class CommandArgument : public ChainLink<CommandArgument> {
public:
    CommandArgument() = default;
    CommandArgument(const CommandArgument&) = delete;
    CommandArgument& operator=(const CommandArgument&) = delete;
    virtual ~CommandArgument() = default;

    // The value as a number (0 for the text kinds).
    virtual int32_t GetValue() const = 0;
    virtual void SetValue(int32_t value) = 0;
    // The owned text buffer or text chain; null for the number kinds.
    virtual void* GetPointer() const { return nullptr; }
    // Copies text into the owned buffer, cut to fit; false for other kinds.
    virtual bool SetText(const char*) { return false; }
};

// A signed byte: 1 on, 0 off, -1 disabled.
class ToggleArgument : public CommandArgument {
public:
    explicit ToggleArgument(int8_t state) : state_(state) {}
    int32_t GetValue() const override { return state_; }
    void SetValue(int32_t value) override { state_ = static_cast<int8_t>(value); }

private:
    int8_t state_;
};

// A choice behaves as a toggle; it differs only in its class.
class ChoiceArgument : public ToggleArgument {
public:
    using ToggleArgument::ToggleArgument;
};

class ShortArgument : public CommandArgument {
public:
    explicit ShortArgument(int16_t value) : value_(value) {}
    int32_t GetValue() const override { return value_; }
    void SetValue(int32_t value) override { value_ = static_cast<int16_t>(value); }

private:
    int16_t value_;
};

// An owned text buffer of a fixed size.
class TextArgument : public CommandArgument {
public:
    // Takes text (allocated with new[]) and its buffer size in bytes; a size
    // of 0 means the text's length plus its terminator. Null: an empty text.
    TextArgument(char* text, size_t bufferSize);
    ~TextArgument() override { delete[] text_; }
    int32_t GetValue() const override { return 0; }
    void SetValue(int32_t) override {}
    void* GetPointer() const override { return text_; }
    bool SetText(const char* text) override;

private:
    char* text_;
    size_t size_;
};

// An owned chain of StringNodes (each owning its text).
class TextListArgument : public CommandArgument {
public:
    explicit TextListArgument(Chain<StringNode>* list) : list_(list) {}
    ~TextListArgument() override { delete list_; }
    int32_t GetValue() const override { return 0; }
    void SetValue(int32_t) override {}
    void* GetPointer() const override { return list_; }

private:
    Chain<StringNode>* list_;
};

class CommandMessage {
public:
    CommandMessage(uint16_t code, uint32_t param1, uint32_t param2, uint16_t param3, CommandRoutine onResult,
                   CommandRoutine onDestroy);
    // Calls onDestroy (when set) with the command, then deletes every
    // argument with what it owns.
    ~CommandMessage();
    CommandMessage(const CommandMessage&) = delete;
    CommandMessage& operator=(const CommandMessage&) = delete;

    CommandHeader* GetHeader() { return &header; }
    const CommandHeader* GetHeader() const { return &header; }

    // ---- adding: each appends one argument and answers true ----
    // A negative value becomes 1 when disabled is 0; disabled 1 stores -1
    // whatever the value; any other disabled value stores the value as is.
    bool AddToggle(int8_t value, uint8_t disabled);
    bool AddChoice(int8_t value, uint8_t disabled);
    bool AddShort(int16_t value);
    // Takes an owned text (new[]) with its buffer size (0: length + 1).
    bool AddText(char* text, size_t bufferSize = 0);
    // Takes an owned chain of StringNodes; a null chain is an empty one.
    bool AddTextList(Chain<StringNode>* list);

    // ---- reading at the cursor: the value there, then the cursor moves on ----
    // Past the last argument a read answers 0 (or null) and the cursor stays.
    // Puts the cursor on the first argument (null for an empty command).
    void FirstArgument() { cursor = arguments.First(); }
    int32_t GetNextLong();
    int16_t GetNextShort();
    uint8_t GetNextByte();
    int8_t GetNextChar();
    // The owned pointer of a text (char*) or text list (Chain<StringNode>*).
    void* GetNextPointer();
    // The chain of a text list argument; null when the argument at the
    // cursor is of another kind (the cursor moves on all the same).
    Chain<StringNode>* GetNextTextList();

    // ---- writing at the cursor: overwrites the value, moves on ----
    // Past the last argument nothing is written and the answer is false.
    bool SetNextLong(int32_t value);
    bool SetNextShort(int16_t value);
    bool SetNextByte(uint8_t value);
    bool SetNextChar(int8_t value);
    // Copies text into the text argument's buffer, cut to its size.
    bool SetNextText(const char* text);

    CommandArgument* GetCursor() const { return cursor; }

private:
    bool Append(CommandArgument* argument);
    // The argument at the cursor, with the cursor moved past it; null at the end.
    CommandArgument* TakeCursor();

    CommandHeader header;
    Chain<CommandArgument> arguments;
    CommandArgument* cursor = nullptr;
};
