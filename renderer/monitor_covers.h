// Which monitors get a black cover while the scene runs on the primary one.
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

// Every monitor but the primary, which the scene's window covers; none when
// there is only one. A monitor of no size gets no cover.
std::vector<ScreenRect> monitorsToCover(const std::vector<Monitor>& monitors);

}  // namespace kb::renderer
