#include "platform/os/directory_mark.h"

#include <fcntl.h>
#include <unistd.h>

// O_PATH needs no permission to read the directory, only to reach it.
DirectoryMark::DirectoryMark() : fd_(open(".", O_PATH | O_DIRECTORY | O_CLOEXEC)) {}

DirectoryMark::~DirectoryMark() {
  if (fd_ >= 0) close(fd_);
}

bool DirectoryMark::Return() const { return fd_ >= 0 && fchdir(fd_) == 0; }
