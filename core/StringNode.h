// StringNode.h: StringNode, an element of a Chain<StringNode> that owns a
// text buffer and carries a value beside it: the text lists that windows
// show (platform lists, choice lists) and hand back by value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/ChainLink.h"

class StringNode : public ChainLink<StringNode> {
public:
    // No text (the empty text) and value 0.
    StringNode() = default;

    // Owns a copy of text in a buffer of bufferSize bytes (bufferSize 0: a
    // buffer of the text's length + 1). A text longer than bufferSize - 1
    // keeps its first bufferSize - 1 characters when bufferSize is given. A
    // null text is the empty text. The value is pointer-wide: some lists
    // carry a pointer in it; nothing saves it.
    StringNode(const char* text, intptr_t value, size_t bufferSize = 0)
        : value_(value)
    {
        const size_t length = text != nullptr ? std::strlen(text) : 0;
        size_ = bufferSize != 0 ? bufferSize : length + 1;
        text_ = std::make_unique<char[]>(size_);   // zero-filled
        if (length > 0)
            std::memcpy(text_.get(), text, length < size_ ? length : size_ - 1);
    }

    StringNode(const StringNode&) = delete;
    StringNode& operator=(const StringNode&) = delete;

    // The text, zero-terminated; "" when the node has none.
    const char* GetText() const { return text_ ? text_.get() : ""; }
    // Bytes of the owned buffer, terminator included; 0 without one.
    size_t GetBufferSize() const { return size_; }

    intptr_t GetValue() const { return value_; }
    void SetValue(intptr_t value) { value_ = value; }

private:
    std::unique_ptr<char[]> text_;
    size_t size_ = 0;
    intptr_t value_ = 0;
};
