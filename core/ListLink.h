// ListLink.h: ListLink, the bare two-pointer link of the chains whose
// elements are rows built for one pass (launcher rows, stock entries, an
// attack plan's rows by shooter). The rows derive from it and add their data.
#pragma once

#include "core/ChainLink.h"

// A chain element with no data of its own. The destructor is virtual, so a
// Chain<ListLink> deletes each derived row whole; it unlinks the row from
// both neighbours first.
class ListLink : public ChainLink<ListLink> {
public:
    ListLink() = default;
    virtual ~ListLink() = default;
};
