#include "platform/os/atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// ".name.XXXXXX" in the directory of path: a rename within one file system.
std::string TemporaryTemplate(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return directory + "." + name + ".XXXXXX";
}

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  while (!bytes.empty()) {
    ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes = bytes.subspan(static_cast<size_t>(written));
  }
  return true;
}

// mkstemp makes the file readable by its owner only; a written file gets the
// permissions any new file of the user gets.
void GiveUsualPermissions(int fd) {
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes, std::string& error) {
  if (path.empty() || path.back() == '/') {
    error = "'" + path + "' names no file";
    return false;
  }
  std::string temporary = TemporaryTemplate(path);
  int fd = mkstemp(temporary.data());
  if (fd < 0) {
    error = "cannot create a file beside " + path + ": " + std::strerror(errno);
    return false;
  }
  GiveUsualPermissions(fd);
  bool written = WriteAll(fd, bytes);
  int writeErrno = errno;
  if (close(fd) != 0 && written) {
    written = false;
    writeErrno = errno;
  }
  if (!written) {
    error = "cannot write " + path + ": " + std::strerror(writeErrno);
    unlink(temporary.c_str());
    return false;
  }
  if (rename(temporary.c_str(), path.c_str()) != 0) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    unlink(temporary.c_str());
    return false;
  }
  return true;
}
