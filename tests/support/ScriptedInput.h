// ScriptedInput.h: test stand-ins for the input hardware. ScriptedDevice is an
// input device whose Poll puts recorded messages, one per poll, and which
// records what it is sent. ScriptedKeys replaces the keyboard library while it
// lives: keys are queued with the shift flags in force when each is taken,
// and `held` gives the shift flags between keys.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "widgets/KeyInput.h"
#include "widgets/UI_INPUT_MANAGER.h"

class ScriptedDevice : public UI_INPUT_DEVICE {
public:
    // journal, when given, collects "<device type>:<message type>" for every
    // message sent to any device sharing it, and "<device type>:deleted".
    explicit ScriptedDevice(int32_t type, std::vector<std::string>* journal = nullptr)
        : UI_INPUT_DEVICE(type, UI_DEVICE_ON), journal_(journal)
    {
        ready = 1;
    }
    ~ScriptedDevice() override { Note("deleted"); }

    // Queues a message for a later poll, with the Put flags to use.
    void Script(const UI_MESSAGE& message, int32_t flags = UI_PUT_AT_TAIL)
    {
        script.emplace_back(message, flags);
    }

    int32_t Event(UI_MESSAGE* event) override
    {
        received.push_back(event->type);
        last = *event;
        Note(std::to_string(event->type));
        return answer;
    }

    void Poll() override
    {
        ++polls;
        if (onPoll)
            onPoll(*this);
        if (script.empty() || inputManager == nullptr)
            return;
        const std::pair<UI_MESSAGE, int32_t> next = script.front();
        script.pop_front();
        inputManager->Put(&next.first, next.second);
    }

    std::deque<std::pair<UI_MESSAGE, int32_t>> script;
    std::vector<int32_t> received;   // the types of the messages sent to it
    UI_MESSAGE last;                 // the last message sent to it
    int32_t answer = 0;              // what Event answers
    int32_t polls = 0;
    std::function<void(ScriptedDevice&)> onPoll;   // runs at the start of each poll

private:
    void Note(const std::string& what)
    {
        if (journal_ != nullptr)
            journal_->push_back(std::to_string(deviceType) + ":" + what);
    }

    std::vector<std::string>* journal_;
};

class ScriptedKeys : public KeyLibrary {
public:
    ScriptedKeys() { previous_ = SetKeyLibrary(this); }
    ~ScriptedKeys() override { SetKeyLibrary(previous_); }
    ScriptedKeys(const ScriptedKeys&) = delete;
    ScriptedKeys& operator=(const ScriptedKeys&) = delete;

    // Queues a key: library value, and the shift flags when it is taken.
    void Press(int32_t value, int32_t shifts = 0) { keys.push_back({value, shifts}); }

    bool Install() override { ++installs; return installWorks; }
    void Remove() override { ++removes; }
    bool KeyWaiting() override { return !keys.empty(); }
    int32_t ReadKey() override
    {
        if (keys.empty())
            return 0;
        const int32_t value = keys.front().value;
        taken = keys.front().shifts;
        keys.pop_front();
        return value;
    }
    // The flags of the next key while one waits, else `held`.
    int32_t Shifts() override { return keys.empty() ? held : keys.front().shifts; }

    struct Key {
        int32_t value;
        int32_t shifts;
    };
    std::deque<Key> keys;
    int32_t held = 0;
    int32_t taken = 0;
    bool installWorks = true;
    int32_t installs = 0;
    int32_t removes = 0;

private:
    KeyLibrary* previous_;
};
