// The monitors besides the primary, which the scene's own window fills: each
// shows the scene too, or a black cover where it cannot be drawn on.
#pragma once

#include <vector>

namespace kb::renderer {

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct Monitor {
  ScreenRect rect;
  bool primary = false;
};

// Every monitor but the primary; none when there is only one. A monitor of no
// size is left out.
std::vector<ScreenRect> otherMonitors(const std::vector<Monitor>& monitors);

}  // namespace kb::renderer
