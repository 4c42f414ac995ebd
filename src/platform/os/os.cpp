#include "platform/os/os.h"

#include "platform/os/real_os.h"

namespace {
OperatingSystem* installedOs = nullptr;
}

OperatingSystem& Os() { return installedOs ? *installedOs : RealOperatingSystem(); }

void SetOperatingSystem(OperatingSystem* os) { installedOs = os; }
