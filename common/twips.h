// Twips, the unit the dialog and button layouts are given in, and font
// points, both turned into pixels in one place, at a display's resolution.
#pragma once

namespace kb {

constexpr int kTwipsPerInch = 1440;
constexpr int kTwipsPerPixel = 15;  // at 96 dots per inch
constexpr int kScreenDotsPerInch = 96;

// A display resolution to lay out at: Windows scales displays from 100 % to
// 500 % (96 to 480 dots per inch); anything else, 0 from a failed query
// among them, counts as 96.
int usableDpi(int dotsPerInch);

// The nearest whole pixel at `dotsPerInch` (at 96 a twips value is never
// halfway between two).
int twipsToPixels(int twips, int dotsPerInch = kScreenDotsPerInch);

// Twips of a whole number of pixels at `dotsPerInch`, to the nearest twip.
int pixelsToTwips(int pixels, int dotsPerInch = kScreenDotsPerInch);

// A font size in pixels at `dotsPerInch`: the nearest whole pixel, halves
// away from zero.
int pointsToPixels(double points, int dotsPerInch = kScreenDotsPerInch);

}  // namespace kb
