/* The stack protector's guard and its failure handler, in place of libssp's.
   NOTE: libssp seeds the guard through CryptAcquireContext and CryptGenRandom,
   which load the legacy crypto provider (bcrypt, crypt32, rsaenh) at every
   start of both programs, before the first window. RtlGenRandom (advapi32's
   SystemFunction036) is the system generator that provider itself draws on
   (RtlGenRandom, Microsoft Learn), so the guard is as random, per process,
   without loading anything. This file is built without stack protection: the
   guard changes while its seeding function runs. */
#include <stddef.h>
#include <windows.h>

/* advapi32's RtlGenRandom, exported by that name. */
BOOLEAN WINAPI SystemFunction036(PVOID buffer, ULONG length);

/* Read by every protected function; linked before libssp, so its copy (and
   its crypto set-up) is never pulled in. */
void* __stack_chk_guard = 0;

__attribute__((constructor(101))) static void seedStackGuard(void) {
  void* guard = 0;
  if (!SystemFunction036(&guard, sizeof guard) || guard == 0) {
    /* Never on a working system; still no guard an attacker can know. */
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    guard = (void*)((size_t)now.QuadPart ^ ((size_t)GetCurrentProcessId() << 16) ^ (size_t)&guard);
  }
  __stack_chk_guard = guard;
}

/* A protected function found its stack overwritten: end at once, the way
   Windows' own handlers do. NOTE: the fast-fail request (int 0x29 with its
   code in ecx/rcx, what the __fastfail intrinsic compiles to) ends the
   process in the kernel without running any of its code, and Windows Error
   Reporting records the crash; Windows before 8 lacks it and gets the same
   status through TerminateProcess. */
__attribute__((noreturn)) void __stack_chk_fail(void) {
  static const char message[] = "*** stack smashing detected ***: terminated\n";
  DWORD written = 0;
  const HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
  if (errors != NULL && errors != INVALID_HANDLE_VALUE)
    WriteFile(errors, message, sizeof message - 1, &written, NULL);
  if (IsProcessorFeaturePresent(PF_FASTFAIL_AVAILABLE))
    __asm__ __volatile__("int $0x29" : : "c"(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE) : "memory");
  TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
  for (;;) {
  }
}
