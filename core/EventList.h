// EventList.h: the saved form of a chain of events (SaveEventList,
// LoadEventList) and its deep copy (CopyEventList), as path points, stations
// and order lists keep them. Which class a type code makes is the event
// factory's, which lives with the simulation and is installed here at
// start-up (SetEventFactory).
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/Chain.h"
#include "core/Event.h"

// Makes a new, empty event of the class of a type code, or nullptr when the
// code names no class.
using EventFactory = Event* (*)(uint8_t typeCode);

// Installs the factory LoadEventList uses (nullptr: none); returns the one it
// replaces.
EventFactory SetEventFactory(EventFactory factory);

// Saved form, little-endian:
//   count    u16           number of events
//   events   count times   each event's own Save: its type code (u8) first
// A chain of more than 65535 events writes its first 65535 and answers
// false; otherwise the answer is the stream's state.
bool SaveEventList(const Chain<Event>& events, std::ostream& out);

// Reads the saved form and appends the events, in their order, to `events`.
// A type code no class answers to (or any code while no factory is
// installed) is the FatalError "Attempted to Load Unknown Event!"; the load stops
// there. A damaged or refused event stops it too. Either way nothing of this
// load joins the chain, the stream is left failed and the answer is false.
bool LoadEventList(Chain<Event>& events, std::istream& in);

// Appends to `to` a copy of every event of `from`, in order, each made by
// the event's Clone; an event whose class cannot be copied (Clone answers
// nullptr) is left out. A null chain is reported through FatalError and
// nothing is copied.
void CopyEventList(const Chain<Event>* from, Chain<Event>* to);
