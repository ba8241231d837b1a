// A face painter that records what the control asks of its window.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "controls/command.h"

namespace kb::controls {

// Skin names in test failure messages.
inline void PrintTo(Skin skin, std::ostream* out) {
  static const char* const names[] = {"Normal",   "HighLight", "HighLightSelect",
                                      "Selected", "Pressed",   "Disable"};
  *out << names[static_cast<int>(skin)];
}

}  // namespace kb::controls

namespace kb::controls::testing {

struct Paint {
  Skin skin;
  bool reversed;
};

class RecordingPort : public CommandPort {
 public:
  void DrawFace(Skin skin, bool reversed) override { paints.push_back({skin, reversed}); }
  void LabelChanged() override { ++labelChanges; }
  void StartTracking() override { ++trackingStarts; }
  void RaiseClick() override { ++clicks; }
  void PropertyChanged(const char* key) override { changed.emplace_back(key); }
  FontSpec AmbientFont() const override { return ambient; }

  std::vector<Skin> Skins() const {
    std::vector<Skin> skins;
    for (const auto& paint : paints) skins.push_back(paint.skin);
    return skins;
  }
  void Clear() {
    paints.clear();
    changed.clear();
    clicks = 0;
  }

  std::vector<Paint> paints;
  std::vector<std::string> changed;
  int labelChanges = 0;
  int trackingStarts = 0;
  int clicks = 0;
  FontSpec ambient{"Ambient", 9.0, 128, 400, false, false, false};
};

}  // namespace kb::controls::testing
