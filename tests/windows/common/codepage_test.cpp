// The test environment itself: Windows tests run with a Japanese system code
// page, as the program's users do.
#include <gtest/gtest.h>
#include <windows.h>

TEST(Environment, SystemCodePageIsShiftJis) {
  EXPECT_EQ(GetACP(), 932u);
}
