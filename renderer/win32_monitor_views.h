// The scene on every monitor but the primary, for as long as the renderer
// runs: a window of its own on each, drawn in step with the scene's window
// through a GL context that shares its textures, or black where no context
// can be had there.
#pragma once

#include <windows.h>

namespace kb::renderer {

// Puts a view over each other monitor: caption-less, without a taskbar button
// or a cursor, above that monitor's taskbar, and never active, so the scene's
// window keeps the focus and its keys; just below the scene's window, so
// never above what lies above it. Called once the scene's window is open with
// its context current, and again when the monitors change: the views of
// before go, and the monitors are those of this moment. The scene's context
// is current again afterwards.
void openMonitorViews(HWND scene);

// Draws the frame the scene's window has just drawn again on every view that
// has a context, each at its monitor's own size and shape, and shows it there
// without waiting for that monitor's refresh. The scene's context is current
// again afterwards.
void drawMonitorViews();

// Takes the views away again.
void closeMonitorViews();

}  // namespace kb::renderer
