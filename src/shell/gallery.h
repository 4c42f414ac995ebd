// -gallery: every plug-in of a folder drawn and checked by worker processes,
// written as a static site that opens from disk.
#pragma once
#include "shell/program_options.h"

// 0 when the site is written (plug-ins that cannot be shown get a tile with
// their reason), with a one-line summary on standard output; 1 when the
// folder cannot be read or the site cannot be written.
int RunGallery(const ProgramOptions& options);
