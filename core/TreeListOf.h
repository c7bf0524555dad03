// TreeListOf.h: the typed keyed list. TreeListNode<T> is the base every listed
// element class T derives from; TreeListOf<T> is the list that owns such
// elements. The untyped tree is TreeList.h; saving and loading a whole list
// is SavedTreeListOf.h.
#pragma once

#include <cstdint>

#include "core/TreeList.h"

// The node part of an element class T (class T : public TreeListNode<T>). It
// adds no data: the key and the links are TreeListBase's. The node need not be
// T's first base; the typed steps convert between the node and the element,
// and null stays null.
template <class T>
class TreeListNode : public TreeListBase {
public:
    TreeListNode() = default;
    explicit TreeListNode(uint16_t key) : TreeListBase(key) {}
    TreeListNode(const TreeListNode& other) : TreeListBase(other) {}

    // Takes the node out of its chain and tree. The list head is not told, so
    // an element still in a list is deleted only through that list (or
    // removed from it first).
    ~TreeListNode() override { RemoveInner(); }

    T* GetNext() const { return static_cast<T*>(TreeListBase::GetNext()); }
    T* GetPrev() const { return static_cast<T*>(TreeListBase::GetPrev()); }
    T* GetParent() const { return static_cast<T*>(TreeListBase::GetParent()); }
};

// A keyed list of T, T derived once from TreeListBase (normally through
// TreeListNode<T>). The list owns its elements: Remove hands one back to the
// caller, DeleteAll and the destructor delete them through their virtual
// destructors. Lookup and insertion cost O(log n); see TreeList.h for the
// removal cost, the key rules and equal keys.
template <class T>
class TreeListOf : public TreeList {
public:
    TreeListOf() = default;
    ~TreeListOf() override { TreeListOf::DeleteAll(); }

    // Takes element out of the list without deleting it.
    virtual void Remove(T* element) { TreeList::Remove(ToNode(element)); }
    // Deletes every element; root, first and last become null, the last key
    // issued stays.
    virtual void DeleteAll() { TreeList::DeleteAll(); }

    T* First() const { return ToElement(TreeList::First()); }
    T* Last() const { return ToElement(TreeList::Last()); }
    T* Root() const { return ToElement(TreeList::Root()); }
    T* Find(uint16_t key) const { return ToElement(TreeList::Find(key)); }
    void Insert(T* element) { TreeList::Insert(ToNode(element)); }

    static T* ToElement(TreeListBase* node) { return node ? static_cast<T*>(node) : nullptr; }
    static TreeListBase* ToNode(T* element) { return element ? static_cast<TreeListBase*>(element) : nullptr; }
};
