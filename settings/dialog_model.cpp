#include "settings/dialog_model.h"

#include <algorithm>
#include <cmath>

#include "common/number_text.h"
#include "common/settings_keys.h"

namespace kb::settings {

PixelRect toPixels(const TwipsRect& rect, int dotsPerInch) {
  return {twipsToPixels(rect.left, dotsPerInch), twipsToPixels(rect.top, dotsPerInch),
          twipsToPixels(rect.width, dotsPerInch), twipsToPixels(rect.height, dotsPerInch)};
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

std::vector<Rgb> gradientRows(int heightPixels, GradientTone tone, int dotsPerInch) {
  std::vector<Rgb> rows;
  if (heightPixels <= 0) return rows;
  const double twipsPerPixel = static_cast<double>(kTwipsPerInch) / usableDpi(dotsPerInch);
  const double heightTwips = heightPixels * twipsPerPixel;
  rows.reserve(static_cast<std::size_t>(heightPixels));
  for (int row = 0; row < heightPixels; ++row) {
    // The last whole twip before the next row begins.
    const int lastLine = static_cast<int>(std::ceil((row + 1) * twipsPerPixel)) - 1;
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

ScreenPoint dialogPosition(int screenWidth, int screenHeight, int windowWidth, int windowHeight,
                           int dotsPerInch) {
  // Integer division truncates towards zero, also for a window larger than
  // the screen.
  const int leftTwips = pixelsToTwips(screenWidth - windowWidth, dotsPerInch) / 2;
  const int topTwips = pixelsToTwips(screenHeight - windowHeight, dotsPerInch) / 3;
  return {twipsToPixels(leftTwips, dotsPerInch), twipsToPixels(topTwips, dotsPerInch)};
}

// ---- Saving --------------------------------------------------------------

std::array<IniWrite, 3> confirmSettings(SharedState& state, std::string_view trackText) {
  state.BgmRepeatTrack = repeatTrackFromText(trackText);
  return {{{kKeyBgmKind, std::to_string(state.BgmKind)},
           {kKeyBgmRepeatTrack, std::to_string(state.BgmRepeatTrack)},
           {kKeyBgmFile, state.BgmFile}}};
}

int kindAfterArrow(int kind, bool forward) {
  constexpr std::array<int, 3> kShownOrder{1, 0, 2};
  const auto at = std::find(kShownOrder.begin(), kShownOrder.end(), kind);
  if (at == kShownOrder.end()) return forward ? kShownOrder.front() : kShownOrder.back();
  const auto index = static_cast<std::size_t>(at - kShownOrder.begin());
  return kShownOrder[(index + (forward ? 1 : kShownOrder.size() - 1)) % kShownOrder.size()];
}

std::optional<int> kindAt(int x, int y, int dotsPerInch) {
  const auto holds = [x, y, dotsPerInch](const ControlLayout& control) {
    const PixelRect r = toPixels(control.rect, dotsPerInch);
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
