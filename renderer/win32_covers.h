// Black covers over every monitor but the primary, for as long as the
// renderer runs.
#pragma once

#include <windows.h>

namespace kb::renderer {

// Puts a cover over each other monitor: black, caption-less, without a
// taskbar button or a cursor, above that monitor's taskbar, and never
// active, so the scene's window keeps the focus and its keys; just below the
// scene's window, so never above what lies above it. Called once the scene's
// window is open, and again when the monitors change: the covers of before
// go, and the monitors are those of this moment.
void openMonitorCovers(HWND scene);

// Takes the covers away again.
void closeMonitorCovers();

}  // namespace kb::renderer
