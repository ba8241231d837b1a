// The renderer's window and its WGL context, and the window procedure.
#pragma once

#include <windows.h>

#include "renderer/frame_loop.h"

namespace kb::renderer {

constexpr char kWindowTitle[] = "Kolvane_Brightrun_Viewer";
constexpr char kWindowClassName[] = "OpenGL";

extern HWND windowHandle;
extern HDC deviceContext;
extern HGLRC renderContext;
extern int windowWidth;
extern int windowHeight;
extern RefreshRate sceneRefreshRate;  // of the scene's monitor
// Set once the frame loop runs: until then a texture error box may be open
// above the scene, and a display change must not raise the scene over it.
extern bool framesStarted;

// GUID_SESSION_DISPLAY_STATUS: the display of this program's session (in a
// remote session not the console's) off, on or dimmed (Windows 8).
constexpr GUID kSessionDisplayStatus = {
    0x2B84C20E, 0xAD23, 0x4DDF, {0x93, 0xDB, 0x05, 0xFF, 0xBD, 0x7E, 0xFC, 0xA5}};

// Opens the caption-less window over the screen with its GL context, the
// once-a-second title timer, the projection and the scene's starting state.
// Width and height only size the optional full-screen display mode. False
// (with everything released) when any of it cannot be had.
bool openRendererWindow(int width, int height, bool fullScreen, int colourBits);

// The monitors or the work area changed: the window is placed and sized by
// the rule it opened with (and raised above every other topmost window once
// frames run), the other monitors' views are made anew and the refresh rate
// read again.
void followDisplays();

// Asks the driver of the window of `dc`, whose context is current, for a
// swap interval; a driver without the extension keeps its own.
void askForSwapInterval(HDC dc, int interval);

// Releases whatever openRendererWindow acquired; failures are ignored.
void closeRendererWindow(bool fullScreen);

LRESULT CALLBACK handleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kb::renderer
