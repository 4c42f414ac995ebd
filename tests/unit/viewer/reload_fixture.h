// The viewer on a sample plug-in copied into a scratch directory, loaded as
// the launcher loads it, for the tests of reloading it.
#pragma once
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "plugins/plugin_list.h"
#include "resources/texture_cache.h"
#include "scratch_directory.h"
#include "test_paths.h"
#include "viewer/launch.h"
#include "viewer/plugin_reload.h"
#include "viewer_fixture.h"
#include "state_names.h"

// A 2 x 2 binary PPM of one colour; the texture readers go by content, not by name.
inline std::string OneColourImage(unsigned char r, unsigned char g, unsigned char b) {
  std::string image = "P6\n2 2\n255\n";
  for (int i = 0; i < 4; ++i) image += {static_cast<char>(r), static_cast<char>(g), static_cast<char>(b)};
  return image;
}

inline std::string FileText(const std::string& name) {
  std::string text;
  if (FILE* file = std::fopen(name.c_str(), "rb")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    std::fclose(file);
  }
  return text;
}

inline bool CacheHolds(IDirect3DTexture8* texture) {
  for (const TextureEntry& entry : textureCache.Entries())
    if (entry.texture.get() == texture) return true;
  return false;
}

inline size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class ReloadTest : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    SetupInfoBlocks();
    texturesAtStart = RecordingTexture::liveCount;
  }
  void TearDown() override {
    ViewerShutdown();
    SetFrameRoutine(nullptr);
    EXPECT_TRUE(textureCache.Entries().empty()) << "textures left in the cache";
    EXPECT_EQ(RecordingTexture::liveCount, texturesAtStart) << "textures not freed";
    ViewerTest::TearDown();
  }

  // prepare changes the copy before it is loaded.
  void LoadSample(const std::string& sample, PluginKind kind, const std::function<void()>& prepare = [] {}) {
    scratch.CopyFrom(SourcePath("samples/" + sample));
    prepare();
    source = {kind, ""};
    LoadPlugin(kind, OpenDefinitionFile(kind));
    shownFailures = TakeFailuresOf(Shown());
  }

  PluginObject* Shown() { return ListOf(source.kind).selectedObject; }
  MeshResource& ShownModel() { return ModelOf(source.kind, Shown()); }

  ScratchDirectory scratch;
  PluginSource source;
  std::vector<LoadNote> shownFailures;
  int texturesAtStart = 0;
};
