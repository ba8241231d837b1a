#include "renderer/window_size.h"

#include <algorithm>

namespace kb::renderer {

WindowSize sceneWindowSize(int maximisedWidth, int maximisedHeight, int captionHeight,
                           int monitorWidth, int monitorHeight) {
  return {std::max(maximisedWidth, monitorWidth),
          std::max(maximisedHeight + captionHeight, monitorHeight)};
}

}  // namespace kb::renderer
