// The current directory, kept to come back to after the launch has entered the
// plug-in's: a file the user named relative to where the program started is
// written there.
#pragma once

class DirectoryMark {
 public:
  DirectoryMark();  // marks the current directory
  ~DirectoryMark();
  DirectoryMark(const DirectoryMark&) = delete;
  DirectoryMark& operator=(const DirectoryMark&) = delete;

  // Makes the marked directory current again; false when it cannot be.
  bool Return() const;

 private:
  int fd_;
};
