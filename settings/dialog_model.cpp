#include "settings/dialog_model.h"

#include <cmath>

#include "host/number_text.h"
#include "host/settings_file.h"

namespace kb::settings {

int twipsToPixels(int twips) {
  const int twice = 2 * (twips < 0 ? -twips : twips);
  const int pixels = (twice + kTwipsPerPixel) / (2 * kTwipsPerPixel);
  return twips < 0 ? -pixels : pixels;
}

PixelRect toPixels(const TwipsRect& rect) {
  return {twipsToPixels(rect.left), twipsToPixels(rect.top), twipsToPixels(rect.width),
          twipsToPixels(rect.height)};
}

int fontPixels(double points) {
  return static_cast<int>(roundHalfEven(points * 20.0 / kTwipsPerPixel));
}

double roundHalfEven(double value) {
  const double below = std::floor(value);
  const double fraction = value - below;
  if (fraction < 0.5) return below;
  if (fraction > 0.5) return below + 1.0;
  return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

// ---- Gradients -----------------------------------------------------------

Rgb gradientLineColour(int y, double heightTwips, GradientTone tone) {
  // The divisor is 3.142 rather than pi: the curve passes just beyond its
  // zero at the bottom edge, which the absolute value folds back.
  int v = 0;
  if (heightTwips > 0.0) {
    const double k = heightTwips / 3.142;
    v = static_cast<int>(roundHalfEven(std::fabs(std::sin(y / k)) * 220.0));
  }
  const auto level = [](int value) { return static_cast<std::uint8_t>(value); };
  if (tone == GradientTone::Window) return {level(v), level(v), level(v + 30)};
  return {level(v + 30), level(v + 30), level(v + 30)};
}

std::vector<Rgb> gradientRows(int heightPixels, GradientTone tone) {
  std::vector<Rgb> rows;
  if (heightPixels <= 0) return rows;
  const int heightTwips = heightPixels * kTwipsPerPixel;
  rows.reserve(static_cast<std::size_t>(heightPixels));
  for (int row = 0; row < heightPixels; ++row) {
    const int lastLine = row * kTwipsPerPixel + kTwipsPerPixel - 1;
    rows.push_back(gradientLineColour(lastLine, heightTwips, tone));
  }
  return rows;
}

// ---- Track box -----------------------------------------------------------

std::string formatTrack(int value) {
  return value == 0 ? std::string() : std::to_string(value);
}

std::vector<std::string> repeatTrackEntries() {
  std::vector<std::string> entries;
  for (int track = 0; track < kRepeatTrackEntries; ++track) entries.push_back(formatTrack(track));
  return entries;
}

std::int16_t repeatTrackFromText(std::string_view text) {
  const std::optional<double> number = kb::numberValue(text);
  if (!number) return 0;
  const double rounded = roundHalfEven(*number);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) return 0;
  return static_cast<std::int16_t>(rounded);
}

// ---- Music kind ----------------------------------------------------------

KindView kindView(int kind) {
  KindView view{{false, false, false}, kind == 1, kind == 2};
  if (kind >= 0 && kind <= 2) view.markFilled[static_cast<std::size_t>(kind)] = true;
  return view;
}

KindView selectKind(SharedState& state, int kind) {
  state.BgmKind = static_cast<std::int16_t>(kind);
  return kindView(kind);
}

// ---- Placement -----------------------------------------------------------

ScreenPoint dialogPosition(int screenWidth, int screenHeight, int windowWidth, int windowHeight) {
  // Integer division truncates towards zero, also for a window larger than
  // the screen.
  const int leftTwips = (screenWidth - windowWidth) * kTwipsPerPixel / 2;
  const int topTwips = (screenHeight - windowHeight) * kTwipsPerPixel / 3;
  return {twipsToPixels(leftTwips), twipsToPixels(topTwips)};
}

// ---- Saving --------------------------------------------------------------

std::array<IniWrite, 3> confirmSettings(SharedState& state, std::string_view trackText) {
  state.BgmRepeatTrack = repeatTrackFromText(trackText);
  return {{{kKeyBgmKind, std::to_string(state.BgmKind)},
           {kKeyBgmRepeatTrack, std::to_string(state.BgmRepeatTrack)},
           {kKeyBgmFile, state.BgmFile}}};
}

}  // namespace kb::settings
