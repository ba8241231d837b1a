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

// What a second copy of this program prints as its guard.
std::string guardOfAnotherProcess() {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return "no pipe";
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string commandLine = std::string("\"") + self +
                            "\" --gtest_filter=StackGuard.DISABLED_Print "
                            "--gtest_also_run_disabled_tests";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION child{};
  const bool started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &startup, &child);
  CloseHandle(writeEnd);
  std::string out;
  char buffer[512];
  DWORD count = 0;
  while (started && ReadFile(readEnd, buffer, sizeof buffer, &count, nullptr) && count > 0)
    out.append(buffer, count);
  CloseHandle(readEnd);
  if (!started) return "not started";
  WaitForSingleObject(child.hProcess, INFINITE);
  CloseHandle(child.hProcess);
  CloseHandle(child.hThread);
  const std::size_t at = out.find("guard=");
  return at == std::string::npos ? out : out.substr(at, out.find_first_of("\r\n", at) - at);
}

TEST(StackGuard, IsSeededAndDiffersFromProcessToProcess) {
  ASSERT_NE(__stack_chk_guard, nullptr);
  const std::string other = guardOfAnotherProcess();
  ASSERT_EQ(other.rfind("guard=", 0), 0u) << other;
  EXPECT_NE(other, guardText());
}

}  // namespace
