#include "renderer/other_monitors.h"

namespace kb::renderer {

std::vector<ScreenRect> otherMonitors(const std::vector<Monitor>& monitors) {
  std::vector<ScreenRect> others;
  for (const Monitor& monitor : monitors) {
    const ScreenRect& r = monitor.rect;
    if (!monitor.primary && r.right > r.left && r.bottom > r.top) others.push_back(r);
  }
  return others;
}

}  // namespace kb::renderer
