// The skin pictures of the running program, at the resolution of the
// display a button is shown on.
#pragma once

#include <windows.h>

#include "controls/command.h"

namespace kb::controls {

// The skin's bitmap at `dotsPerInch`, made once per process and resolution
// and kept until it ends: at 96 the picture embedded in the program, at any
// other resolution the picture drawn there from its design; nullptr when
// neither can be had.
HBITMAP SkinBitmap(Skin skin, int dotsPerInch);

}  // namespace kb::controls
