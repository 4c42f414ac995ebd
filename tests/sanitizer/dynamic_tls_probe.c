// Loads a library with thread-local storage after <count> allocations of the
// size its TLS block takes, touches the block and prints where it starts within
// its page; then exits, so that LeakSanitizer scans the block.
//   dynamic_tls_probe <library> <count>
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

enum { kBlockBytes = 40, kMaxCount = 4096 };

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  int count = atoi(argv[2]);
  if (count < 0 || count > kMaxCount) return 2;
  static void* held[kMaxCount];
  for (int i = 0; i < count; ++i) held[i] = malloc(kBlockBytes);
  void* library = dlopen(argv[1], RTLD_NOW);
  if (!library) {
    fprintf(stderr, "%s\n", dlerror());
    return 2;
  }
  long* (*touch)(void) = (long* (*)(void))dlsym(library, "TouchTlsBlock");
  if (!touch) return 2;
  printf("%u\n", (unsigned)((uintptr_t)touch() % 4096));
  return 0;
}
