// The stack protector's guard: seeded, and different in every process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

extern "C" void* __stack_chk_guard;

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

TEST(StackGuard, IsSeededAndDiffersFromProcessToProcess) {
  ASSERT_NE(__stack_chk_guard, nullptr);
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string command = std::string("\"\"") + self +
                              "\" --gtest_filter=StackGuard.DISABLED_Print"
                              " --gtest_also_run_disabled_tests\"";
  FILE* other = _popen(command.c_str(), "r");
  ASSERT_NE(other, nullptr);
  std::string out;
  char line[256];
  while (std::fgets(line, sizeof line, other)) out += line;
  _pclose(other);
  const std::size_t at = out.find("guard=");
  ASSERT_NE(at, std::string::npos) << out;
  EXPECT_NE(out.substr(at, out.find('\n', at) - at), guardText());
}

}  // namespace
