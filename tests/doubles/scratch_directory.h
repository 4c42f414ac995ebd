// Files on disk for tests: a fresh directory that is the current directory
// while the test runs, with files written into it.
#pragma once
#include <cstdio>
#include <string>

class ScratchDirectory {
 public:
  ScratchDirectory();   // creates the directory and enters it
  ~ScratchDirectory();  // goes back and removes it with all it holds
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  // Writes bytes to a file below the directory (parent directories made).
  void Write(const std::string& name, const std::string& bytes) const;
  // Opens a file below the directory for reading in text mode; null if absent.
  FILE* Open(const std::string& name) const;
  // Copies a directory's files and subdirectories into this one.
  void CopyFrom(const std::string& sourceDirectory) const;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string previous_;
};
