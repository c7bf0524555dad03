// UI_NODE.h: the linked-object bases of the window framework: UI_NODE, the
// element with its two links; UI_NODE_LIST, the owning doubly linked list with
// its optional ordering function; and UI_NODE_POOL, a list whose elements come
// from a fixed store and circulate between the list in use and a spare list.
// Window objects, devices, queue slots and clip rectangles are built on them.
#pragma once

#include <cstdint>

class UI_NODE {
public:
    UI_NODE() = default;
    // Leaves the links as they are: the owner unlinks an element before
    // deleting it.
    virtual ~UI_NODE() = default;
    UI_NODE(const UI_NODE&) = delete;
    UI_NODE& operator=(const UI_NODE&) = delete;

    // Requests of the window objects; this base answers null to every one.
    virtual void* Query(int32_t request, void* data, uint16_t objectID);

    UI_NODE* previous = nullptr;   // null at the head
    UI_NODE* next = nullptr;       // null at the tail
};

// Ordering of two elements, called as order(existing, added): negative when
// existing sorts before added, zero when equal, positive when after.
using UI_NODE_ORDER = int32_t (*)(const UI_NODE* existing, const UI_NODE* added);

class UI_NODE_LIST {
public:
    explicit UI_NODE_LIST(UI_NODE_ORDER orderFunction = nullptr) : order(orderFunction) {}
    // Deletes every member, as DeleteAll of this class does.
    virtual ~UI_NODE_LIST();
    UI_NODE_LIST(const UI_NODE_LIST&) = delete;
    UI_NODE_LIST& operator=(const UI_NODE_LIST&) = delete;

    // Deletes every member through its virtual destructor, without unlinking
    // them one by one, and leaves the list empty with no current element.
    virtual void DeleteAll();

    // Inserts element in the order of `order`: after every element that sorts
    // before it or equal to the tail, before the head when it sorts before or
    // equal to it, and otherwise by bisection (an element equal to one in the
    // middle goes right after the one the search meets). Without an ordering
    // function, or into an empty list, appends. Input already in order costs
    // one comparison per element, other input about log2 n. Returns element.
    // Needs: element is in no list.
    UI_NODE* Insert(UI_NODE* element);

    // Inserts element immediately before position; a null position appends at
    // the tail. Returns element. Needs: element in no list, position a member
    // or null.
    UI_NODE* InsertBefore(UI_NODE* position, UI_NODE* element);

    // Takes a member out of the list and clears its links and, when it was
    // current, `current`. Returns its former successor (null for the tail).
    // Null gives null; an element of another list, or of none, comes back
    // unchanged and nothing is modified. Walks back to the head to test
    // membership.
    UI_NODE* Unlink(UI_NODE* element);

    // The number of members, 0 when empty.
    int32_t Size() const;

    // The zero-based position of element counted from the head; -1 for null
    // or a non-member.
    int32_t PositionOf(const UI_NODE* element) const;

    UI_NODE_ORDER order;
    UI_NODE* head = nullptr;
    UI_NODE* tail = nullptr;
    UI_NODE* current = nullptr;   // the owner's current element; the list only clears it

protected:
    // Forgets every member without deleting any (both ends and current null).
    void Forget();

private:
    void InsertAfter(UI_NODE* position, UI_NODE* element);
    void DeleteMembers();
};

// A list whose elements live in a store of `capacity` elements that the
// derived class allocates, fills (appending every element to `spare` in store
// order) and frees in one block. No element is created or deleted on its own.
class UI_NODE_POOL : public UI_NODE_LIST {
public:
    explicit UI_NODE_POOL(int32_t poolCapacity, UI_NODE_ORDER orderFunction = nullptr)
        : UI_NODE_LIST(orderFunction), capacity(poolCapacity) {}
    // Forgets both chains, so nothing is deleted here; the derived class frees
    // the store.
    ~UI_NODE_POOL() override;

    // Returns every element in use to the tail of `spare`, in list order.
    // Elements of a pool are never deleted one by one.
    void DeleteAll() override;

    // Takes the head of `spare` and inserts it into the list in use right
    // before position (null: at the tail). Null when every element is in use.
    UI_NODE* Take(UI_NODE* position);

    // Unlinks element from the list in use, appends it to the tail of `spare`
    // (so free elements are reused in the order they were released) and
    // returns the element that followed it. Needs: element in use.
    UI_NODE* Release(UI_NODE* element);

    int32_t capacity;
    void* store = nullptr;   // the derived class's block of elements
    UI_NODE_LIST spare;      // the elements not in use
};
