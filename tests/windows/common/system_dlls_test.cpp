// Functions taken from a system DLL: all of them or none.
#include <gtest/gtest.h>
#include <windows.h>

#include <iterator>

#include "common/win32_system_dlls.h"

namespace kb {
namespace {

void* const kUntouched = reinterpret_cast<void*>(0x1234);

TEST(BindSystemFunctions, FillsEverySlotOrNone) {
  void* count = kUntouched;
  void* send = kUntouched;
  const SystemFunction both[] = {{"waveOutGetNumDevs", &count}, {"mciSendStringA", &send}};
  ASSERT_TRUE(bindSystemFunctions("winmm.dll", both, std::size(both)));
  EXPECT_EQ(count, reinterpret_cast<void*>(
                       GetProcAddress(GetModuleHandleA("winmm.dll"), "waveOutGetNumDevs")));
  EXPECT_NE(send, kUntouched);
  EXPECT_NE(send, nullptr);

  // One missing name: not even the slots before it are filled.
  void* first = kUntouched;
  void* missing = kUntouched;
  const SystemFunction oneMissing[] = {{"waveOutGetNumDevs", &first},
                                       {"kbNoSuchFunction", &missing}};
  EXPECT_FALSE(bindSystemFunctions("winmm.dll", oneMissing, std::size(oneMissing)));
  EXPECT_EQ(first, kUntouched);
  EXPECT_EQ(missing, kUntouched);

  void* absent = kUntouched;
  const SystemFunction fromNoDll[] = {{"waveOutGetNumDevs", &absent}};
  EXPECT_FALSE(bindSystemFunctions("kb_no_such.dll", fromNoDll, std::size(fromNoDll)));
  EXPECT_EQ(absent, kUntouched);
}

}  // namespace
}  // namespace kb
