// The stack protector's guard: seeded, and different in every process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>

extern "C" void* __stack_chk_guard;
extern "C" void __stack_chk_fail(void);

namespace {

std::string guardText() {
  char text[32];
  std::snprintf(text, sizeof text, "guard=%p", __stack_chk_guard);
  return text;
}

// Run in a second copy of this program by the test below.
TEST(StackGuard, DISABLED_Print) {
  std::printf("%s\n", guardText().c_str());
}

// Run in a second copy of this program by the test below.
TEST(StackGuard, DISABLED_Smashed) {
  __stack_chk_fail();
}

// The output and exit code of this program running one disabled test.
std::pair<std::string, int> runInSecondCopy(const char* test) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string command = std::string("\"\"") + self + "\" --gtest_filter=" + test +
                              " --gtest_also_run_disabled_tests\"";
  FILE* other = _popen(command.c_str(), "r");
  if (other == nullptr) return {"", -1};
  std::string out;
  char line[256];
  while (std::fgets(line, sizeof line, other)) out += line;
  return {out, _pclose(other)};
}

TEST(StackGuard, IsSeededAndDiffersFromProcessToProcess) {
  ASSERT_NE(__stack_chk_guard, nullptr);
  const std::string out = runInSecondCopy("StackGuard.DISABLED_Print").first;
  const std::size_t at = out.find("guard=");
  ASSERT_NE(at, std::string::npos) << out;
  EXPECT_NE(out.substr(at, out.find('\n', at) - at), guardText());
}

TEST(StackGuard, ASmashedStackEndsAsWindowsOwnHandlersEnd) {
  EXPECT_EQ(static_cast<DWORD>(runInSecondCopy("StackGuard.DISABLED_Smashed").second),
            STATUS_STACK_BUFFER_OVERRUN);
}

}  // namespace
