// The renderer's OpenGL, WGL and GLU functions, from the system folder's
// opengl32.dll and glu32.dll (see common/win32_system_dlls.h).
#pragma once

namespace kb::renderer {

// Binds every GL function the renderer calls; false when the system's
// OpenGL cannot be had. Before the first GL call; later calls cost nothing.
bool bindOpenGl();

}  // namespace kb::renderer
