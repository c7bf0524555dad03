// UI_INPUT_MANAGER.h: the input manager and what it owns: UI_INPUT_DEVICE,
// the base of the keyboard, mouse and text cursor devices; UI_EVENT_SLOT and
// UI_EVENT_QUEUE, the fixed queue of event records; and UI_INPUT_MANAGER,
// which polls its devices inside every Get and is also the framework's
// message bus. Nothing runs in the background: devices are polled only in Get.
// The concrete devices live in files of their own.
#pragma once

#include <cstdint>

#include "widgets/UI_MESSAGE.h"
#include "widgets/UI_NODE.h"

class UI_INPUT_MANAGER;

class UI_INPUT_DEVICE : public UI_NODE {
public:
    // ready = 0; a concrete device sets it once its hardware is set up.
    UI_INPUT_DEVICE(int32_t type, int32_t state) : deviceType(type), deviceState(state) {}
    // Nothing of its own: a concrete device releases its hardware when ready.
    ~UI_INPUT_DEVICE() override = default;

    // A message to the device; the answer is the device's own.
    virtual int32_t Event(UI_MESSAGE* event) = 0;
    // Called in every Get; puts into the queue whatever happened since the
    // last call. A device that is not ready puts nothing.
    virtual void Poll() = 0;

    int32_t ready = 0;
    int32_t deviceType;    // UI_KEY_EVENT, UI_MOUSE_EVENT, UI_CURSOR_DEVICE
    int32_t deviceState;   // UI_DEVICE_OFF, UI_DEVICE_ON (the mouse knows more)

    // The manager the devices put into and the display they draw on; set by
    // the manager's constructor (and the display change), cleared when that
    // manager goes.
    static UI_INPUT_MANAGER* inputManager;
    static UI_SCREEN* display;
};

// One queued event record. Lives in the queue's store, never on its own.
class UI_EVENT_SLOT : public UI_NODE {
public:
    UI_MESSAGE message;
};

// The queue of events: a pool of slotCount slots allocated in one block. The
// list in use is the queue (taken from the head), `spare` the free slots.
class UI_EVENT_QUEUE : public UI_NODE_POOL {
public:
    // A count below 0 counts as 0 (every Put is then dropped).
    explicit UI_EVENT_QUEUE(int32_t slotCount);
    ~UI_EVENT_QUEUE() override;

    UI_EVENT_SLOT* First() const { return static_cast<UI_EVENT_SLOT*>(head); }
    UI_EVENT_SLOT* Last() const { return static_cast<UI_EVENT_SLOT*>(tail); }
};

class UI_INPUT_MANAGER : public UI_NODE_LIST {
public:
    // Builds the queue with slotCount slots (the program passes 100), keeps
    // display here and for the devices, and becomes the devices' manager.
    UI_INPUT_MANAGER(UI_SCREEN* screen, int32_t slotCount);
    // Frees the queue, then deletes every device that was added.
    ~UI_INPUT_MANAGER() override;

    // Hands event to the devices: those of deviceType, or all for
    // UI_ALL_DEVICES; answers the last device's answer, UI_CODE_NOT_HANDLED
    // when none was called. UI_CODE_SCREEN_CHANGED with a display re-adds
    // every device in type order, each followed by UI_CODE_INITIALIZE, and
    // answers UI_CODE_SCREEN_CHANGED; with a null pointer it sends every device
    // UI_CODE_REMOVED instead.
    virtual int32_t Event(UI_MESSAGE* event, int32_t deviceType);

    // Polls every device (unless UI_GET_NO_POLL), then copies the event at the
    // head (the tail with UI_GET_FROM_TAIL) into event and takes it out of the
    // queue (unless UI_GET_PEEK); answers 0. With UI_GET_NO_WAIT an empty queue
    // answers UI_CODE_NOT_HANDLED and leaves event unchanged; without it the
    // devices are polled until one puts something. A wait that nothing could
    // end (no device, or UI_GET_NO_POLL) answers UI_CODE_NOT_HANDLED rather
    // than hang. Re-entrant: getDepth counts the calls in progress.
    virtual int32_t Get(UI_MESSAGE* event, int32_t flags);

    // Copies event into a free slot: at the tail with UI_PUT_AT_TAIL, else at
    // the head, so it is taken next. A full queue drops it without notice.
    virtual void Put(const UI_MESSAGE* event, int32_t flags);

    // Adds device in device-type order and sends it UI_CODE_INITIALIZE. Null,
    // or a device already here, changes nothing.
    void AddDevice(UI_INPUT_DEVICE* device);

    // Sends a message of type code to the first device of deviceType and
    // answers its answer; code itself when there is no such device.
    int32_t SendToDevice(int32_t deviceType, int32_t code);

    // Sends UI_CODE_CURSOR_POSITION with point (column, line) to the first
    // device of deviceType; UI_CODE_CURSOR_POSITION when there is none.
    int32_t SetDevicePosition(int32_t deviceType, int32_t column, int32_t line);

    int32_t getDepth = 0;   // Get calls in progress
    int32_t getFlags = 0;   // flags of the outermost Get in progress, 0 when none
    UI_SCREEN* display;
    UI_EVENT_QUEUE queue;

private:
    UI_INPUT_DEVICE* FindDevice(int32_t deviceType) const;
    void PollDevices();
};
