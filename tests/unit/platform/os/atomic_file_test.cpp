#include "platform/os/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "scratch_directory.h"

namespace {

namespace fs = std::filesystem;

std::string Contents(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::span<const uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

TEST(AtomicFile, WritesANewFileAndReplacesAnOldOneWhole) {
  ScratchDirectory scratch;
  std::string error;
  ASSERT_TRUE(WriteFileAtomically("out.png", Bytes("first"), error)) << error;
  EXPECT_EQ(Contents("out.png"), "first");
  ASSERT_TRUE(WriteFileAtomically(scratch.path() + "/out.png", Bytes("second, longer"), error)) << error;
  EXPECT_EQ(Contents("out.png"), "second, longer");
  EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), 1);
}

TEST(AtomicFile, TheFileGetsTheUsualPermissions) {
  ScratchDirectory scratch;
  mode_t mask = umask(022);
  std::string error;
  ASSERT_TRUE(WriteFileAtomically("out.png", Bytes("x"), error)) << error;
  umask(mask);
  EXPECT_EQ(fs::status("out.png").permissions(), fs::perms(0644));
}

struct FailureCase {
  const char* path;
  const char* reason;  // a part of the error
};

TEST(AtomicFile, AFailureSaysWhyAndLeavesNothing) {
  ScratchDirectory scratch;
  fs::create_directory("directory");
  const FailureCase cases[] = {
      {"missing/out.png", "cannot create a file beside missing/out.png"},
      {"directory", "cannot write directory"},
      {"directory/", "names no file"},
      {"", "names no file"},
  };
  for (const FailureCase& c : cases) {
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(c.path, Bytes("x"), error)) << c.path;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.path << ": " << error;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), 1);
  EXPECT_TRUE(fs::is_empty("directory"));
}

}  // namespace
