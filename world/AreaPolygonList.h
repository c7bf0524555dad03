// AreaPolygonList.h: AreaPolygonList, the zones of one side in the order they
// were added or loaded: made and reshaped from chains of positions, retyped,
// deleted, saved with the side, drawn in their zone colours, picked by their
// markers, and tested against the legs of a path. The zone is AreaPolygon.h.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <new>

#include "core/AllocationCheck.h"
#include "core/LatLonPoint.h"
#include "core/XYRect.h"
#include "world/AreaPolygon.h"

// A position that is an element of a chain; paths and drawn outlines are
// chains of them. The chain operations below are written for any such
// element: a PositionObject that is its own ChainLink.
class PositionNode;

// Display filter bits of the map windows, each showing some zone groups.
constexpr uint32_t ZONE_FILTER_SURFACE    = 0x00100000;   // shows 0x00000FF0
constexpr uint32_t ZONE_FILTER_SUBSURFACE = 0x00200000;   // shows 0x000FF000
constexpr uint32_t ZONE_FILTER_AIR        = 0x00400000;   // shows 0x0FF00000
constexpr uint32_t ZONE_FILTER_EXCLUSION  = 0x00800000;   // shows 0x7000000F
constexpr uint32_t ZONE_FILTER_NEUTRAL    = 0x01000000;   // shows 0x80000000

class AreaPolygonList {
public:
    // Resource texts of the error boxes.
    static constexpr int32_t TEXT_NO_POINTS       = 0x7B00BE;
    static constexpr int32_t TEXT_CHAIN_SHORT     = 0x7B00BF;
    static constexpr int32_t TEXT_NO_ZONE_REPLACE = 0x7B00C0;
    static constexpr int32_t TEXT_NO_ZONE_TYPE    = 0x7B00C1;

    // Most points a chain may give a zone, so that its closing point still
    // fits the 16-bit count.
    static constexpr int32_t MAX_CHAIN_POINTS = INT16_MAX - 1;

    AreaPolygonList() = default;
    // An empty list, then Load; a damaged stream leaves it empty and failed.
    explicit AreaPolygonList(std::istream& in);
    // Deletes every zone.
    ~AreaPolygonList();

    AreaPolygonList(const AreaPolygonList&) = delete;
    AreaPolygonList& operator=(const AreaPolygonList&) = delete;

    // Saved form, little-endian:
    //   N      u16                 zones
    //   zones  N AreaPolygon records, in list order (AreaPolygon::Save)
    void Save(std::ostream& out) const;
    // Reads N zones and appends them in stored order. A damaged record (a
    // cut stream, a zone without points, a point count beyond the bytes
    // present) fails the whole load: the zones read are dropped, the list
    // keeps what it held, the stream is left failed and the answer is false.
    bool Load(std::istream& in);

    // The first zone with this id; null when none.
    AreaPolygon* Find(int16_t id) const;
    AreaPolygon* GetFirst() const { return first; }

    // Builds a zone from the positions of the chain that holds `chain` (any
    // element of it) and appends it with the id of the last zone plus 1 (1
    // in an empty list). Answers the id, or 0 when no zone was made (no
    // chain: error box).
    template <typename Node>
    int16_t Add(uint32_t type, Node* chain);
    // Puts a zone built from the chain in the place of zone `id`, keeping the
    // id; the new zone's name is the old one followed by one blank. Answers
    // id; 0 when the id is absent (error box) or the chain gives no points,
    // and the old zone then stays as it was.
    template <typename Node>
    int16_t Replace(int16_t id, uint32_t type, Node* chain);
    // type != 0: sets the zone's type bits and answers id. type == 0: deletes
    // the zone and answers 0. An absent id: error box, nothing changes, 0.
    int16_t SetType(int16_t id, uint32_t type);
    // The zone's type bits; 0 when absent.
    uint32_t GetType(int16_t id) const;
    // Unlinks and deletes the first zone with this id; nothing when absent.
    void Delete(int16_t id);

    // A new chain of the zone's points (MakePointChain); null when absent.
    // The caller owns the chain.
    template <typename Node = PositionNode>
    Node* GetPointChain(int16_t id) const;
    // One new node per point of the zone, the closing point included, each
    // set to the point (longitude folded back into +-180 degrees) and
    // projected, chained in point order. Answers the first node; null for a
    // null zone or one without points. The caller owns the chain.
    template <typename Node = PositionNode>
    static Node* MakePointChain(const AreaPolygon* zone);
    // A new array of the positions of the chain that holds `chain`, from its
    // first element; `count` takes their number. Null (count 0) and an error
    // box when there is no chain or it is longer than MAX_CHAIN_POINTS. The
    // caller deletes the array.
    template <typename Node>
    static LatLonPoint* PointsFromChain(Node* chain, int16_t& count);

    // True when some zone sharing a type bit with mask has segment a-b
    // crossing its outline an odd number of times (one end inside), zones
    // tested in list order on copies of a and b.
    bool Any_Odd_Crossing(const LatLonPoint& a, const LatLonPoint& b, uint32_t mask) const;
    // The first valid LatLon_Poly::First_Crossing of a-b among the zones
    // sharing a type bit with mask, in list order; the invalid point if none.
    LatLonPoint First_Crossing(const LatLonPoint& a, const LatLonPoint& b, uint32_t mask) const;

    // The palette index a zone of these type bits is drawn in: 48 general
    // exclusion or a conflict of groups, 49 surface threat, 50 surface
    // sensor, 51 air threat, 52 air sensor, 53 submarine threat, 54
    // subsurface sensor, 55 neutral; 0 without group bits. Within one medium
    // the threat group wins over the sensor group without a conflict.
    static int16_t ZoneColour(uint32_t type);

    // Draws every zone whose type shares a bit with the groups the filter
    // shows, in the colour of the shown groups only, and its marker unless
    // the zone is neutral.
    void Draw(const XYRect& view, uint32_t filter);

    // The zone whose marker lies in rect, for repeated clicks that cycle
    // through the zones under the cursor: the walk starts after zone `after`
    // (at the first zone for 0), wraps round, and ends at `after` itself,
    // which is not tested again. Answers the id hit, or 0 for no hit, a hit
    // on a neutral zone, an empty list or an unknown `after`.
    int16_t PickMarker(const XYRect& rect, int16_t after) const;

private:
    // Appends a zone of these points; answers its id or 0.
    int16_t AppendZone(uint32_t type, const LatLonPoint* points, int16_t count);
    // Needs: zone `id` present. Puts a zone of these points in its place.
    int16_t ReplaceZone(int16_t id, uint32_t type, const LatLonPoint* points, int16_t count);
    // Shows resource text `number` in an error box.
    static void ShowText(int32_t number);
    // Reports a chain too long for a zone.
    static void ShowChainTooLong(int32_t length);

    AreaPolygon* first = nullptr;   // owned, chained through their next links
};

template <typename Node>
int16_t AreaPolygonList::Add(uint32_t type, Node* chain)
{
    int16_t count = 0;
    LatLonPoint* points = PointsFromChain(chain, count);
    if (points == nullptr)
        return 0;
    const int16_t id = AppendZone(type, points, count);
    delete[] points;
    return id;
}

template <typename Node>
int16_t AreaPolygonList::Replace(int16_t id, uint32_t type, Node* chain)
{
    if (Find(id) == nullptr) {
        ShowText(TEXT_NO_ZONE_REPLACE);
        return 0;
    }
    int16_t count = 0;
    LatLonPoint* points = PointsFromChain(chain, count);
    if (points == nullptr)
        return 0;   // the old zone stays
    const int16_t result = ReplaceZone(id, type, points, count);
    delete[] points;
    return result;
}

template <typename Node>
Node* AreaPolygonList::GetPointChain(int16_t id) const
{
    const AreaPolygon* zone = Find(id);
    return zone != nullptr ? MakePointChain<Node>(zone) : nullptr;
}

template <typename Node>
Node* AreaPolygonList::MakePointChain(const AreaPolygon* zone)
{
    if (zone == nullptr)
        return nullptr;
    Node* head = nullptr;
    Node* previous = nullptr;
    for (int16_t i = 0; i < zone->GetPointCount(); ++i) {
        Node* node = new (std::nothrow) Node();
        AllocationCheck(node);
        if (node == nullptr)
            break;   // the chain made so far is still the caller's
        node->SetPosition(zone->GetLatLonPoint(i));
        node->UpdateXY();
        if (previous == nullptr)
            head = node;
        else
            previous->InsertChainAfter(node);
        previous = node;
    }
    return head;
}

template <typename Node>
LatLonPoint* AreaPolygonList::PointsFromChain(Node* chain, int16_t& count)
{
    count = 0;
    if (chain == nullptr) {
        ShowText(TEXT_NO_POINTS);
        return nullptr;
    }
    Node* const head = chain->FirstOfChain();
    int32_t length = 0;
    for (const Node* node = head; node != nullptr; node = node->GetNext())
        ++length;
    if (length > MAX_CHAIN_POINTS) {
        ShowChainTooLong(length);
        return nullptr;
    }
    LatLonPoint* points = new (std::nothrow) LatLonPoint[length];
    AllocationCheck(points);
    if (points == nullptr)
        return nullptr;
    const Node* node = head;
    for (int32_t k = 0; k < length; ++k) {
        if (node == nullptr) {
            ShowText(TEXT_CHAIN_SHORT);
            break;
        }
        node->GetPosition(points[k]);
        node = node->GetNext();
    }
    count = static_cast<int16_t>(length);
    return points;
}
