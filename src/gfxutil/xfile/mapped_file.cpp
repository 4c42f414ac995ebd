#include "gfxutil/xfile/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

XMappedFile::~XMappedFile() {
  if (data_) munmap(data_, size_);
}

bool XMappedFile::Open(const char* path, std::string& error) {
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = std::string("cannot open the file: ") + std::strerror(errno);
    return false;
  }
  struct stat info;
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (!ok) {
    error = "not a regular file";
  } else if (info.st_size > 0) {
    void* mapped = mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (mapped == MAP_FAILED) {
      error = std::string("cannot map the file: ") + std::strerror(errno);
      ok = false;
    } else {
      data_ = static_cast<uint8_t*>(mapped);
      size_ = static_cast<size_t>(info.st_size);
      madvise(data_, size_, MADV_SEQUENTIAL);
    }
  }
  close(fd);
  return ok;
}

void XMappedFile::ReleaseBefore(size_t offset) {
  size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  size_t end = offset / page * page;
  if (end > size_ || end <= released_) return;
  madvise(data_ + released_, end - released_, MADV_DONTNEED);
  released_ = end;
}
