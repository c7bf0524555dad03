// TreeList.cpp: the tree and chain operations of the keyed list node and head.
// Iteration order and saved order depend on the exact placement rules here
// (equal keys, rotations, re-insertion on removal): change them with care.
#include "core/TreeList.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "core/ErrorReport.h"

// ---------------------------------------------------------------------------
// TreeListBase

void TreeListBase::UnlinkFromChain()
{
    if (prev_)
        prev_->next_ = next_;
    if (next_)
        next_->prev_ = prev_;
}

void TreeListBase::UpdateHeight()
{
    const int hl = left_ ? left_->height_.Get() : 0;
    const int hr = right_ ? right_->height_.Get() : 0;
    balance_ = static_cast<int8_t>(hr - hl);
    height_ = static_cast<uint8_t>(std::max(hl, hr) + 1);
}

void TreeListBase::SetLeft(TreeListBase* node)
{
    left_ = node;
    UpdateHeight();
}

void TreeListBase::SetRight(TreeListBase* node)
{
    right_ = node;
    UpdateHeight();
}

TreeListBase* TreeListBase::Leftmost()
{
    TreeListBase* node = this;
    while (node->left_)
        node = node->left_;
    return node;
}

TreeListBase* TreeListBase::Rightmost()
{
    TreeListBase* node = this;
    while (node->right_)
        node = node->right_;
    return node;
}

TreeListBase* TreeListBase::Find(uint16_t key)
{
    TreeListBase* node = this;
    while (node && node->key_ != key)
        node = key < node->key_ ? node->left_ : node->right_;
    return node;
}

// Needs: a left child.
TreeListBase* TreeListBase::RotateRight()
{
    TreeListBase* const parent = parent_;
    TreeListBase* const pivot = left_;
    TreeListBase* const inner = pivot->right_;

    if (parent) {
        if (parent->right_ == this)
            parent->SetRight(pivot);
        else
            parent->SetLeft(pivot);
    }
    pivot->parent_ = parent;
    pivot->SetRight(this);
    parent_ = pivot;
    SetLeft(inner);
    if (inner)
        inner->parent_ = this;

    if (pivot->left_)
        pivot->left_->UpdateHeight();
    pivot->right_->UpdateHeight();
    pivot->UpdateHeight();
    return pivot;
}

// Needs: a right child.
TreeListBase* TreeListBase::RotateLeft()
{
    TreeListBase* const parent = parent_;
    TreeListBase* const pivot = right_;
    TreeListBase* const inner = pivot->left_;

    if (parent) {
        if (parent->right_ == this)
            parent->SetRight(pivot);
        else
            parent->SetLeft(pivot);
    }
    pivot->parent_ = parent;
    pivot->SetLeft(this);
    parent_ = pivot;
    SetRight(inner);
    if (inner)
        inner->parent_ = this;

    if (pivot->right_)
        pivot->right_->UpdateHeight();
    pivot->left_->UpdateHeight();
    pivot->UpdateHeight();
    return pivot;
}

TreeListBase* TreeListBase::Rebalance()
{
    TreeListBase* node = this;
    for (;;) {
        TreeListBase* const parent = node->parent_;
        node->UpdateHeight();

        TreeListBase* replaced = nullptr;
        if (node->balance_ > 1) {
            const int rightBalance = node->right_->balance_;
            if (rightBalance > 0) {
                replaced = node->RotateLeft();
            } else if (rightBalance < 0) {
                node->right_->RotateRight();
                replaced = node->RotateLeft();
            }
        } else if (node->balance_ < -1) {
            const int leftBalance = node->left_->balance_;
            if (leftBalance < 0) {
                replaced = node->RotateRight();
            } else if (leftBalance > 0) {
                node->left_->RotateLeft();
                replaced = node->RotateRight();
            }
        }

        // After a rotation the node that took this place is checked in its
        // turn before the walk goes on upward.
        TreeListBase* const following = replaced ? replaced : parent;
        if (!following)
            return node;
        node = following;
    }
}

TreeListBase* TreeListBase::Insert(TreeListBase* node)
{
    if (TreeListBase* const parent = node->parent_) {
        if (parent->right_ == node)
            parent->SetRight(nullptr);
        else
            parent->SetLeft(nullptr);
        node->parent_ = nullptr;
    }
    node->UnlinkFromChain();

    // A node that arrives with subtrees brings them along, one node at a time;
    // each recursive insertion detaches that child from this node.
    TreeListBase* start = this;
    if (node->left_)
        start = start->Insert(node->left_);
    if (node->right_)
        start = start->Insert(node->right_);

    node->prev_ = nullptr;
    node->next_ = nullptr;
    TreeListBase* before = nullptr;   // in-order predecessor of the new leaf
    TreeListBase* after = nullptr;    // in-order successor of the new leaf
    TreeListBase* at = start;
    for (;;) {
        if (at->key_ > node->key_) {
            after = at;
            if (!at->left_) {
                at->SetLeft(node);
                break;
            }
            at = at->left_;
        } else {
            before = at;   // equal keys go right, after the ones present
            if (!at->right_) {
                at->SetRight(node);
                break;
            }
            at = at->right_;
        }
    }
    node->parent_ = at;

    if (before) {
        node->next_ = before->next_;
        node->prev_ = before;
        before->next_ = node;
        if (node->next_)
            node->next_->prev_ = node;
    } else if (after) {
        node->prev_ = after->prev_;
        node->next_ = after;
        after->prev_ = node;
        if (node->prev_)
            node->prev_->next_ = node;
    }

    return node->Rebalance();
}

TreeListBase* TreeListBase::RemoveRoot()
{
    TreeListBase* const right = right_;
    TreeListBase* const left = left_;
    if (right)
        right->parent_ = nullptr;
    if (left)
        left->parent_ = nullptr;

    UnlinkFromChain();
    right_ = nullptr;
    left_ = nullptr;
    prev_ = nullptr;
    next_ = nullptr;

    if (!left)
        return right;   // null when this node was alone
    if (!right)
        return left;
    return right->Insert(left);
}

TreeListBase* TreeListBase::RemoveInner()
{
    UnlinkFromChain();
    prev_ = nullptr;
    next_ = nullptr;

    TreeListBase* const parent = parent_;
    if (parent) {
        parent_ = nullptr;
        if (parent->right_ == this)
            parent->SetRight(nullptr);
        else
            parent->SetLeft(nullptr);
    }

    // The subtrees go back in from the parent: right first, then left into
    // whatever that gave. Without a parent the right subtree is the new tree.
    TreeListBase* root = nullptr;
    if (TreeListBase* const right = right_) {
        right_ = nullptr;
        right->parent_ = nullptr;
        root = parent ? parent->Insert(right) : right;
    }
    if (TreeListBase* const left = left_) {
        left_ = nullptr;
        left->parent_ = nullptr;
        TreeListBase* const start = root ? root : parent;
        root = start ? start->Insert(left) : left;
    }

    TreeListBase* const from = root ? root : parent;
    return from ? from->Rebalance() : nullptr;
}

void TreeListBase::ChopDownTree()
{
    if (left_) {
        if (left_ == right_) {
            ErrorBox("TreeListBase::ChopDownTree:  leftChild == rightChild.  Please report this error");
            right_ = nullptr;
        }
        TreeListBase* const left = left_;
        left->ChopDownTree();
        delete left;
        left_ = nullptr;
    }
    if (right_) {
        TreeListBase* const right = right_;
        right->ChopDownTree();
        delete right;
        right_ = nullptr;
    }
    // A node without parent or children leaves only the chain when its
    // destructor takes it out, so the survivors stay linked.
    parent_ = nullptr;
}

void TreeListBase::SaveKey(std::ostream& out) const
{
    key_.Save(out);
}

void TreeListBase::LoadKey(std::istream& in)
{
    key_.Load(in);
}

// ---------------------------------------------------------------------------
// TreeList

TreeList::~TreeList()
{
    root_ = nullptr;
    first_ = nullptr;
    last_ = nullptr;
}

void TreeList::Insert(TreeListBase* node)
{
    if (!node)
        return;
    // Inserting a listed node again would detach it from its own tree, or
    // make it its own child.
    if (node == root_ || node->GetParent() || node->GetLeft() || node->GetRight()) {
        FatalError("TreeList::Insert: element is already in a list");
        return;
    }

    root_ = root_ ? root_->Insert(node) : node->Rebalance();
    first_ = root_->Leftmost();
    last_ = root_->Rightmost();
    if (node->GetKey() > lastKey_)
        lastKey_ = node->GetKey();
}

void TreeList::Remove(TreeListBase* node)
{
    if (!node)
        return;
    // Removing a node that is not here would drop or corrupt this whole tree.
    TreeListBase* top = node;
    while (top->GetParent())
        top = top->GetParent();
    if (top != root_) {
        FatalError("TreeList::Remove: element is not in this list");
        return;
    }

    root_ = node == root_ ? node->RemoveRoot() : node->RemoveInner();
    // First and last are found again from the tree rather than stepped from
    // the removed node: re-inserting its subtrees can put an element with the
    // same key as the old first (or last) element in front of it (or behind
    // it), and a walk from a stale first would then miss that element.
    first_ = root_ ? root_->Leftmost() : nullptr;
    last_ = root_ ? root_->Rightmost() : nullptr;
}

uint16_t TreeList::NewKey()
{
    const uint16_t last = lastKey_;
    uint16_t candidate = static_cast<uint16_t>(last + 1);   // 65535 + 1 gives 0

    // The first key above the last one issued that no element holds.
    TreeListBase* node = Find(candidate);
    while (node && candidate != 0 && node->GetKey() <= candidate) {
        candidate = static_cast<uint16_t>(candidate + 1);
        node = node->GetNext();
    }

    // The keys above ran out: count up from 1 along the chain. A key 0 element
    // moves the count on by one more.
    if (candidate == 0) {
        candidate = 1;
        node = first_;
        const int limit = int{last} + 1;   // no wrap-around here
        while (node && candidate < limit && node->GetKey() <= candidate) {
            candidate = static_cast<uint16_t>(candidate + 1);
            node = node->GetNext();
        }
    }

    // Duplicate keys can walk the count on to a key that is held while a lower
    // one is free, and a full list has no free key at all. After 65535 was
    // issued the count up from 1 can also run past 65535 and wrap to 0.
    if (candidate == 0 || Find(candidate)) {
        candidate = FindLowestFreeKey();
        if (candidate == 0) {
            FatalError("TreeList::NewKey: every key from 1 to 65535 is in use");
            return 0;
        }
    }

    lastKey_ = candidate;
    return candidate;
}

uint16_t TreeList::FindLowestFreeKey() const
{
    uint32_t candidate = 1;
    for (TreeListBase* node = first_; node && candidate <= 0xFFFF; node = node->GetNext()) {
        if (node->GetKey() == candidate)
            ++candidate;
        else if (node->GetKey() > candidate)
            break;
    }
    return candidate <= 0xFFFF ? static_cast<uint16_t>(candidate) : 0;
}

void TreeList::DeleteAll()
{
    if (root_) {
        root_->ChopDownTree();
        delete root_;
    }
    root_ = nullptr;
    first_ = nullptr;
    last_ = nullptr;
}

void TreeList::DeleteAllAndRestartKeys()
{
    DeleteAll();
    lastKey_ = 0;
}
