#include "platform/os/mapping_guard.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <mutex>

namespace {

// A fixed table, so that the signal handler reads it without locks or allocation.
constexpr int kSlots = 16;
struct Slot {
  std::atomic<uintptr_t> begin{0}, end{0};
};
Slot slots[kSlots];
std::mutex slotsMutex;  // between guarding threads; the handler only reads
struct sigaction previousAction;
uintptr_t pageSize;

bool InGuardedMapping(uintptr_t address) {
  for (const Slot& slot : slots) {
    uintptr_t begin = slot.begin.load(std::memory_order_acquire);
    if (begin != 0 && address >= begin && address < slot.end.load(std::memory_order_acquire)) return true;
  }
  return false;
}

void OnBusError(int signal, siginfo_t* info, void* context) {
  uintptr_t address = reinterpret_cast<uintptr_t>(info->si_addr);
  if (InGuardedMapping(address)) {
    void* page = reinterpret_cast<void*>(address & ~(pageSize - 1));
    void* zeros = mmap(page, pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    if (zeros != MAP_FAILED) return;  // the faulting read runs again, on zeros
  }
  // Not ours: whatever handled SIGBUS before, or the default end of the process.
  if (previousAction.sa_flags & SA_SIGINFO) {
    previousAction.sa_sigaction(signal, info, context);
  } else if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN) {
    previousAction.sa_handler(signal);
  } else {
    ::signal(SIGBUS, SIG_DFL);  // the faulting read runs again and ends the process
  }
}

void InstallHandler() {
  pageSize = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  struct sigaction action = {};
  action.sa_sigaction = OnBusError;
  action.sa_flags = SA_SIGINFO | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  sigaction(SIGBUS, &action, &previousAction);
}

}  // namespace

bool GuardMapping(const void* address, size_t size) {
  static std::once_flag installed;
  std::call_once(installed, InstallHandler);
  std::lock_guard lock(slotsMutex);
  for (Slot& slot : slots) {
    if (slot.begin.load() != 0) continue;
    uintptr_t begin = reinterpret_cast<uintptr_t>(address);
    slot.end.store(begin + size, std::memory_order_release);
    slot.begin.store(begin, std::memory_order_release);
    return true;
  }
  return false;
}

void UnguardMapping(const void* address) {
  std::lock_guard lock(slotsMutex);
  for (Slot& slot : slots) {
    if (slot.begin.load() == reinterpret_cast<uintptr_t>(address)) {
      slot.begin.store(0, std::memory_order_release);
      slot.end.store(0, std::memory_order_release);
    }
  }
}
