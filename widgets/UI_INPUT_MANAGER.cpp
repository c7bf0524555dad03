// UI_INPUT_MANAGER.cpp: the event queue, device ordering and the polling
// Get of the input manager.
#include "widgets/UI_INPUT_MANAGER.h"

#include <algorithm>
#include <new>
#include <thread>

#include "core/AllocationCheck.h"

UI_INPUT_MANAGER* UI_INPUT_DEVICE::inputManager = nullptr;
UI_SCREEN* UI_INPUT_DEVICE::display = nullptr;

UI_EVENT_QUEUE::UI_EVENT_QUEUE(int32_t slotCount) : UI_NODE_POOL(std::max(slotCount, 0))
{
    if (capacity == 0)
        return;
    UI_EVENT_SLOT* slots = new (std::nothrow) UI_EVENT_SLOT[static_cast<size_t>(capacity)];
    AllocationCheck(slots);
    if (slots == nullptr) {
        capacity = 0;   // FatalError returned: a queue that drops every event
        return;
    }
    store = slots;
    for (int32_t i = 0; i < capacity; ++i)
        spare.InsertBefore(nullptr, &slots[i]);
}

UI_EVENT_QUEUE::~UI_EVENT_QUEUE()
{
    // Both chains point into the store: forget them before it goes.
    head = nullptr;
    tail = nullptr;
    current = nullptr;
    spare.head = nullptr;
    spare.tail = nullptr;
    spare.current = nullptr;
    delete[] static_cast<UI_EVENT_SLOT*>(store);
    store = nullptr;
}

namespace {

// Keeps devices in ascending device type; equal types keep their adding order.
int32_t CompareDeviceTypes(const UI_NODE* existing, const UI_NODE* added)
{
    const int64_t difference = int64_t{static_cast<const UI_INPUT_DEVICE*>(existing)->deviceType} -
                               static_cast<const UI_INPUT_DEVICE*>(added)->deviceType;
    return static_cast<int32_t>(std::clamp<int64_t>(difference, INT32_MIN, INT32_MAX));
}

UI_INPUT_DEVICE* NextDevice(const UI_NODE* node)
{
    return static_cast<UI_INPUT_DEVICE*>(node->next);
}

} // namespace

UI_INPUT_MANAGER::UI_INPUT_MANAGER(UI_SCREEN* screen, int32_t slotCount)
    : UI_NODE_LIST(&CompareDeviceTypes), display(screen), queue(slotCount)
{
    UI_INPUT_DEVICE::display = screen;
    UI_INPUT_DEVICE::inputManager = this;
}

UI_INPUT_MANAGER::~UI_INPUT_MANAGER()
{
    // Devices deleted by the list's destructor must not put into this manager.
    if (UI_INPUT_DEVICE::inputManager == this)
        UI_INPUT_DEVICE::inputManager = nullptr;
}

UI_INPUT_DEVICE* UI_INPUT_MANAGER::FindDevice(int32_t deviceType) const
{
    for (UI_NODE* node = head; node != nullptr; node = node->next) {
        UI_INPUT_DEVICE* device = static_cast<UI_INPUT_DEVICE*>(node);
        if (device->deviceType == deviceType)
            return device;
    }
    return nullptr;
}

void UI_INPUT_MANAGER::AddDevice(UI_INPUT_DEVICE* device)
{
    if (device == nullptr || PositionOf(device) >= 0)
        return;
    Insert(device);
    UI_MESSAGE initialize(UI_CODE_INITIALIZE);
    device->Event(&initialize);
}

int32_t UI_INPUT_MANAGER::SendToDevice(int32_t deviceType, int32_t code)
{
    UI_INPUT_DEVICE* device = FindDevice(deviceType);
    if (device == nullptr)
        return code;
    UI_MESSAGE message(code);
    return device->Event(&message);
}

int32_t UI_INPUT_MANAGER::SetDevicePosition(int32_t deviceType, int32_t column, int32_t line)
{
    UI_INPUT_DEVICE* device = FindDevice(deviceType);
    if (device == nullptr)
        return UI_CODE_CURSOR_POSITION;
    UI_MESSAGE message(UI_CODE_CURSOR_POSITION);
    message.point.column = column;
    message.point.line = line;
    return device->Event(&message);
}

int32_t UI_INPUT_MANAGER::Event(UI_MESSAGE* event, int32_t deviceType)
{
    if (event == nullptr)
        return UI_CODE_NOT_HANDLED;

    if (event->type == UI_CODE_SCREEN_CHANGED && event->pointer == nullptr) {
        int32_t answer = UI_CODE_NOT_HANDLED;
        for (UI_NODE* node = head; node != nullptr;) {
            UI_INPUT_DEVICE* device = static_cast<UI_INPUT_DEVICE*>(node);
            node = node->next;
            UI_MESSAGE removed(UI_CODE_REMOVED);
            answer = device->Event(&removed);
        }
        return answer;
    }

    if (event->type == UI_CODE_SCREEN_CHANGED) {
        display = static_cast<UI_SCREEN*>(event->pointer);
        UI_INPUT_DEVICE::display = display;
        UI_NODE* former = head;
        Forget();   // empty the list; the devices stay, chained by their own links
        while (former != nullptr) {
            UI_NODE* following = former->next;
            former->previous = nullptr;
            former->next = nullptr;
            if (following != nullptr)
                following->previous = nullptr;   // cut it off the rest of the old chain
            AddDevice(static_cast<UI_INPUT_DEVICE*>(former));
            former = following;
        }
        return UI_CODE_SCREEN_CHANGED;
    }

    int32_t answer = UI_CODE_NOT_HANDLED;
    for (UI_NODE* node = head; node != nullptr;) {
        UI_INPUT_DEVICE* device = static_cast<UI_INPUT_DEVICE*>(node);
        node = node->next;
        if (deviceType == UI_ALL_DEVICES || device->deviceType == deviceType)
            answer = device->Event(event);
    }
    return answer;
}

void UI_INPUT_MANAGER::PollDevices()
{
    for (UI_INPUT_DEVICE* device = static_cast<UI_INPUT_DEVICE*>(head); device != nullptr;) {
        UI_INPUT_DEVICE* following = NextDevice(device);
        device->Poll();
        device = following;
    }
}

int32_t UI_INPUT_MANAGER::Get(UI_MESSAGE* event, int32_t flags)
{
    ++getDepth;
    if (getDepth == 1)
        getFlags = flags;

    int32_t answer = UI_CODE_NOT_HANDLED;
    for (;;) {
        const bool poll = (flags & UI_GET_NO_POLL) == 0;
        if (poll)
            PollDevices();
        UI_EVENT_SLOT* slot = (flags & UI_GET_FROM_TAIL) != 0 ? queue.Last() : queue.First();
        if (slot != nullptr) {
            if (event != nullptr)
                *event = slot->message;
            if ((flags & UI_GET_PEEK) == 0)
                queue.Release(slot);
            answer = 0;
            break;
        }
        // Nothing queued: answer at once, or when no device could ever put
        // an event, so that a wait cannot hang; else poll again.
        if ((flags & UI_GET_NO_WAIT) != 0 || !poll || head == nullptr)
            break;
        std::this_thread::yield();
    }

    --getDepth;
    if (getDepth == 0)
        getFlags = 0;
    return answer;
}

void UI_INPUT_MANAGER::Put(const UI_MESSAGE* event, int32_t flags)
{
    if (event == nullptr)
        return;
    UI_NODE* position = (flags & UI_PUT_AT_TAIL) != 0 ? nullptr : queue.head;
    UI_EVENT_SLOT* slot = static_cast<UI_EVENT_SLOT*>(queue.Take(position));
    if (slot != nullptr)
        slot->message = *event;
}
