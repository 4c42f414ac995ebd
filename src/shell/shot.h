// -shot: the first frame the window would show, written as a PNG file, with
// no window mapped and no display needed.
#pragma once
#include "shell/program_options.h"

// 0 when the file is written, each problem of the plug-in a line on standard
// error; 1, with one reason line on standard error, when the plug-in cannot be
// shown or the file cannot be written.
int RunShot(const ProgramOptions& options);
