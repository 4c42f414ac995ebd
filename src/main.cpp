#include "shell/program_modes.h"

int main(int argc, char** argv) {
  return RunProgram(ParseProgramOptions(argc, argv));
}
