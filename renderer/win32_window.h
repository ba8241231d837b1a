// The renderer's window and its WGL context, and the window procedure.
#pragma once

#include <windows.h>

namespace kb::renderer {

constexpr char kWindowTitle[] = "Kolvane_Brightrun_Viewer";
constexpr char kWindowClassName[] = "OpenGL";

extern HWND windowHandle;
extern HDC deviceContext;
extern HGLRC renderContext;
extern int windowWidth;
extern int windowHeight;
extern int sceneRefreshHertz;  // of the scene's monitor, 0 or 1 for the default

// GUID_CONSOLE_DISPLAY_STATE: the display off, on or dimmed (Windows 8).
constexpr GUID kConsoleDisplayState = {
    0x6FE69556, 0x704A, 0x47A0, {0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47}};

// Opens the caption-less window over the screen with its GL context, the
// once-a-second title timer, the projection and the scene's starting state.
// Width and height only size the optional full-screen display mode. False
// (with everything released) when any of it cannot be had.
bool openRendererWindow(int width, int height, bool fullScreen, int colourBits);

// The monitors or the work area changed: the window is placed and sized by
// the rule it opened with, the other monitors are covered anew and the
// refresh rate read again.
void followDisplays();

// Releases whatever openRendererWindow acquired; failures are ignored.
void closeRendererWindow(bool fullScreen);

LRESULT CALLBACK handleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kb::renderer
