#include "scratch_directory.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

ScratchDirectory::ScratchDirectory() {
  previous_ = fs::current_path().string();
  std::string pattern = (fs::temp_directory_path() / "vdl-scratch-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    std::abort();
  }
  path_ = pattern;
  fs::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
  fs::current_path(previous_);
  fs::remove_all(path_);
}

void ScratchDirectory::Write(const std::string& name, const std::string& bytes) const {
  fs::path file = fs::path(path_) / name;
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

FILE* ScratchDirectory::Open(const std::string& name) const {
  return std::fopen((fs::path(path_) / name).c_str(), "r");
}

void ScratchDirectory::CopyFrom(const std::string& sourceDirectory) const {
  fs::copy(sourceDirectory, path_, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}
