// The one place where the program decides what to do with its command line:
// the viewer's window, a picture, a report, the usage or the version.
#pragma once
#include "shell/program_options.h"

// The exit status of the mode the options ask for.
int RunProgram(const ProgramOptions& options);
