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

// Opens the caption-less window over the screen with its GL context, the
// once-a-second title timer, the projection and the scene's starting state.
// Width and height only size the optional full-screen display mode. False
// (with everything released) when any of it cannot be had.
bool openRendererWindow(int width, int height, bool fullScreen, int colourBits);

// Releases whatever openRendererWindow acquired; failures are ignored.
void closeRendererWindow(bool fullScreen);

LRESULT CALLBACK handleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kb::renderer
