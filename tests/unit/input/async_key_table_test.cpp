#include <gtest/gtest.h>

#include "fake_os.h"
#include "input/input.h"

namespace {

TEST(VirtualKeysTest, DownNowOrWentDownCountsAsDown) {
  FakeOs os;
  os.asyncKeys[VK_PRIOR] = static_cast<int16_t>(0x8000);
  os.asyncKeys[VK_NEXT] = 0x0001;
  os.asyncKeys[VK_HOME] = 0x0002;  // other bits do not count
  PollVirtualKeys();
  PollVirtualKeys();
  EXPECT_EQ(VirtualKeyState(VK_PRIOR), 3);
  EXPECT_EQ(VirtualKeyState(VK_NEXT), 3);
  EXPECT_EQ(VirtualKeyState(VK_HOME), 0);
  os.asyncKeys.clear();
  PollVirtualKeys();
  EXPECT_EQ(VirtualKeyState(VK_PRIOR), 1);
  PollVirtualKeys();
  EXPECT_EQ(VirtualKeyState(VK_PRIOR), 0);
}

TEST(VirtualKeysTest, CodesOutsideTheTableReadAsUp) {
  FakeOs os;
  for (int code = 0; code < 256; ++code) os.asyncKeys[code] = static_cast<int16_t>(0x8000);
  PollVirtualKeys();
  EXPECT_EQ(VirtualKeyState(255), 2);
  EXPECT_EQ(VirtualKeyState(300), 0);
  EXPECT_EQ(VirtualKeyState(256), 0);
  EXPECT_EQ(VirtualKeyState(-1), 0);
  os.asyncKeys.clear();
  PollVirtualKeys();
  PollVirtualKeys();
}

}  // namespace
