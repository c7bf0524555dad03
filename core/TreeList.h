// TreeList.h: the untyped keyed list. TreeListBase is the node every listed
// element derives from (u16 key, height-balanced tree links, key-ordered chain
// links); TreeList is the list head. The typed layer is TreeListOf.h, the
// saved form SavedTreeListOf.h.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/StreamFields.h"

// A node of a keyed list. It sits at once in a binary search tree by key,
// balanced in the AVL manner (with one exception, see Rebalance), and in a
// doubly linked chain in key order, the tree's in-order sequence. Keys compare
// as unsigned 16-bit numbers and need not be unique: insertion sends an equal
// key to the right, after the elements that already hold it.
//
// The tree operations work from any node and return the root of the whole tree;
// TreeList keeps root, first and last up to date around them.
class TreeListBase {
public:
    TreeListBase() = default;
    explicit TreeListBase(uint16_t key) : key_(key) {}
    // A copy carries the key only: it starts outside every list.
    TreeListBase(const TreeListBase& other) : key_(other.key_) {}
    TreeListBase& operator=(const TreeListBase&) = delete;
    // Unlinks nothing: TreeListNode's destructor takes the node out first.
    virtual ~TreeListBase() = default;

    uint16_t GetKey() const { return key_; }
    // Only for a node outside every tree: a listed node must keep its place.
    void SetKey(uint16_t key) { key_ = key; }

    TreeListBase* GetNext() const { return next_; }
    TreeListBase* GetPrev() const { return prev_; }
    TreeListBase* GetParent() const { return parent_; }
    TreeListBase* GetLeft() const { return left_; }
    TreeListBase* GetRight() const { return right_; }
    uint8_t GetHeight() const { return height_; }
    int8_t GetBalance() const { return balance_; }

    // Puts node, and first every node of its own subtrees (post-order: left
    // subtree, right subtree, node), into the tree holding this node, searching
    // from here. Each node is detached from wherever it was, placed as a leaf
    // (an equal key goes right) and linked into the chain beside its in-order
    // neighbours. Answers the root of the whole tree.
    TreeListBase* Insert(TreeListBase* node);

    // Recomputes heights and rotates from this node up to the root; answers the
    // root. A side two levels heavier whose heavy child is itself balanced is
    // left as it is, so balances of +2 or -2 (or more, after removals) can stay.
    TreeListBase* Rebalance();

    // Rotations about this node; each answers the node that took its place.
    TreeListBase* RotateLeft();
    TreeListBase* RotateRight();

    // Takes this node, the root, out of the tree and the chain; its left subtree
    // is re-inserted node by node into its right one. Answers the new root, or
    // null when the node was alone. Height and balance are left as they were.
    TreeListBase* RemoveRoot();

    // Takes this node out of the tree and the chain, re-inserting its right and
    // then its left subtree node by node from its parent. Answers the root, or
    // null for a node with neither parent nor children.
    TreeListBase* RemoveInner();

    // Binary search from this node: the first node on the path whose key is
    // key, or null.
    TreeListBase* Find(uint16_t key);

    // Deletes every node below this one, depth first, left before right, each
    // after its own children; this node itself stays.
    void ChopDownTree();

    TreeListBase* Leftmost();
    TreeListBase* Rightmost();

    // balance = height(right) - height(left); height = the greater plus 1; a
    // missing child counts 0.
    void UpdateHeight();
    // Set a child link, then recompute this node's height and balance.
    void SetLeft(TreeListBase* node);
    void SetRight(TreeListBase* node);
    // Sets the parent link; nothing is recomputed.
    void SetParent(TreeListBase* node) { parent_ = node; }

    // Saved form: the key, u16 little-endian. A short read leaves it unchanged.
    void SaveKey(std::ostream& out) const;
    void LoadKey(std::istream& in);
    // The node's own saved form is its key alone.
    void Save(std::ostream& out) const { SaveKey(out); }
    void Load(std::istream& in) { LoadKey(in); }

private:
    void UnlinkFromChain();

    TreeListBase* parent_ = nullptr;
    TreeListBase* left_ = nullptr;    // keys not greater than this one
    TreeListBase* right_ = nullptr;   // keys not smaller than this one
    TreeListBase* prev_ = nullptr;    // previous in key order
    TreeListBase* next_ = nullptr;    // next in key order
    StreamInt16 key_ = 0;
    StreamByte balance_ = 0;          // height(right) - height(left)
    StreamInt8 height_ = 1;           // 1 for a leaf
};

// The head of a keyed list: root, first and last element, and the last key
// that NewKey issued (raised by Insert to any greater key put in). Destroying
// the head deletes no element; TreeListOf owns and deletes its elements.
class TreeList {
public:
    TreeList() = default;
    TreeList(const TreeList&) = delete;
    TreeList& operator=(const TreeList&) = delete;
    virtual ~TreeList();

    // Inserts a node that is in no list; first and last are found again from
    // the root. A null node, or one that is already in a tree, is refused.
    void Insert(TreeListBase* node);
    // Takes node out of this list without deleting it. A null node does
    // nothing; a node of another list (or of none) is refused.
    void Remove(TreeListBase* node);
    // A node with that key, or null. Among equal keys, the one highest in the tree.
    TreeListBase* Find(uint16_t key) const { return root_ ? root_->Find(key) : nullptr; }

    TreeListBase* First() const { return first_; }
    TreeListBase* Last() const { return last_; }
    TreeListBase* Root() const { return root_; }

    // A key no element holds, from 1 to 65535, which also becomes the last key
    // issued: the first free key above the last one issued, or, once the keys
    // above it are used up, a free key counting up from 1. When every key from
    // 1 to 65535 is held this is reported and 0 comes back.
    uint16_t NewKey();
    uint16_t GetLastKey() const { return lastKey_; }

    // Deletes every element through its virtual destructor and empties the
    // list; the last key issued does not change.
    void DeleteAll();
    // DeleteAll, and the keys start again as in a list just made: the next
    // NewKey answers 1. For a list whose elements are all built again.
    void DeleteAllAndRestartKeys();

protected:
    void SetLastKey(uint16_t key) { lastKey_ = key; }

private:
    uint16_t FindLowestFreeKey() const;

    TreeListBase* root_ = nullptr;
    TreeListBase* first_ = nullptr;
    TreeListBase* last_ = nullptr;
    StreamInt16 lastKey_ = 0;
};
