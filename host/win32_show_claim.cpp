#include "host/win32_show_claim.h"

#include <windows.h>

#include "host/start.h"

namespace kb {

bool showClaimedElsewhere() {
  const HANDLE claim = OpenMutexA(SYNCHRONIZE, FALSE, kShowClaimName);
  if (claim == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;  // exists, not ours to open
  CloseHandle(claim);
  return true;
}

bool claimShowForProcess() {
  const HANDLE claim = CreateMutexA(nullptr, FALSE, kShowClaimName);
  if (claim == nullptr) return GetLastError() != ERROR_ACCESS_DENIED;
  // CreateMutex opens a mutex that exists already and says so only here.
  if (GetLastError() != ERROR_ALREADY_EXISTS) return true;
  CloseHandle(claim);
  return false;
}

}  // namespace kb
