// RecordingPen.h: a MapPen that records every drawing call, for tests of code
// that draws on the map through the bridge. Install it with ScopedMapPen (or
// the RecordingPenScope below) and read `calls` afterwards.
#pragma once

#include <cstdint>
#include <vector>

#include "core/MapPen.h"
#include "core/XYPoint.h"

struct PenCall {
    enum Kind : uint8_t { Move, Line, Plot, ZoneMarker };
    Kind kind = Move;
    XYPoint point;
    int16_t colour = 0;   // 0 for Move and ZoneMarker

    bool operator==(const PenCall&) const = default;
};

class RecordingPen : public MapPen {
public:
    explicit RecordingPen(int32_t scale = 0) : scale(scale) {}

    void MoveTo(const XYPoint& point) override { calls.push_back({PenCall::Move, point, 0}); }
    void LineTo(const XYPoint& point, int16_t colour) override { calls.push_back({PenCall::Line, point, colour}); }
    void Plot(const XYPoint& point, int16_t colour) override { calls.push_back({PenCall::Plot, point, colour}); }
    int32_t GetScale() const override { return scale; }
    void DrawZoneMarker(const XYPoint& point) override { calls.push_back({PenCall::ZoneMarker, point, 0}); }

    // How many calls of a kind (and, when colour >= 0, of that colour) were made.
    size_t Count(PenCall::Kind kind, int colour = -1) const
    {
        size_t n = 0;
        for (const PenCall& call : calls) {
            if (call.kind == kind && (colour < 0 || call.colour == colour)) {
                ++n;
            }
        }
        return n;
    }

    void Clear() { calls.clear(); }

    int32_t scale;
    std::vector<PenCall> calls;
};

// A RecordingPen installed as the current map pen for the life of the scope.
class RecordingPenScope : public RecordingPen {
public:
    explicit RecordingPenScope(int32_t scale = 0) : RecordingPen(scale), scope_(this) {}

private:
    ScopedMapPen scope_;
};
