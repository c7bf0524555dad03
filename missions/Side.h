// Side.h: Side, one party of the scenario as its missions see it: its id,
// its relations toward the other sides, and the calls that hand a unit or
// an aircraft reference back to the side's missions. The rest of the side
// (names, victory manager, reference points, doctrine, the missions' owner)
// joins it here as it is built.
#pragma once

#include <cstdint>

#include "core/TreeListOf.h"
#include "engagement/SideEntry.h"

class Side : public TreeListNode<Side> {
public:
    explicit Side(uint16_t id = 0) : TreeListNode<Side>(id) {}
    ~Side() override = default;
    Side(const Side&) = delete;
    Side& operator=(const Side&) = delete;

    uint16_t GetID() const { return GetKey(); }

    // Relations toward other sides: 0 none, 1 hostile, 2 friendly, 3 neutral.
    // GetRelation answers 2 for the side's own id without looking at the list,
    // the record's byte otherwise, 0 when there is no record.
    uint8_t GetRelation(uint16_t other) const;
    // Inserts a record (the side owns it from then on); answers true.
    bool AddRelation(SideEntry* entry);
    // False when there is no record for other; no record is created.
    bool SetRelation(uint16_t other, uint8_t relation);
    // Finds the record, takes it out and deletes it; false when there is none.
    bool RemoveRelation(uint16_t other);
    SideEntry* GetRelationList() const { return relations.First(); }

    // The missions' side of a unit or reference move: the unit goes back to
    // the standing mission from mission missionID, the unit joins mission
    // missionID, the aircraft reference of holder and record moves from one
    // mission to another. Until the side owns its missions these do nothing.
    virtual void ReturnUnitToStanding(uint16_t unitID, uint16_t missionID);
    virtual void MoveUnitToMission(uint16_t unitID, uint16_t missionID);
    virtual void MoveReference(uint16_t holderID, uint16_t recordID, uint16_t fromMission, uint16_t toMission);

private:
    SideRelationList relations;
};
