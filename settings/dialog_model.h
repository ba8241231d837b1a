// The settings dialog's decisions, free of any windowing code: its layout in
// twips, the two background gradients, the track box texts and conversions,
// which controls a music kind enables, where the window goes, and what OK
// writes to the settings file.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/shared_state.h"
#include "common/twips.h"

namespace kb::settings {

// ---- Units ---------------------------------------------------------------

struct TwipsRect {
  int left, top, width, height;
};

struct PixelRect {
  int left, top, width, height;
};

// Each value to its nearest pixel at `dotsPerInch` (common/twips.h).
PixelRect toPixels(const TwipsRect& rect, int dotsPerInch = kScreenDotsPerInch);

// Nearest whole number, halves to the even one (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// ---- Layout --------------------------------------------------------------

// Client area of the window.
constexpr int kClientWidthTwips = 7185;
constexpr int kClientHeightTwips = 3780;

enum class Container { Window, Panel };

struct ControlLayout {
  const char* name;
  Container container;
  TwipsRect rect;
};

// Every control, by the container that holds it.
namespace layout {
constexpr ControlLayout kPanel{"Pic_C", Container::Window, {180, 240, 6795, 2535}};
constexpr ControlLayout kDesignedBy{"lbl(7)", Container::Window, {180, 2940, 2475, 195}};
constexpr ControlLayout kCmdEtc{"Cmd_Etc", Container::Window, {2880, 3000, 1875, 375}};
constexpr ControlLayout kCmdSet{"Cmd_Set", Container::Window, {4800, 3000, 1095, 375}};
constexpr ControlLayout kCmdCan{"Cmd_Can", Container::Window, {5940, 3000, 1035, 375}};
constexpr ControlLayout kHeadingFrame{"Shape3(3)", Container::Panel, {300, 300, 1695, 315}};
constexpr ControlLayout kHeading{"lbl(15)", Container::Panel, {300, 360, 1665, 195}};
constexpr ControlLayout kRepeatBox{"BGM_Repeat", Container::Panel, {1380, 780, 615, 300}};
constexpr ControlLayout kRepeatLabel{"lbl(14)", Container::Panel, {2040, 840, 990, 195}};
constexpr ControlLayout kCmdBgm{"Cmd_BGM", Container::Panel, {540, 1740, 435, 315}};
constexpr ControlLayout kFileName{"lbl_Fname", Container::Panel, {1020, 1740, 5355, 435}};
// Indexed by music kind: 0 none, 1 music CD, 2 file.
constexpr std::array<ControlLayout, 3> kKindMarks{{
    {"Img_BGM(0)", Container::Panel, {300, 1140, 195, 195}},
    {"Img_BGM(1)", Container::Panel, {300, 840, 195, 195}},
    {"Img_BGM(2)", Container::Panel, {300, 1440, 195, 195}},
}};
constexpr std::array<ControlLayout, 3> kKindLabels{{
    {"lbl_BGM(0)", Container::Panel, {540, 1140, 345, 195}},
    {"lbl_BGM(1)", Container::Panel, {540, 840, 645, 195}},
    {"lbl_BGM(2)", Container::Panel, {540, 1440, 900, 195}},
}};
}  // namespace layout

// Texts (UTF-8), drawn through the Unicode calls so they read right on any
// code page.
namespace text {
constexpr const char* kCaption = "<Kolvane_Brightrun>";
constexpr const char* kDesignedBy = "Designed by j-roan Ver.1.0.0";
constexpr const char* kHeading = "BGM";
constexpr const char* kRepeatLabel = "曲目をﾘﾋﾟｰﾄ";
constexpr std::array<const char*, 3> kKindLabels{"無し", "音楽CD", "MP3、WAV"};
constexpr const char* kCmdEtc = "その他の作品";
constexpr const char* kCmdSet = "設定";
constexpr const char* kCmdCan = "ｷｬﾝｾﾙ";
constexpr const char* kCmdBgm = "...";
constexpr const char* kLabelFont = "ＭＳ Ｐゴシック";
constexpr const char* kPanelFont = "Tahoma";
}  // namespace text

constexpr double kLabelFontPoints = 9.75;
constexpr double kPanelFontPoints = 8.25;
constexpr int kShiftJisCharset = 128;

// The maker's page, opened by the "その他の作品" button. The maker has no
// address of record, so this points at a reserved name rather than at
// whoever might hold an invented one.
constexpr const char* kMakerWebPage = "https://j-roan.example/";

// ---- Gradients -----------------------------------------------------------

struct Rgb {
  std::uint8_t red, green, blue;
  bool operator==(const Rgb& other) const {
    return red == other.red && green == other.green && blue == other.blue;
  }
};

enum class GradientTone {
  Window,  // dark blue at the edges, light lavender at mid-height
  Panel,   // dark grey at the edges, near-white at mid-height
};

// Colour of the horizontal line at twips row y of a surface whose scale
// height is heightTwips: v = |sin(y / (H / 3.142))| * 220, halves to even.
Rgb gradientLineColour(int y, double heightTwips, GradientTone tone);

// Colour of each pixel row of a surface heightPixels high at `dotsPerInch`.
// The lines are drawn one per twip from the top down, so a row keeps the
// colour of the last line that falls on it (twip 15 r + 14 at 96).
std::vector<Rgb> gradientRows(int heightPixels, GradientTone tone,
                              int dotsPerInch = kScreenDotsPerInch);

// ---- Track box -----------------------------------------------------------

constexpr int kRepeatTrackEntries = 31;  // 0 to 30

// A number through the pattern "##": no leading zeros and 0 as empty text.
std::string formatTrack(int value);

// The list entries: an empty one for 0, then "1" to "30".
std::vector<std::string> repeatTrackEntries();

// The repeat track that OK stores: the track box text read as a number by
// the program's one rule (common/number_text.h: optional blanks around, a sign,
// digits with at most one decimal point, an optional exponent), rounded
// halves to even; a word
// gives 0, and so does a number outside the 16-bit range, so the file never
// holds a value that loading the settings would reject.
std::int16_t repeatTrackFromText(std::string_view text);

// ---- Music kind ----------------------------------------------------------

// What the dialog shows for a music kind.
struct KindView {
  std::array<bool, 3> markFilled;  // by kind; all empty for a kind outside 0..2
  bool repeatBoxEnabled;           // the track box, only for a music CD
  bool browseEnabled;              // the "..." button, only for a file
};

KindView kindView(int kind);

// A press on kind i's mark or label: the kind changes at once.
KindView selectKind(SharedState& state, int kind);

// The kind whose mark or label holds the panel pixel (x, y) at
// `dotsPerInch`, if any: a press of any mouse button there selects that kind.
std::optional<int> kindAt(int x, int y, int dotsPerInch = kScreenDotsPerInch);

// The kind an arrow key moves the panel's choice to, in the order the panel
// shows the kinds (music CD, none, file), wrapping round as radio buttons do.
// With no valid kind chosen, forward takes the first and back the last.
int kindAfterArrow(int kind, bool forward);

// ---- Focus ---------------------------------------------------------------

// The controls that take the focus, in the order Tab walks them.
enum class FocusStop { Panel, RepeatBox, Browse, Ok, Cancel, Etc };
constexpr std::size_t kFocusStopCount = 6;

// Where Tab (Shift+Tab when `backwards`) moves the focus from `current`: the
// next stop that `canFocus` allows, wrapping round; `current` when none does.
FocusStop nextFocus(FocusStop current, bool backwards,
                    const std::array<bool, kFocusStopCount>& canFocus);

// ---- Placement -----------------------------------------------------------

struct ScreenPoint {
  int x, y;
};

// Top-left corner of the window, in pixels: centred across the screen and a
// third of the free height from the top, computed in twips (at
// `dotsPerInch`) with integer division as the dialog always has.
ScreenPoint dialogPosition(int screenWidth, int screenHeight, int windowWidth, int windowHeight,
                           int dotsPerInch = kScreenDotsPerInch);

// ---- Saving --------------------------------------------------------------

// One key of the settings file's section, with its value.
struct IniWrite {
  std::string key;
  std::string value;
  bool operator==(const IniWrite& other) const { return key == other.key && value == other.value; }
};

// OK: takes the repeat track from the track box text into the shared state
// and returns the three writes in the order they are made. The file name is
// written whatever the kind, so switching kinds never loses it.
std::array<IniWrite, 3> confirmSettings(SharedState& state, std::string_view trackText);

}  // namespace kb::settings
