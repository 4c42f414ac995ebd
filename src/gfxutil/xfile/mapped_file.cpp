#include "gfxutil/xfile/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/os/file_source.h"
#include "platform/os/mapping_guard.h"

XMappedFile::~XMappedFile() {
  if (!mapped_) return;
  UnguardMapping(data_);
  munmap(data_, size_);
}

bool XMappedFile::Open(const char* path, std::string& error) {
  if (!Files().OnDisk()) {
    if (!Files().Read(path, kMaxArchivedBytes, BeyondLimit::kRefuse, read_, error)) return false;
    data_ = read_.data();
    size_ = read_.size();
    return true;
  }
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
    size_t size = static_cast<size_t>(info.st_size);
    ok = static_cast<uint64_t>(info.st_size) <= kReadWholeLimit ? ReadWhole(fd, size, error) : Map(fd, size, error);
  }
  close(fd);
  return ok;
}

// A file cut short while it is read yields the bytes that were there, which
// the reader then finds incomplete.
bool XMappedFile::ReadWhole(int fd, size_t size, std::string& error) {
  read_.resize(size);
  size_t done = 0;
  while (done < size) {
    ssize_t got = read(fd, read_.data() + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = std::string("cannot read the file: ") + std::strerror(errno);
      return false;
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  read_.resize(done);
  data_ = read_.data();
  size_ = done;
  return true;
}

bool XMappedFile::Map(int fd, size_t size, std::string& error) {
  void* mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  if (mapped == MAP_FAILED) {
    error = std::string("cannot map the file: ") + std::strerror(errno);
    return false;
  }
  if (!GuardMapping(mapped, size)) {
    munmap(mapped, size);
    error = "too many files mapped at once";
    return false;
  }
  data_ = static_cast<uint8_t*>(mapped);
  size_ = size;
  mapped_ = true;
  madvise(data_, size_, MADV_SEQUENTIAL);
  return true;
}

// Whole pages inside [from, to). It keeps no account, so that a second
// reader's thread may call it.
void XMappedFile::DropBetween(size_t from, size_t to) {
  if (!mapped_) return;
  size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  size_t begin = (from + page - 1) / page * page;
  size_t end = std::min(to, size_) / page * page;
  if (end > begin) madvise(data_ + begin, end - begin, MADV_DONTNEED);
}

void XMappedFile::ReleaseBefore(size_t offset) {
  if (!mapped_) return;  // read whole: nothing to give back
  size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  size_t end = offset / page * page;
  if (end > size_ || end <= released_) return;
  DropBetween(released_, end);
  released_ = end;
}
