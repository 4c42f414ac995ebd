#include "graphics/text_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "base/program_state.h"
#include "fake_os.h"
#include "graphics/direct3d.h"
#include "graphics/overlay_text.h"
#include "recording_device.h"
#include "state_names.h"

namespace {

class TextLinesTest : public ::testing::Test {
 protected:
  static std::vector<std::string> Shown(const TextLines& block) {
    std::vector<std::string> shown;
    for (int i = 0; i < block.capacity; ++i) shown.push_back(block.Line(i) ? block.Line(i) : "<empty>");
    return shown;
  }
  FakeOs os;
};

TEST_F(TextLinesTest, NewestLinesStayAndTheOldestLeavesAtTheTop) {
  TextLines block;
  block.Setup(3, 5, 433);
  block.AddLinef("%c", 'a');
  block.AddLine("b");
  block.AddLinef("<%s>", "c");
  block.AddLine("d");
  EXPECT_EQ(Shown(block), (std::vector<std::string>{"b", "<c>", "d"}));
}

TEST_F(TextLinesTest, AFewLinesFillTheBottomSlots) {
  TextLines block;
  block.Setup(5, 5, 405);
  EXPECT_EQ(block.linePitch, 14);
  EXPECT_EQ(Shown(block), (std::vector<std::string>(5, "<empty>")));
  block.AddLine("<PLUGIN>");
  block.AddLinef("name %d", 1);
  block.AddLine("author");
  EXPECT_EQ(Shown(block), (std::vector<std::string>{"<empty>", "<empty>", "<PLUGIN>", "name 1", "author"}));
  EXPECT_EQ(block.Line(-1), nullptr);
  EXPECT_EQ(block.Line(5), nullptr);
}

// The block keeps copies: the texts it was given may change or go (a reload
// replaces the plug-in object whose name it shows).
TEST_F(TextLinesTest, LinesAreCopiesOfTheTextGiven) {
  TextLines block;
  block.Setup(3, 0, 0);
  {
    std::string name = "name";
    block.AddLine(name.c_str());
    name = "changed";
  }
  block.AddLinef("made %s", "here");
  EXPECT_EQ(Shown(block), (std::vector<std::string>{"<empty>", "name", "made here"}));
  block.Clear();
  EXPECT_EQ(Shown(block), (std::vector<std::string>(3, "<empty>")));
  block.Setup(4, 1, 2);
  EXPECT_EQ(Shown(block), (std::vector<std::string>(4, "<empty>")));
}

TEST_F(TextLinesTest, LongFormattedLinesAreCutAndLogged) {
  TextLines block;
  block.Setup(1, 0, 0);
  std::string longText(3000, 'z');
  block.AddLinef("%s", longText.c_str());
  EXPECT_EQ(std::string(block.Line(0)), std::string(1023, 'z'));
  EXPECT_NE(os.DebugText().find("3000"), std::string::npos) << os.DebugText();
}

TEST_F(TextLinesTest, ABlockWithoutSlotsTakesNothing) {
  TextLines block;
  block.Setup(-2, 0, 0);
  block.AddLine("a");
  block.AddLinef("b");
  EXPECT_EQ(block.capacity, 0);
  EXPECT_EQ(block.Line(0), nullptr);
}

TEST_F(TextLinesTest, DrawPutsEachLineFourteenPixelsBelowTheLastAndSkipsEmptySlots) {
  RecordingDevice device;
  screenWidth = 640;
  screenHeight = 480;
  d3dDevice = &device;
  ASSERT_EQ(CreateOverlayFont(14, 400), 1);
  TextLines block;
  block.Setup(4, 5, 100);
  block.AddLine("|");
  block.AddLine("|");
  device.ClearCalls();
  const std::vector<std::string> before = Shown(block);
  block.Draw();
  auto draws = device.Named("DrawPrimitiveUP");
  ASSERT_EQ(draws.size(), 4u);  // shadow and text of two lines
  float tops[4];
  for (size_t i = 0; i < 4; ++i) {
    tops[i] = 1e9f;
    for (const RecordedVertex& v : DecodeVertices(*draws[i])) tops[i] = std::min(tops[i], v.position.y);
  }
  EXPECT_FLOAT_EQ(tops[0], tops[1] + 1);
  EXPECT_FLOAT_EQ(tops[3], tops[1] + 14);
  EXPECT_GE(tops[1], 100 + 2 * 14 - 0.5f);
  EXPECT_EQ(Shown(block), before);  // drawing changes nothing
  ReleaseOverlayFont();
  d3dDevice = nullptr;
}

}  // namespace
