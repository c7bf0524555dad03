// GISShape.cpp: construction and drawing of the overlay shapes.
#include "world/GISShape.h"

GISShape::GISShape(const LatLonPoint* points, int16_t n, int32_t colour)
    : LatLon_Poly(points, n), colour_(colour)
{
}

GISShape::GISShape(const LatLonPoint& centre, int32_t radius, int32_t colour)
    : LatLon_Poly(centre, radius), colour_(colour)
{
}

void GISShape::Draw(const XYRect& view, int16_t colour)
{
    if (colour == OWN_COLOUR)
        colour = static_cast<int16_t>(colour_);   // keeps the low 16 bits
    LatLon_Poly::Draw(view, colour);
}
