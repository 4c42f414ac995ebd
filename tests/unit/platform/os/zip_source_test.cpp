#include "platform/os/zip_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "image_test_support.h"
#include "platform/os/path_lookup.h"
#include "zip_bytes.h"

namespace {

// "表札" in code page 932: the second byte of 表 is 0x5C, the byte of '\'.
const std::string kSignCp932 = "\x95\x5C\x8E\x44";
const std::string kSignUtf8 = "表札";

// An archive as the current file source, the file system again afterwards.
class ZipSource : public ::testing::Test {
 protected:
  void TearDown() override { UseFiles(nullptr); }

  void Use(const std::vector<ZipMember>& members) {
    bytes_ = ZipBytes(members);
    std::string error;
    std::unique_ptr<FileSource> archive = OpenZipFilesInMemory(bytes_, error);
    ASSERT_TRUE(archive) << error;
    UseFiles(std::move(archive));
  }

  static std::string ReadAll(const std::string& path, uint64_t limit = 1 << 20) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!Files().Read(path, limit, BeyondLimit::kRefuse, bytes, error)) return "error: " + error;
    return std::string(bytes.begin(), bytes.end());
  }

 private:
  std::vector<uint8_t> bytes_;
};

TEST(ArchivePath, IsRecognisedByItsExtensionInAnyCaseWithOrWithoutANameInside) {
  struct Case {
    const char* argument;
    bool archive;
    const char* file;
    const char* inside;
  } cases[] = {
      {"pack.zip", true, "pack.zip", ""},
      {"dir/Pack.ZIP", true, "dir/Pack.ZIP", ""},
      {"pack.zip!/Folder", true, "pack.zip", "Folder"},
      {"pack.zip!/Folder/car.x", true, "pack.zip", "Folder/car.x"},
      {"pack.zipped", false, "", ""},
      {".zip", false, "", ""},
      {"samples/Train", false, "", ""},
      {"Train!/Folder", false, "", ""},
  };
  for (const Case& c : cases) {
    ArchivePath parts;
    EXPECT_EQ(IsArchivePath(c.argument, &parts), c.archive) << c.argument;
    if (!c.archive) continue;
    EXPECT_EQ(parts.archive, c.file) << c.argument;
    EXPECT_EQ(parts.inside, c.inside) << c.argument;
  }
}

TEST(ArchivePath, ADirectoryCalledSoIsNoArchive) {
  TempDir dir;
  dir.Write("Plugin.zip/Model.x", {1});
  EXPECT_FALSE(IsArchivePath(dir.path() + "/Plugin.zip"));
  EXPECT_FALSE(IsArchivePath(dir.path() + "/Plugin.zip!/Model.x"));
}

TEST_F(ZipSource, NamesAreCodePage932WithoutTheFlagAndUtf8WithIt) {
  Use({{"Folder/" + kSignCp932 + ".png", "cp932"},
       {"Folder/" + kSignUtf8 + "2.png", "utf8", true},
       {"Folder/plain.png", "ascii"}});
  std::vector<std::string> names = Files().EntryNames("Folder/");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"plain.png", kSignUtf8 + ".png", kSignUtf8 + "2.png"}));
  EXPECT_EQ(ReadAll("Folder/" + kSignUtf8 + ".png"), "cp932");
  EXPECT_EQ(ReadAll("Folder/" + kSignUtf8 + "2.png"), "utf8");
}

TEST_F(ZipSource, PluginNamesAreResolvedAsOnDisk) {
  Use({{"Pack/Model.x", "model"}, {"Pack/tex/" + kSignCp932 + ".bmp", "texture"}, {"Pack/Body.BMP", "body"}});
  ASSERT_TRUE(Files().EnterDirectory("Pack"));
  struct Case {
    std::string name;
    std::string data;  // "" when not found
  } cases[] = {
      {"model.X", "model"},
      {"tex\\" + kSignCp932 + ".BMP", "texture"},  // code page 932 with its 0x5C, '\', letter case
      {"TEX/" + kSignUtf8 + ".bmp", "texture"},
      {"body.bmp", "body"},
      {"../Pack/Body.BMP", "body"},
      {"../../Pack/Body.BMP", ""},  // no way out of the archive
      {"/Pack/Body.BMP", ""},
      {"missing.bmp", ""},
  };
  for (const Case& c : cases) {
    ResolvedPath found = ResolvePath(c.name);
    EXPECT_EQ(found.path.empty() ? "" : ReadAll(found.path), c.data) << c.name;
  }
  EXPECT_EQ(ResolveTexturePath("C:\\work\\Body.bmp", "").match, PathMatch::kModelDirectory);
}

TEST_F(ZipSource, MembersLeadingOutsideAreLeftOutAndNamed) {
  std::vector<std::string> outside = {"../evil.x", "a/../../evil.x", "/etc/evil.x", "C:/evil.x", "C:\\evil.x",
                                      "\\evil.x"};
  std::vector<ZipMember> members{{"a/../inside.x", "in"}};
  for (const std::string& name : outside) members.push_back({name, "out"});
  TempDir dir;
  ASSERT_TRUE(WriteZip(dir.path() + "/outside.zip", members));
  std::string error;
  std::vector<std::string> notes;
  std::unique_ptr<FileSource> archive = OpenZipFiles(dir.path() + "/outside.zip", error, &notes);
  ASSERT_TRUE(archive) << error;
  EXPECT_EQ(archive->EntryNames(""), std::vector<std::string>{"inside.x"});
  EXPECT_EQ(notes.size(), outside.size());
  for (const std::string& note : notes) EXPECT_NE(note.find("passed over"), std::string::npos) << note;
}

TEST_F(ZipSource, ReadsStopAtTheLimitWhateverTheArchiveClaims) {
  std::string big(5000, 'x');
  Use({{"stored.bin", big, false, false}, {"deflated.bin", big}, {"lies.bin", big, false, true, 10}});
  struct Case {
    const char* name;
    BeyondLimit beyond;
    bool ok;
    size_t size;
  } cases[] = {
      {"stored.bin", BeyondLimit::kRefuse, false, 0},
      {"deflated.bin", BeyondLimit::kRefuse, false, 0},
      {"deflated.bin", BeyondLimit::kCut, true, 1000},
      {"stored.bin", BeyondLimit::kCut, true, 1000},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_EQ(Files().Read(c.name, 1000, c.beyond, bytes, error), c.ok) << c.name;
    if (c.ok) {
      EXPECT_EQ(bytes.size(), c.size) << c.name;
    } else {
      EXPECT_NE(error.find("too large"), std::string::npos) << c.name << ": " << error;
    }
  }
  // A member that claims 10 bytes and inflates to 5000 never yields more than the limit.
  std::vector<uint8_t> bytes;
  std::string error;
  bool read = Files().Read("lies.bin", 1000, BeyondLimit::kRefuse, bytes, error);
  EXPECT_LE(bytes.size(), 1000u);
  EXPECT_TRUE(!read || bytes.size() <= 10) << error;
  EXPECT_EQ(ReadAll("stored.bin"), big);
}

TEST_F(ZipSource, CurrentFolderIsShownInsideTheArchive) {
  Use({{"Pack/", ""}, {"Pack/Sub/Model.x", "m"}});
  EXPECT_TRUE(Files().IsEntry("Pack", EntryKind::kDirectory));
  EXPECT_FALSE(Files().IsEntry("Pack", EntryKind::kFile));
  EXPECT_FALSE(Files().EnterDirectory("Pack/Sub/Model.x"));
  ASSERT_TRUE(Files().EnterDirectory("Pack/Sub"));
  EXPECT_EQ(Files().CurrentDirectory(), std::string("(memory)!/Pack/Sub/"));
  EXPECT_EQ(ReadAll("Model.x"), "m");
  EXPECT_FALSE(Files().OnDisk());
}

TEST_F(ZipSource, RefreshReadsTheArchiveSavedAnew) {
  TempDir dir;
  std::string path = dir.path() + "/pack.zip";
  ASSERT_TRUE(WriteZip(path, {{"Pack/Model.x", "first"}}));
  std::string error;
  std::unique_ptr<FileSource> archive = OpenZipFiles(path, error);
  ASSERT_TRUE(archive) << error;
  UseFiles(std::move(archive));
  ASSERT_TRUE(Files().EnterDirectory("Pack"));
  EXPECT_EQ(Files().ArchiveFile(), path);
  ASSERT_TRUE(WriteZip(path + ".new", {{"Pack/Model.x", "second"}, {"Pack/more.png", ""}}));
  ASSERT_EQ(std::rename((path + ".new").c_str(), path.c_str()), 0);
  ASSERT_TRUE(Files().Refresh(error)) << error;
  EXPECT_EQ(ReadAll("Model.x"), "second");
  std::remove(path.c_str());
  EXPECT_FALSE(Files().Refresh(error));
  EXPECT_NE(error.find("pack.zip"), std::string::npos) << error;
}

TEST_F(ZipSource, NotAnArchiveIsRefusedWithTheReason) {
  std::string error;
  std::vector<uint8_t> junk = {'P', 'K', 3, 4, 0, 0};
  EXPECT_FALSE(OpenZipFilesInMemory(junk, error));
  EXPECT_NE(error.find("not a readable zip archive"), std::string::npos) << error;
  EXPECT_FALSE(OpenZipFiles("/nonexistent/pack.zip", error));
}

TEST(DiskFiles, ReadRefusesOrCutsBeyondTheLimit) {
  TempDir dir;
  std::string path = dir.Write("file.bin", Bytes(3000, 7));
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_FALSE(Files().Read(path, 1000, BeyondLimit::kRefuse, bytes, error));
  EXPECT_NE(error.find("too large"), std::string::npos);
  ASSERT_TRUE(Files().Read(path, 1000, BeyondLimit::kCut, bytes, error)) << error;
  EXPECT_EQ(bytes.size(), 1000u);
  EXPECT_FALSE(Files().Read(dir.path(), 1000, BeyondLimit::kCut, bytes, error));
  EXPECT_TRUE(Files().OnDisk());
  EXPECT_EQ(Files().ArchiveFile(), "");
}

TEST(FileStream, HoldsTheBytesUpToTheLimit) {
  TempDir dir;
  std::string path = dir.Write("Train.txt", Bytes{'a', 'b', 'c', 'd'});
  std::string error;
  struct Case {
    uint64_t limit;
    std::string text;
  } cases[] = {{100, "abcd"}, {2, "ab"}};
  for (const Case& c : cases) {
    FILE* stream = OpenFileStream(path, c.limit, error);
    ASSERT_TRUE(stream) << error;
    char text[16] = {};
    size_t got = std::fread(text, 1, sizeof text, stream);
    std::fclose(stream);
    EXPECT_EQ(std::string(text, got), c.text);
  }
  EXPECT_FALSE(OpenFileStream(dir.path() + "/absent.txt", 100, error));
}

}  // namespace
