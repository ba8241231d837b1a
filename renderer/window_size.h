// The size of the scene's caption-less window at the screen's top-left corner.
#pragma once

namespace kb::renderer {

struct WindowSize {
  int width = 0;
  int height = 0;
};

// A maximised window's size plus one caption height, grown where needed to the
// primary monitor's size. NOTE: a maximised window fills only the work area,
// which on Windows 10 and 11 leaves out the taskbar (1936 x 1079 on a
// 1920 x 1080 monitor with a 40-pixel taskbar), and Windows hides the taskbar
// only under a window that covers the whole monitor.
WindowSize sceneWindowSize(int maximisedWidth, int maximisedHeight, int captionHeight,
                           int monitorWidth, int monitorHeight);

}  // namespace kb::renderer
