#include "graphics/text_lines.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <set>
#include <string>

#include "base/program_globals.h"
#include "fake_os.h"
#include "graphics/direct3d.h"
#include "graphics/overlay_text.h"
#include "recording_device.h"

// Counts the line buffers alive, to see that the block frees exactly the ones it made.
namespace {
std::set<void*>* lineBuffers = nullptr;
}

void* operator new[](size_t size) {
  void* memory = std::malloc(size ? size : 1);
  if (!memory) throw std::bad_alloc();
  if (lineBuffers && size == TextLines::kFormattedLineSize) lineBuffers->insert(memory);
  return memory;
}
void operator delete[](void* memory) noexcept {
  if (lineBuffers) lineBuffers->erase(memory);
  std::free(memory);
}
void operator delete[](void* memory, size_t) noexcept { operator delete[](memory); }

namespace {

class TextLinesTest : public ::testing::Test {
 protected:
  void SetUp() override { lineBuffers = &live; }
  void TearDown() override { lineBuffers = nullptr; }
  static std::vector<std::string> Shown(const TextLines& block) {
    std::vector<std::string> shown;
    for (const char* line : block.lines) shown.push_back(line ? line : "<empty>");
    return shown;
  }
  std::set<void*> live;
  FakeOs os;
};

TEST_F(TextLinesTest, NewestLinesStayAndTheOldestLeavesAtTheTop) {
  TextLines block;
  block.Setup(3, 5, 433);
  block.AddLinef("%c", 'a');
  void* bufferOfA = const_cast<char*>(block.lines[2]);
  block.AddLine("b");
  block.AddLinef("<%s>", "c");
  block.AddLine("d");
  EXPECT_EQ(Shown(block), (std::vector<std::string>{"b", "<c>", "d"}));
  EXPECT_EQ(block.owned, (std::vector<uint8_t>{0, 1, 0}));
  EXPECT_EQ(live.count(bufferOfA), 0u);
  EXPECT_EQ(live.size(), 1u);
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
  EXPECT_EQ(block.owned, (std::vector<uint8_t>{0, 0, 0, 1, 0}));
}

TEST_F(TextLinesTest, ClearFreesOnlyTheBlocksOwnBuffers) {
  char borrowed[] = "borrowed";
  TextLines block;
  block.Setup(3, 0, 0);
  block.AddLine(borrowed);
  block.AddLinef("made %s", "here");
  block.AddLinef("and %s", "here");
  EXPECT_EQ(live.size(), 2u);
  block.Clear();
  EXPECT_TRUE(live.empty());
  EXPECT_STREQ(borrowed, "borrowed");
  EXPECT_EQ(Shown(block), (std::vector<std::string>(3, "<empty>")));
  EXPECT_EQ(block.owned, (std::vector<uint8_t>(3, 0)));
}

TEST_F(TextLinesTest, SettingUpAgainOrEndingFreesTheLines) {
  {
    TextLines block;
    block.Setup(2, 0, 0);
    block.AddLinef("x");
    block.Setup(4, 1, 2);
    EXPECT_TRUE(live.empty());
    EXPECT_EQ(block.capacity, 4);
    block.AddLinef("y");
  }
  EXPECT_TRUE(live.empty());
}

TEST_F(TextLinesTest, LongFormattedLinesAreCutAndLogged) {
  TextLines block;
  block.Setup(1, 0, 0);
  std::string longText(3000, 'z');
  block.AddLinef("%s", longText.c_str());
  EXPECT_EQ(std::string(block.lines[0]), std::string(1023, 'z'));
  EXPECT_NE(os.DebugText().find("3000"), std::string::npos) << os.DebugText();
}

TEST_F(TextLinesTest, ABlockWithoutSlotsTakesNothing) {
  TextLines block;
  block.Setup(-2, 0, 0);
  block.AddLine("a");
  block.AddLinef("b");
  EXPECT_EQ(block.capacity, 0);
  EXPECT_TRUE(live.empty());
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
  const std::vector<const char*> before = block.lines;
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
  EXPECT_EQ(block.lines, before);  // drawing changes nothing
  ReleaseOverlayFont();
  d3dDevice = nullptr;
}

}  // namespace
