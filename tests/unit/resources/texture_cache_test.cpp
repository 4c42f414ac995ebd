#include "resources/texture_cache.h"

#include <string>
#include <vector>

#include "resource_fixture.h"
#include "state_names.h"

namespace {

class TextureCacheTest : public ResourceTest {
 protected:
  void SetUp() override {
    ResourceTest::SetUp();
    scratch.Write("first.ppm", TinyImage(255, 0, 0));
    scratch.Write("second.ppm", TinyImage(0, 255, 0));
    scratch.Write("third.ppm", TinyImage(0, 0, 255));
    liveAtStart = RecordingTexture::liveCount;
  }
  void TearDown() override {
    EXPECT_TRUE(textureCache.Entries().empty()) << "a test left textures in the cache";
    EXPECT_EQ(RecordingTexture::liveCount, liveAtStart);
    ResourceTest::TearDown();
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const TextureEntry& e : textureCache.Entries()) names.push_back(e.name);
    return names;
  }
  IDirect3DTexture8* Acquire(const char* name) { return textureCache.acquire(name, 0, 1, ""); }

  int liveAtStart = 0;
};

TEST_F(TextureCacheTest, OneNameIsLoadedOnceAndFreedWithItsLastReference) {
  IDirect3DTexture8* a = Acquire("first.ppm");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(Acquire("first.ppm"), a);
  EXPECT_EQ(Acquire("first.ppm"), a);
  EXPECT_EQ(textureCache.Entries().front().refCount, 3);
  EXPECT_EQ(os.DebugText(), "load(first.ppm) ... ok.\n");
  EXPECT_EQ(device.Count("CreateTexture"), 1u);

  textureCache.release(a);
  textureCache.release(a);
  EXPECT_EQ(os.DebugText(), "load(first.ppm) ... ok.\n");
  EXPECT_EQ(RecordingTexture::liveCount, liveAtStart + 1);
  textureCache.release(a);
  EXPECT_EQ(os.DebugText(), "load(first.ppm) ... ok.\nrelease(first.ppm)\n");
  EXPECT_EQ(RecordingTexture::liveCount, liveAtStart);
  EXPECT_TRUE(textureCache.Entries().empty());
}

TEST_F(TextureCacheTest, TheTextureIsCreatedAsTheCallerAsks) {
  IDirect3DTexture8* t = textureCache.acquire("second.ppm", 0, 1, "");
  ASSERT_NE(t, nullptr);
  const DeviceCall* create = device.Named("CreateTexture")[0];
  EXPECT_EQ(create->Arg(0), 2);  // the file's size
  EXPECT_EQ(create->Arg(1), 2);
  EXPECT_EQ(create->Arg(2), 1);  // one mip level
  EXPECT_EQ(create->Arg(4), D3DFMT_A8R8G8B8);
  EXPECT_EQ(create->Arg(5), D3DPOOL_MANAGED);
  textureCache.release(t);
}

TEST_F(TextureCacheTest, NewEntriesGoDirectlyAfterTheHead) {
  IDirect3DTexture8* first = Acquire("first.ppm");
  IDirect3DTexture8* second = Acquire("second.ppm");
  IDirect3DTexture8* third = Acquire("third.ppm");
  EXPECT_EQ(Names(), (std::vector<std::string>{"first.ppm", "third.ppm", "second.ppm"}));

  textureCache.release(first);  // the head goes; the next entry takes its place
  EXPECT_EQ(Names(), (std::vector<std::string>{"third.ppm", "second.ppm"}));
  textureCache.release(second);
  textureCache.release(third);
  EXPECT_EQ(os.DebugText(),
            "load(first.ppm) ... ok.\nload(second.ppm) ... ok.\nload(third.ppm) ... ok.\n"
            "release(first.ppm)\nrelease(second.ppm)\nrelease(third.ppm)\n");
}

TEST_F(TextureCacheTest, NamesDifferingInLetterCaseAreSeparateEntries) {
  IDirect3DTexture8* lower = Acquire("first.ppm");
  IDirect3DTexture8* upper = Acquire("FIRST.PPM");  // the same file, found ignoring case
  ASSERT_NE(upper, nullptr);
  EXPECT_NE(upper, lower);
  EXPECT_EQ(device.Count("CreateTexture"), 2u);
  textureCache.release(lower);
  textureCache.release(upper);
}

TEST_F(TextureCacheTest, AFailedLoadIsNotCachedAndIsTriedAgain) {
  EXPECT_EQ(Acquire("missing.ppm"), nullptr);
  std::string log = os.DebugText();
  EXPECT_EQ(log, "load(missing.ppm) ... failed.\nmissing.ppm: file not found\n");
  EXPECT_TRUE(textureCache.Entries().empty());

  os.debugOutput.clear();
  scratch.Write("missing.ppm", TinyImage(1, 2, 3));
  IDirect3DTexture8* now = Acquire("missing.ppm");
  EXPECT_NE(now, nullptr);
  EXPECT_EQ(os.DebugText(), "load(missing.ppm) ... ok.\n");
  textureCache.release(now);
}

TEST_F(TextureCacheTest, ARetiredEntryIsReadAgainForNewUsersAndStaysForItsOwn) {
  IDirect3DTexture8* old = Acquire("first.ppm");
  ASSERT_NE(old, nullptr);
  textureCache.RetireAll();
  scratch.Write("first.ppm", TinyImage(0, 0, 255));
  IDirect3DTexture8* fresh = Acquire("first.ppm");
  ASSERT_NE(fresh, nullptr);
  EXPECT_NE(fresh, old);
  EXPECT_EQ(Acquire("first.ppm"), fresh) << "a fresh entry is shared as before";
  EXPECT_EQ(Names(), (std::vector<std::string>{"first.ppm", "first.ppm"}));
  EXPECT_EQ(static_cast<RecordingTexture*>(old)->bits[0], 0) << "the old texture keeps its pixels";
  EXPECT_EQ(static_cast<RecordingTexture*>(fresh)->bits[0], 255);

  textureCache.release(old);
  EXPECT_EQ(Names(), std::vector<std::string>{"first.ppm"});
  EXPECT_EQ(textureCache.Entries().front().texture.get(), fresh);
  textureCache.release(fresh);
  textureCache.release(fresh);
  EXPECT_EQ(os.DebugText(), "load(first.ppm) ... ok.\nload(first.ppm) ... ok.\nrelease(first.ppm)\nrelease(first.ppm)\n");
}

TEST_F(TextureCacheTest, ReleasingNullOrAnUnknownTextureDoesNothing) {
  IDirect3DTexture8* held = Acquire("first.ppm");
  textureCache.release(nullptr);
  RecordingTexture stranger(2, 2, 1, D3DFMT_A8R8G8B8, DescribeTexture(2, 2, D3DFMT_A8R8G8B8));
  textureCache.release(&stranger);
  EXPECT_EQ(textureCache.Entries().front().refCount, 1);
  EXPECT_EQ(os.DebugText(), "load(first.ppm) ... ok.\n");
  textureCache.release(held);
}

}  // namespace
