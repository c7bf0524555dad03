// SavedTreeListOf.h: SavedTreeListOf<T>, a keyed list of T that writes itself
// to a stream and reads itself back, whole (Load) or kept to the keys of a
// reference list (LoadMatching). The list itself is TreeListOf.h.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <type_traits>

#include "core/ErrorReport.h"
#include "core/StreamFields.h"
#include "core/TreeListOf.h"

// Saved form, little-endian:
//   count      u16   number of element records that follow
//   elements   count times, in key order, each as T's own Save writes it
// An element record normally starts with its u16 key. There is no version,
// length or terminator, and the last key issued is not saved.
//
// What T offers: a default constructor (or one taking a key, given 0) that
// leaves the key 0; Save(std::ostream&) and Load(std::istream&), called on T
// (virtually where T declares them virtual); a virtual destructor. Load and
// LoadMatching always construct plain T objects.
//
// A load never empties the list first; callers do that. It stops at the first
// read that fails: an element cut short is deleted, never listed, and the
// stream stays failed so that the caller sees a damaged file.
template <class T>
class SavedTreeListOf : public TreeListOf<T> {
public:
    // Called by LoadMatching with every element it reads, kept or not.
    using LoadCallback = void (*)(T* element);

    SavedTreeListOf() = default;

    // Reads a saved form and inserts every element read. Afterwards the last
    // key issued is the highest key in the list (which may lower it), unless
    // the list is empty. Answers whether the stream is still good.
    virtual bool Load(std::istream& in)
    {
        uint16_t count = 0;
        if (!LoadField(in, count))
            return false;
        for (uint32_t i = 0; i < count; ++i) {
            T* const element = ReadElement(in);
            if (!element)
                break;
            this->Insert(element);
        }
        if (TreeListBase* const last = TreeList::Last())
            this->SetLastKey(last->GetKey());
        return static_cast<bool>(in);
    }

    // Reads a saved form and keeps only the elements whose key the reference
    // list holds (a null reference holds nothing); every other element read is
    // deleted. The callback, when given, sees each element read before that
    // choice. The reference list is only searched. The last key issued is only
    // what the insertions raise it to. Answers whether the stream is still good.
    virtual bool LoadMatching(std::istream& in, const TreeList* reference, LoadCallback callback)
    {
        uint16_t count = 0;
        if (!LoadField(in, count))
            return false;
        for (uint32_t i = 0; i < count; ++i) {
            T* const element = ReadElement(in);
            if (!element)
                break;
            if (callback)
                callback(element);
            TreeListBase* const node = element;
            if (reference && reference->Find(node->GetKey()))
                this->Insert(element);
            else
                delete element;
        }
        return static_cast<bool>(in);
    }

    // Writes the saved form. A list of more than 65535 elements cannot be
    // counted in 16 bits: it is reported, nothing is written and the stream is
    // failed. Answers whether the stream is still good.
    virtual bool Save(std::ostream& out) const
    {
        uint32_t count = 0;
        for (TreeListBase* node = TreeList::First(); node; node = node->GetNext())
            ++count;
        if (count > 0xFFFF) {
            const std::string text = "SavedTreeListOf::Save: " + std::to_string(count) + " elements exceed 65535";
            ErrorBox(text.c_str());
            out.setstate(std::ios::failbit);
            return false;
        }
        SaveField(out, static_cast<uint16_t>(count));
        for (TreeListBase* node = TreeList::First(); node; node = node->GetNext())
            TreeListOf<T>::ToElement(node)->Save(out);
        return static_cast<bool>(out);
    }

private:
    // A new element read from the stream, or null (nothing left behind) when
    // the stream fails before the element is complete.
    static T* ReadElement(std::istream& in)
    {
        T* element = nullptr;
        if constexpr (std::is_default_constructible_v<T>)
            element = new T();
        else
            element = new T(uint16_t{0});
        element->Load(in);
        if (!in) {
            delete element;
            return nullptr;
        }
        return element;
    }
};
