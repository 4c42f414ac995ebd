#include "platform/os/named_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

struct NamedLock {
  int fd;
};

namespace {

// The per-user runtime directory when there is one, else /tmp with the user id
// in the file name so that users do not lock each other out.
std::string LockFilePath(const char* name) {
  std::string file = name;
  for (char& c : file)
    if (c == '/') c = '_';
  const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
  if (runtimeDir && *runtimeDir) return std::string(runtimeDir) + "/" + file + ".lock";
  return "/tmp/" + file + "-" + std::to_string(getuid()) + ".lock";
}

}  // namespace

NamedLock* OpenNamedLock(const char* name) {
  std::string path = LockFilePath(name);
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    std::fprintf(stderr, "cannot open lock file %s: %s\n", path.c_str(), std::strerror(errno));
    return nullptr;
  }
  return new NamedLock{fd};
}

bool TryAcquireNamedLock(NamedLock* lock) {
  int result;
  do {
    result = flock(lock->fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

void ReleaseNamedLock(NamedLock* lock) { flock(lock->fd, LOCK_UN); }

void CloseNamedLock(NamedLock* lock) {
  close(lock->fd);
  delete lock;
}
