// The preview form Q_Tavel_R: the preview picture inside the display
// settings' preview window.
#pragma once

#include <cstdint>

#include "host/shared_state.h"

namespace kb {

// Embeds the preview form in `parentHandle` and shows it. The process ends
// when the form is destroyed: when the host closes it or destroys its parent,
// or at once when the handle names no window.
void runPreviewSetup(SharedState& shared, std::int32_t parentHandle);

// The process that owns the preview's parent window, for the message loop to
// end with: a host that ends without destroying the window sends the form no
// message at all. Null without a preview, or when it cannot be waited for.
void* previewHostProcess();

}  // namespace kb
