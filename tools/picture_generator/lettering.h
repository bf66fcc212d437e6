// The client's word mark "TAVRO" as geometric capitals, for the logo and the frame's bottom edge.
#pragma once

#include "raster.h"

namespace tavro::pictures {

struct WordMark {
    Shape shape;
    double width = 0;  // from the left of the first letter to the right of the last
};

// Capitals of the given height and stroke, letters `spacing` apart, the top left at origin.
WordMark tavroWord(Vec2 origin, double capHeight, double stroke, double spacing);

}  // namespace tavro::pictures
