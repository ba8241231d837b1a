// The skin pictures embedded in the running program.
#pragma once

#include <windows.h>

#include "controls/command.h"

namespace kb::controls {

// The skin's bitmap, loaded once per process and kept until it ends;
// nullptr when the program carries no such resource.
HBITMAP SkinBitmap(Skin skin);

}  // namespace kb::controls
