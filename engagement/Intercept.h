// Intercept.h: ComputeIntercept, the course a pursuer steers to meet a target
// holding a steady course and speed, with the time and point of the meeting.
#pragma once

#include <cstdint>

#include "core/LatLonPoint.h"

// Positions in angle units, courses in angle units, speeds in whole knots.
// On an intercept: true, outCourse the course to steer (0..88473600),
// outTime the seconds to the meeting, outPoint where it happens (the target's
// own position when it stands still).
// No intercept (a pursuer speed of 0 or less, a target that outruns a pursuer
// on or abaft its beam, a crossing speed the pursuer cannot match, or a
// closing speed of 0 or below, as a target given a negative speed can make):
// false, outTime 0, outCourse and outPoint as the caller had them.
// A meeting 256 hours or more away: false, outTime -1, outCourse holding the
// lead angle, outPoint untouched.
bool ComputeIntercept(const LatLonPoint& targetPosition, int32_t targetCourse, int32_t targetSpeed,
                      const LatLonPoint& pursuerPosition, int32_t* outCourse, int32_t interceptSpeed,
                      int32_t* outTime, LatLonPoint* outPoint);
