// The real operating-system services (SDL2 and POSIX); never destroyed, so it
// outlives every static object that may still call it at exit.
#pragma once
#include "platform/os/os.h"

OperatingSystem& RealOperatingSystem();
