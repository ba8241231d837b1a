// Small drawing kit for the picture generator. Everything is plain IEEE
// arithmetic (no libm transcendental calls), so the pictures come out the same
// bytes with any optimisation level or C library.
#pragma once

#include <cstdint>

#include "common/drawing.h"

namespace kb::gen {

// hex, mix, makeImage and setPixel come from common/drawing.h.
using Rgb = RgbColour;

// Sine and cosine of a whole turn (1.0 = 360 degrees).
double sinTurns(double turns);
double cosTurns(double turns);
// Angle of (x, y) in turns, 0 to 1, counter-clockwise from +x.
double angleTurns(double x, double y);
// Fractional part, always 0 <= f < 1.
double frac(double value);
double smoothstep(double edge0, double edge1, double x);

// Repeatable pseudo-random value 0..1 for integer coordinates.
double hash01(int x, int y, int seed);

// Hue 0..1 around the colour wheel at full saturation and value.
Rgb hue(double turns);

}  // namespace kb::gen
