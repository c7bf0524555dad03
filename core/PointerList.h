// PointerList.h: PointerList, a circular doubly linked list of bare pointers
// with a count, kept in insertion order, and PointerListOf<T>, the same list
// handing out T*. The list holds pointers only: erasing frees its own nodes,
// never the objects pointed to, so the owner of those objects deletes them.
// The map windows and the overlay manager keep their objects in one.
#pragma once

#include <cstdint>

class PointerList {
    struct Node {
        Node* prev;
        Node* next;
        void* value;
    };

public:
    // A place in the list: a node, or End() (the head). Stays valid until
    // its node is erased.
    class Position {
    public:
        Position() = default;
        void* operator*() const { return node_->value; }
        Position& operator++() { node_ = node_->next; return *this; }
        Position& operator--() { node_ = node_->prev; return *this; }
        bool operator==(const Position&) const = default;

    private:
        friend class PointerList;
        explicit Position(Node* node) : node_(node) {}
        Node* node_ = nullptr;
    };

    // An empty list: count 0, the head linked to itself.
    PointerList();
    // Frees the nodes; the objects pointed to are left alone.
    ~PointerList();

    PointerList(const PointerList&) = delete;
    PointerList& operator=(const PointerList&) = delete;

    // The first node, End() when the list is empty.
    Position Begin() const { return Position(head_.next); }
    // One past the last node: the head itself.
    Position End() const { return Position(const_cast<Node*>(&head_)); }

    // Puts a node holding value before `before` and answers its position;
    // inserting before End() keeps the values in the order of insertion.
    // When the node cannot be allocated nothing changes and End() comes back.
    Position Insert(Position before, void* value);
    // Insert before End(); false (nothing added) when the node cannot be had.
    bool Append(void* value);

    // Frees the nodes from first up to (not including) last and answers last.
    // Needs: last is reached from first by stepping forward.
    Position Erase(Position first, Position last);
    // Frees every node.
    void Clear() { Erase(Begin(), End()); }

    uint32_t Count() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }

private:
    Node head_;
    uint32_t count_ = 0;
};

// A PointerList whose values are T*. Iterates with range-for:
//     for (Shape* shape : shapes) shape->Draw(view, -1);
template <typename T>
class PointerListOf : public PointerList {
public:
    class Iterator {
    public:
        explicit Iterator(Position at) : at_(at) {}
        T* operator*() const { return static_cast<T*>(*at_); }
        Iterator& operator++() { ++at_; return *this; }
        bool operator==(const Iterator&) const = default;

    private:
        Position at_;
    };

    bool Append(T* value) { return PointerList::Append(value); }

    Iterator begin() const { return Iterator(Begin()); }
    Iterator end() const { return Iterator(End()); }
};
