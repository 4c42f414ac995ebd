// The viewer's start-up: recognise the plug-in named on the command line,
// enter its directory and hand it to the plug-in loading.
#pragma once
#include <cstddef>
#include <cstdio>

constexpr size_t kLaunchPathSize = 1024;

enum class LaunchTarget {
  kPlugin,     // a plug-in of the detected kind, its definition file open
  kBareModel,  // a ".x" model file shown on its own
  kNothing,    // nothing the viewer can show
};

struct LaunchProbe {
  LaunchTarget target = LaunchTarget::kNothing;
  int kind = -1;                          // kPlugin: the kind index
  FILE* definitionFile = nullptr;         // kPlugin: open, for the loading to close
  const char* kindName = "";              // kPlugin: e.g. "Station"
  const char* definitionName = "";        // kPlugin: e.g. "Station.txt"
  const char* modelPath = nullptr;        // kBareModel: the model, from the new current directory
  const char* reason = "";                // kNothing: why, for the log
};

// Decides what the argument names, changing the current directory on the way.
LaunchProbe ProbeLaunchArgument(const char* argument);
// The definition file of a kind ("Station.txt"), and that file of the current
// directory opened for reading (its name in any letter case); null if absent.
const char* DefinitionFileName(int kind);
FILE* OpenDefinitionFile(int kind);
// Cuts the path after its last '/', which stays; no '/' leaves it empty.
void StripToDirectory(char* path);
void ShowFatalMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Hands the plug-in over, or ends the program with status 1.
void ViewerStartup();
