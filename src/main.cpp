#include "base/command_line.h"
#include "shell/program_modes.h"

int main(int argc, char** argv) {
  SetCommandLine(argc, argv);
  return RunProgram(ParseProgramOptions(argc, argv));
}
