// The preview form Q_Tavel_R: the preview picture inside the display
// settings' preview window.
#pragma once

#include <cstdint>

#include "common/shared_state.h"

namespace kb {

// Embeds the preview form in `parentHandle` and shows it. The process ends
// when the form is destroyed: when the host closes it or destroys its parent,
// or at once when the handle names no window.
//
// Returns the process that owns the parent window, for the message loop to
// end with as well (a host that ends without destroying the window sends the
// form no message at all); null when it cannot be waited for.
void* runPreviewSetup(SharedState& shared, std::int32_t parentHandle);

}  // namespace kb
