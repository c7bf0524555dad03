// ChainLink.h: ChainLink<T>, the link that an element of a chain carries
// inside itself. The head that owns a chain is Chain<T> in Chain.h.
//
// An element class derives publicly from the link of its own type:
//   class PathPoint : public ChainLink<PathPoint> { ... };
// The link's pointers designate elements, not links; each operation goes from
// the element to its link and back by an ordinary base-class conversion, so
// nothing depends on where the link lies in the element.
#pragma once

template <typename T>
class Chain;

template <typename T>
class ChainLink {
public:
    ChainLink() = default;
    // An element that is destroyed joins its neighbours together. A head that
    // may hold it at either end is not told: take it out with Chain::Remove.
    ~ChainLink() { Unlink(); }

    // A copied element starts in no chain; assigning an element keeps the
    // place of the one assigned to.
    ChainLink(const ChainLink&) {}
    ChainLink& operator=(const ChainLink&) { return *this; }

    T* GetNext() const { return next; }
    T* GetPrev() const { return prev; }

    // Set one field alone; the neighbour is not touched.
    void SetNext(T* element) { next = element; }
    void SetPrev(T* element) { prev = element; }

    // The last element of the chain that holds this one (this one when it is
    // the last, or in no chain).
    T* LastOfChain()
    {
        T* element = Self();
        while (LinkOf(element).next != nullptr)
            element = LinkOf(element).next;
        return element;
    }

    // The first element of the chain that holds this one.
    T* FirstOfChain()
    {
        T* element = Self();
        while (LinkOf(element).prev != nullptr)
            element = LinkOf(element).prev;
        return element;
    }

    // Takes this element out of its chain, joining its neighbours.
    void Unlink()
    {
        if (next != nullptr)
            LinkOf(next).prev = prev;
        if (prev != nullptr)
            LinkOf(prev).next = next;
        next = nullptr;
        prev = nullptr;
    }

    // Splices the whole chain that holds b, first to last, in between this
    // element and its next. Nothing happens when b is null or when b's chain
    // is the one holding this element (a chain spliced into itself would
    // close into a ring).
    void InsertChainAfter(T* b)
    {
        T* first = nullptr;
        T* last = nullptr;
        if (b == nullptr || !FindOtherChainEnds(b, first, last))
            return;
        SpliceAfter(first, last);
    }

    // Splices the whole chain that holds b in between this element's prev and
    // this element; nothing happens in the same cases as InsertChainAfter.
    void InsertChainBefore(T* b)
    {
        T* first = nullptr;
        T* last = nullptr;
        if (b == nullptr || !FindOtherChainEnds(b, first, last))
            return;
        SpliceBefore(first, last);
    }

private:
    friend class Chain<T>;

    static ChainLink& LinkOf(T* element) { return *element; }
    T* Self() { return static_cast<T*>(this); }

    // Finds the first and last elements of b's chain, walking it once; answers
    // false when this element lies on it.
    bool FindOtherChainEnds(T* b, T*& first, T*& last)
    {
        const T* const self = Self();
        first = b;
        while (true) {
            if (first == self)
                return false;
            T* const before = LinkOf(first).prev;
            if (before == nullptr)
                break;
            first = before;
        }
        last = b;
        while (LinkOf(last).next != nullptr) {
            last = LinkOf(last).next;
            if (last == self)
                return false;
        }
        return true;
    }

    // Needs: first..last a whole chain not holding this element.
    void SpliceAfter(T* first, T* last)
    {
        LinkOf(first).prev = Self();
        T* const oldNext = next;
        LinkOf(last).next = oldNext;
        next = first;
        if (oldNext != nullptr)
            LinkOf(oldNext).prev = last;
    }

    // Needs: first..last a whole chain not holding this element.
    void SpliceBefore(T* first, T* last)
    {
        LinkOf(last).next = Self();
        T* const oldPrev = prev;
        LinkOf(first).prev = oldPrev;
        prev = last;
        if (oldPrev != nullptr)
            LinkOf(oldPrev).next = first;
    }

    T* next = nullptr;   // the following element, null at the end
    T* prev = nullptr;   // the preceding element, null at the start
};
