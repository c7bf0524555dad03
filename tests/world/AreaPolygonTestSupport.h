// AreaPolygonTestSupport.h: helpers for the tests of polygons and zones: a
// Miller map installed as gMap (so points project to distinct map points),
// the sample resource texts installed as TheResourceLoader, a chain element
// with a position for the zone chain operations, and saved-form helpers.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/ChainLink.h"
#include "core/ConfigurationFileIO.h"
#include "core/Projection.h"
#include "core/ResourceLoader.h"
#include "support/TempTree.h"
#include "world/Map.h"
#include "world/MapTestSupport.h"
#include "world/Nav2Game.h"

namespace zonetest {

using maptest::At;
using maptest::Deg;

// A small Miller (0, 0) map installed as gMap while the object lives.
class MapScope {
public:
    MapScope()
    {
        maptest::SectionPlan section;
        section.area = LatLonRect(Deg(1), 0, 0, Deg(1));
        section.projectionID = PROJECTION_MILLER;
        section.FillCells(-100);
        EXPECT_TRUE(files.Write(section, {}));
        bool ok = false;
        map = maptest::LoadMap(maptest::SectionBytes(section), files.Directory(), &ok);
        EXPECT_TRUE(ok);
        previous = gMap;
        gMap = map.get();
    }
    ~MapScope() { gMap = previous; }
    MapScope(const MapScope&) = delete;
    MapScope& operator=(const MapScope&) = delete;

private:
    maptest::MapFiles files;
    std::unique_ptr<Map> map;
    Map* previous = nullptr;
};

// The sample resource texts (built from data/resources/texts.txt) installed
// as TheResourceLoader while the object lives.
class TextScope {
public:
    TextScope()
    {
        tree.File("tessarn3.ini", "[Tessarn3]\nResDirCount 1\nResDir1 " + std::string(TESSARN_DATA_DIR) +
                                      "/RESOURCE\n");
        ConfigurationFileIO ini((tree.root + "/tessarn3.ini").c_str());
        loader = std::make_unique<ResourceLoader>(ini);
        previous = TheResourceLoader;
        TheResourceLoader = loader.get();
    }
    ~TextScope() { TheResourceLoader = previous; }
    TextScope(const TextScope&) = delete;
    TextScope& operator=(const TextScope&) = delete;

private:
    TempTree tree;
    std::unique_ptr<ResourceLoader> loader;
    ResourceLoader* previous = nullptr;
};

// A position that is an element of a chain, as the interface hands zone
// outlines over: the position calls the zone operations use, with the map
// point kept as a unit's position keeps it, and nothing of the unit model.
class ChainNode : public ChainLink<ChainNode> {
public:
    void SetPosition(const LatLonPoint& point) { position_ = point; xyStale_ = true; }
    LatLonPoint GetPosition() const { return position_; }
    void GetPosition(LatLonPoint& point) const { point = position_; }
    void UpdateXY() { xy_ = Nav2Game::LatLonToXY(position_); xyStale_ = false; }
    void GetXY(XYPoint& out, bool refresh)
    {
        if (refresh && xyStale_)
            UpdateXY();
        out = xy_;
    }
    bool IsXYStale() const { return xyStale_; }

private:
    LatLonPoint position_;
    XYPoint xy_;
    bool xyStale_ = true;
};

// A new chain of nodes at the points, in order; answers its first node.
inline ChainNode* MakeChain(const std::vector<LatLonPoint>& points)
{
    ChainNode* head = nullptr;
    ChainNode* last = nullptr;
    for (const LatLonPoint& p : points) {
        auto* node = new ChainNode;
        node->SetPosition(p);
        if (last == nullptr)
            head = node;
        else
            last->InsertChainAfter(node);
        last = node;
    }
    return head;
}

// Deletes the whole chain that holds node.
inline void DeleteChain(ChainNode* node)
{
    if (node == nullptr)
        return;
    ChainNode* each = node->FirstOfChain();
    while (each != nullptr) {
        ChainNode* next = each->GetNext();
        delete each;
        each = next;
    }
}

// Owns a chain for a test's duration.
struct ChainHolder {
    explicit ChainHolder(ChainNode* head) : head(head) {}
    ~ChainHolder() { DeleteChain(head); }
    ChainHolder(const ChainHolder&) = delete;
    ChainHolder& operator=(const ChainHolder&) = delete;
    ChainNode* head;
};

// The points of a chain from its first node.
inline std::vector<LatLonPoint> ChainPoints(ChainNode* node)
{
    std::vector<LatLonPoint> points;
    for (ChainNode* each = node != nullptr ? node->FirstOfChain() : nullptr; each != nullptr;
         each = each->GetNext())
        points.push_back(each->GetPosition());
    return points;
}

// A square of whole degrees from (south, west) to (north, east), open (the
// closing point left to the polygon): south-west, south-east, north-east,
// north-west.
inline std::vector<LatLonPoint> Square(double south, double west, double north, double east)
{
    return {At(south, west), At(south, east), At(north, east), At(north, west)};
}

inline std::istringstream InStream(const std::string& bytes)
{
    return std::istringstream(bytes, std::ios::binary);
}

}  // namespace zonetest
