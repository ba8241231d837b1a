// Win32 access for the Textures module: files through CreateFileA/ReadFile,
// resources of the running program, MessageBoxA.
#pragma once

#include "renderer/textures.h"

namespace kb::renderer {

TexturePlatform& win32TexturePlatform();

}  // namespace kb::renderer
