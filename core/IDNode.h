// IDNode.h: the identifier nodes of the ID lists. IDNode carries one u16
// identifier as its key; NavIDNode adds a u16 value, IDPoint a position. The
// lists that hold them are IDList.h; IDListNode, a node owning an IDList, is
// RecordList.h.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/LatLonPoint.h"
#include "core/TreeListOf.h"

// One identifier (a unit, record, target or group member) in a keyed list.
// Save and Load are virtual so that a list of IDNode saves each element as its
// own class does.
class IDNode : public TreeListNode<IDNode> {
public:
    IDNode() = default;
    explicit IDNode(uint16_t id) : TreeListNode<IDNode>(id) {}
    ~IDNode() override = default;

    // Saved form: the identifier, u16.
    virtual void Save(std::ostream& out) const;
    virtual void Load(std::istream& in);
};

// An identifier with one u16 value beside it: a loadout and its reach, a
// weapon and the weapon shown in its place.
class NavIDNode : public IDNode {
public:
    NavIDNode() = default;
    explicit NavIDNode(uint16_t id, uint16_t value = 0) : IDNode(id), value_(value) {}

    uint16_t GetValue() const { return value_; }
    void SetValue(uint16_t value) { value_ = value; }

    NavIDNode* GetNext() const { return static_cast<NavIDNode*>(IDNode::GetNext()); }

    // Saved form, little-endian:
    //   id      u16
    //   value   u16
    void Save(std::ostream& out) const override;
    void Load(std::istream& in) override;

private:
    StreamInt16 value_ = 0;
};

// An identifier with a position: a facility of an installation and its
// offset from the installation's position, in angle units.
class IDPoint : public IDNode {
public:
    IDPoint() = default;
    explicit IDPoint(uint16_t id, LatLonPoint point = {}) : IDNode(id), point_(point) {}

    LatLonPoint GetPosition() const { return point_; }
    void SetPosition(LatLonPoint point) { point_ = point; }

    IDPoint* GetNext() const { return static_cast<IDPoint*>(IDNode::GetNext()); }

    // Saved form, little-endian:
    //   id    u16
    //   lat   i32   angle units
    //   lon   i32   angle units
    void Save(std::ostream& out) const override;
    void Load(std::istream& in) override;

private:
    LatLonPoint point_;
};
