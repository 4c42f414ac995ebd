#include <cstdio>
#include <cstdlib>

#include "shell/application.h"

void EndProcess(int status) {
  std::fflush(nullptr);
  std::_Exit(status);
}
