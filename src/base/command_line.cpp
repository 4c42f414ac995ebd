#include <cstring>

#include "base/command_line.h"

namespace {
int argumentCount = 0;
char** arguments = nullptr;
}  // namespace

void SetCommandLine(int argc, char** argv) {
  argumentCount = argc;
  arguments = argv;
}

const char* PluginArgument() { return argumentCount > 1 ? arguments[1] : nullptr; }

bool HasOption(const char* option) {
  for (int i = 1; i < argumentCount; ++i)
    if (std::strcmp(arguments[i], option) == 0) return true;
  return false;
}
