// The show form Q_Tavel_S: a hidden window titled "Q_Tavel_Main" with the
// show's three timers, carrying out the decisions of show.h.
#pragma once

#include "common/shared_state.h"

namespace kb {

// Creates the hidden window and runs its load handler. modeLetter is 'S' for
// /s, '\0' for an empty command line. The show then lives on the thread's
// message loop and ends the process itself.
void loadShowForm(SharedState& shared, char modeLetter);

}  // namespace kb
