// Twips, the unit the dialog and button layouts are given in, and font
// points, both turned into pixels in one place.
#pragma once

namespace kb {

constexpr int kTwipsPerPixel = 15;  // at 96 dots per inch
constexpr int kScreenDotsPerInch = 96;

// The nearest whole pixel (a twips value is never halfway between two).
int twipsToPixels(int twips);

// A font size in pixels at `dotsPerInch`: the nearest whole pixel, halves
// away from zero.
int pointsToPixels(double points, int dotsPerInch = kScreenDotsPerInch);

}  // namespace kb
