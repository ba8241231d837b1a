#include "renderer/monitor_covers.h"

namespace kb::renderer {

std::vector<ScreenRect> monitorsToCover(const std::vector<Monitor>& monitors) {
  std::vector<ScreenRect> covers;
  for (const Monitor& monitor : monitors) {
    const ScreenRect& r = monitor.rect;
    if (!monitor.primary && r.right > r.left && r.bottom > r.top) covers.push_back(r);
  }
  return covers;
}

}  // namespace kb::renderer
