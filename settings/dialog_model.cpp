#include "settings/dialog_model.h"

#include <cmath>

#include "common/number_text.h"
#include "common/settings_keys.h"

namespace kb::settings {

PixelRect toPixels(const TwipsRect& rect) {
  return {twipsToPixels(rect.left), twipsToPixels(rect.top), twipsToPixels(rect.width),
          twipsToPixels(rect.height)};
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

std::optional<int> kindAt(int x, int y) {
  const auto holds = [x, y](const ControlLayout& control) {
    const PixelRect r = toPixels(control.rect);
    return x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height;
  };
  for (int kind = 0; kind < 3; ++kind)
    if (holds(layout::kKindMarks[kind]) || holds(layout::kKindLabels[kind])) return kind;
  return std::nullopt;
}

FocusStop nextFocus(FocusStop current, bool backwards,
                    const std::array<bool, kFocusStopCount>& canFocus) {
  const auto from = static_cast<std::size_t>(current);
  for (std::size_t step = 1; step < kFocusStopCount; ++step) {
    const std::size_t next =
        (backwards ? from + kFocusStopCount - step : from + step) % kFocusStopCount;
    if (canFocus[next]) return static_cast<FocusStop>(next);
  }
  return current;
}

}  // namespace kb::settings
