// The show claim as a named mutex: one show per session at a time.
#pragma once

namespace kb {

// True when another process holds the show claim.
bool showClaimedElsewhere();

// Takes the show claim for this process until it ends; false when it exists
// already (another show took it first). The handle is never closed: Windows
// lets the claim go with the process.
bool claimShowForProcess();

}  // namespace kb
