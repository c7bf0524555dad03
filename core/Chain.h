// Chain.h: Chain<T>, the head of an unkeyed, doubly linked chain of elements
// that carry their own ChainLink<T> (ChainLink.h), and the chain's saved form.
// The head owns its elements: its destructor deletes every one still in it.
#pragma once

#include <cstdint>
#include <istream>
#include <new>
#include <ostream>
#include <type_traits>

#include "core/ChainLink.h"
#include "core/StreamFields.h"

template <typename T>
class Chain {
public:
    // Most elements a saved chain can hold: its count is 16 bits.
    static constexpr uint32_t MAX_SAVED = 0xFFFF;

    Chain() = default;
    ~Chain() { DeleteAll(); }

    Chain(const Chain&) = delete;
    Chain& operator=(const Chain&) = delete;
    Chain(Chain&& other) noexcept : first(other.first), last(other.last)
    {
        other.first = other.last = nullptr;
    }
    Chain& operator=(Chain&& other) noexcept
    {
        if (this != &other) {
            DeleteAll();
            first = other.first;
            last = other.last;
            other.first = other.last = nullptr;
        }
        return *this;
    }

    T* First() const { return first; }
    T* Last() const { return last; }

    // Adds the whole chain that holds b (b may be any of its elements; a lone
    // element is a chain of one) after the last element. A head that held b's
    // chain is not updated. Null b: nothing happens.
    void Append(T* b)
    {
        T* bFirst = nullptr;
        T* bLast = nullptr;
        if (!FindSpliceEnds(b, bFirst, bLast))
            return;
        if (last != nullptr)
            ChainLink<T>::LinkOf(last).SpliceAfter(bFirst, bLast);
        else
            first = bFirst;
        last = bLast;
    }

    // Adds the whole chain that holds b before the first element.
    void Prepend(T* b)
    {
        T* bFirst = nullptr;
        T* bLast = nullptr;
        if (!FindSpliceEnds(b, bFirst, bLast))
            return;
        if (first != nullptr)
            ChainLink<T>::LinkOf(first).SpliceBefore(bFirst, bLast);
        first = bFirst;
        if (last == nullptr)
            last = bLast;
    }

    // Splices b's chain in after position, an element of this chain. At the
    // last element (or a null position) this is Append.
    void InsertAfter(T* b, T* position)
    {
        if (position == last || position == nullptr)
            Append(b);
        else
            ChainLink<T>::LinkOf(position).InsertChainAfter(b);
    }

    // Splices b's chain in before position, an element of this chain. At the
    // first element (or a null position) this is Prepend.
    void InsertBefore(T* b, T* position)
    {
        if (position == first || position == nullptr)
            Prepend(b);
        else
            ChainLink<T>::LinkOf(position).InsertChainBefore(b);
    }

    // Takes element out of this chain and hands it back to the caller, who
    // now owns it. Null: nothing happens.
    void Remove(T* element)
    {
        if (element == nullptr)
            return;
        ChainLink<T>& link = ChainLink<T>::LinkOf(element);
        if (element == first)
            first = link.next;
        if (element == last)
            last = link.prev;
        link.Unlink();
    }

    // Deletes every element, first to last, and leaves the chain empty.
    void DeleteAll()
    {
        while (first != nullptr) {
            T* const element = first;
            Remove(element);
            delete element;
        }
    }

    // Saved form, little-endian:
    //   count      u16           number of elements
    //   elements   count times   each element's own Save, first to last
    // A chain of more than 65535 elements saves its first 65535, so that the
    // count and the elements written agree, and answers false. Otherwise
    // answers the stream's state.
    bool Save(std::ostream& out) const
    {
        uint32_t count = 0;
        for (T* e = first; e != nullptr && count <= MAX_SAVED; e = e->GetNext())
            ++count;
        const bool whole = count <= MAX_SAVED;
        if (!whole)
            count = MAX_SAVED;
        StreamInt16(static_cast<uint16_t>(count)).Save(out);
        T* element = first;
        for (uint32_t i = 0; i < count; ++i, element = element->GetNext())
            element->Save(out);
        return whole && static_cast<bool>(out);
    }

    // Reads the saved form and appends the loaded elements after any already
    // held. The count is trusted only as far as the stream delivers: the load
    // stops at the first element that cannot be read (or created), and then
    // adds nothing to the chain, leaves the stream failed and answers false.
    bool Load(std::istream& in)
    {
        StreamInt16 count;
        if (!count.Load(in))
            return false;
        Chain loaded;
        for (uint32_t left = count; left > 0; --left) {
            T* const element = new (std::nothrow) T();
            if (element == nullptr) {
                in.setstate(std::ios::failbit);   // the rest cannot be read in step
                return false;
            }
            if (!LoadElement(*element, in)) {
                delete element;
                return false;
            }
            loaded.Append(element);
        }
        Append(loaded.first);
        loaded.first = loaded.last = nullptr;
        return true;
    }

private:
    // Finds the ends of b's chain; answers false when b is null or its chain
    // is this one (a chain spliced into itself would close into a ring).
    bool FindSpliceEnds(T* b, T*& bFirst, T*& bLast) const
    {
        if (b == nullptr)
            return false;
        ChainLink<T>& link = ChainLink<T>::LinkOf(b);
        bFirst = link.FirstOfChain();
        bLast = link.LastOfChain();
        return bFirst != first || first == nullptr;
    }

    // Runs the element's own Load, whatever it returns; answers whether the
    // element was read whole. An element that refuses its data without
    // failing the stream fails it, so the caller sees one state.
    static bool LoadElement(T& element, std::istream& in)
    {
        using Result = decltype(element.Load(in));
        if constexpr (std::is_same_v<Result, bool>) {
            if (!element.Load(in))
                in.setstate(std::ios::failbit);
        } else {
            element.Load(in);
        }
        return static_cast<bool>(in);
    }

    T* first = nullptr;   // first element, null when empty
    T* last = nullptr;    // last element, null when empty
};
