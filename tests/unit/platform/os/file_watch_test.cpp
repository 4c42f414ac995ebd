#include "platform/os/file_watch.h"

#include <gtest/gtest.h>
#include <utime.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "scratch_directory.h"

namespace {

namespace fs = std::filesystem;
using Files = std::vector<std::string>;

std::unique_ptr<FileWatcher> NewWatcher() {
  std::string error;
  std::unique_ptr<FileWatcher> watcher = CreateFileWatcher(error);
  EXPECT_NE(watcher, nullptr) << error;
  return watcher;
}

// An editor's save: a new file renamed over the old one.
void SaveByRename(const ScratchDirectory& scratch, const std::string& name, const std::string& bytes) {
  scratch.Write(name + ".tmp", bytes);
  fs::rename(name + ".tmp", name);
}

struct WatchCase {
  const char* what;
  Files onDisk;
  Files watched;
  std::function<void(const ScratchDirectory&)> change;
  Files expected;
};

class FileWatchTest : public testing::TestWithParam<WatchCase> {};

TEST_P(FileWatchTest, ReportsTheWatchedFilesThatChanged) {
  const WatchCase& c = GetParam();
  ScratchDirectory scratch;
  for (const std::string& file : c.onDisk) scratch.Write(file, "old");
  std::unique_ptr<FileWatcher> watcher = NewWatcher();
  ASSERT_NE(watcher, nullptr);
  EXPECT_EQ(watcher->WatchFiles(c.watched), Files{});
  EXPECT_EQ(watcher->TakeChanges().files, Files{}) << "nothing has changed yet";
  c.change(scratch);
  FileChanges changes = watcher->TakeChanges();
  EXPECT_EQ(changes.files, c.expected);
  EXPECT_EQ(changes.notes, Files{});
  EXPECT_EQ(watcher->TakeChanges().files, Files{}) << "each change is reported once";
}

INSTANTIATE_TEST_SUITE_P(
    Saves, FileWatchTest,
    testing::Values(
        WatchCase{"renamed over", {"Model.x", "Struct.txt"}, {"Model.x", "Struct.txt"},
                  [](const ScratchDirectory& s) { SaveByRename(s, "Model.x", "new"); }, {"Model.x"}},
        WatchCase{"written in place", {"Model.x"}, {"Model.x"},
                  [](const ScratchDirectory& s) { s.Write("Model.x", "new"); }, {"Model.x"}},
        WatchCase{"a burst of writes to two files", {"Model.x", "a.png"}, {"Model.x", "a.png"},
                  [](const ScratchDirectory& s) {
                    for (int i = 0; i < 50; ++i) s.Write(i % 2 ? "a.png" : "Model.x", std::string(i, 'x'));
                  },
                  {"Model.x", "a.png"}},
        WatchCase{"touched", {"Model.x"}, {"Model.x"},
                  [](const ScratchDirectory&) { utime("Model.x", nullptr); }, {"Model.x"}},
        WatchCase{"deleted", {"Model.x"}, {"Model.x"},
                  [](const ScratchDirectory&) { fs::remove("Model.x"); }, {"Model.x"}},
        WatchCase{"another file of the directory", {"Model.x"}, {"Model.x"},
                  [](const ScratchDirectory& s) { SaveByRename(s, "notes.txt", "new"); }, {}},
        WatchCase{"a texture in a subdirectory", {"tex/a.png", "a.png"}, {"tex/a.png", "Model.x"},
                  [](const ScratchDirectory& s) { SaveByRename(s, "tex/a.png", "new"); }, {"tex/a.png"}},
        WatchCase{"a name in other letter case", {"body.bmp"}, {"Body.BMP"},
                  [](const ScratchDirectory& s) { SaveByRename(s, "body.bmp", "new"); }, {"Body.BMP"}},
        WatchCase{"a file that comes later", {"Model.x"}, {"Model.x", "late.png"},
                  [](const ScratchDirectory& s) { s.Write("late.png", "new"); }, {"late.png"}}),
    [](const testing::TestParamInfo<WatchCase>& info) {
      std::string name;
      for (const char* c = info.param.what; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
      return name;
    });

TEST(FileWatchTest, APathWhoseDirectoryIsMissingIsRefusedWithItsReason) {
  ScratchDirectory scratch;
  scratch.Write("Model.x", "old");
  std::unique_ptr<FileWatcher> watcher = NewWatcher();
  ASSERT_NE(watcher, nullptr);
  Files problems = watcher->WatchFiles({"Model.x", "missing/a.png"});
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].rfind("missing/a.png: its directory cannot be watched (", 0), 0u) << problems[0];
  scratch.Write("Model.x", "new");
  EXPECT_EQ(watcher->TakeChanges().files, Files{"Model.x"});
}

TEST(FileWatchTest, WatchingOtherFilesForgetsTheEarlierOnes) {
  ScratchDirectory scratch;
  scratch.Write("tex/a.png", "old");
  scratch.Write("b.png", "old");
  std::unique_ptr<FileWatcher> watcher = NewWatcher();
  ASSERT_NE(watcher, nullptr);
  watcher->WatchFiles({"tex/a.png", "b.png"});
  watcher->WatchFiles({"b.png"});
  SaveByRename(scratch, "tex/a.png", "new");
  SaveByRename(scratch, "b.png", "new");
  EXPECT_EQ(watcher->TakeChanges().files, Files{"b.png"});
}

TEST(FileWatchTest, ADirectoryThatGoesAwayIsNotedAndItsFilesTakenAsChanged) {
  ScratchDirectory scratch;
  scratch.Write("tex/a.png", "old");
  std::unique_ptr<FileWatcher> watcher = NewWatcher();
  ASSERT_NE(watcher, nullptr);
  watcher->WatchFiles({"tex/a.png"});
  fs::remove_all("tex");
  FileChanges changes = watcher->TakeChanges();
  EXPECT_EQ(changes.files, Files{"tex/a.png"});
  ASSERT_EQ(changes.notes.size(), 1u);
  EXPECT_EQ(changes.notes[0], "tex: the directory is gone and no longer watched");
  scratch.Write("tex/a.png", "new");
  EXPECT_EQ(watcher->TakeChanges().files, Files{}) << "the new directory is not the watched one";
}

}  // namespace
