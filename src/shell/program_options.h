// The command line read as the program's options: which mode to run and with
// what. Options follow the plug-in path, in the single-dash style.
#pragma once
#include <string>
#include <vector>

#include "gfxutil/finding_code.h"
#include "graphics/direct3d.h"

enum class ProgramMode {
  kViewer,      // the window
  kShot,        // -shot: the first frame as a PNG file
  kCheck,       // -check: a report of the loaded plug-in
  kGallery,     // -gallery: pictures and reports of every plug-in of a folder
  kChecksDoc,   // -checks-doc: docs/checks.md, written from the table of codes
  kHelp,        // -h, --help
  kVersion,     // --version
  kUsageError,  // exit status 2
};

// The largest side -size accepts; the most workers -j starts.
constexpr int kMaxJobs = 256;
constexpr int kMaxShotSide = 4096;

struct ProgramOptions {
  ProgramMode mode = ProgramMode::kViewer;
  const char* pluginPath = nullptr;  // the first argument; null when there is none
  std::string shotPath;              // -shot
  int shotWidth = 640;               // the picture fitted into -size, aspect kept
  int shotHeight = 480;
  bool night = false;   // -night
  bool linear = false;  // -linear
  bool noText = false;  // -notext
  bool json = false;    // -json
  std::vector<FindingCode> ignoredCodes;  // -ignore CODE[,CODE...], with -check
  bool log = false;     // -log: the debug log on standard error too
  bool logFile = false;  // -dbf: the debug log to debug.txt too
  bool watch = false;    // -watch: reload the plug-in shown when its files change
  DisplayRequest display;  // -2nd, -win, -full
  // One line each about words that change nothing: unknown options, extra
  // arguments, options without their mode. They never stop a launch.
  std::vector<std::string> warnings;
  std::string usageError;  // kUsageError: what is wrong
  std::string galleryFolder;  // -gallery <folder> <out-dir>
  std::string galleryOutput;
  int jobs = 0;  // -j; 0: one per core
};

ProgramOptions ParseProgramOptions(int argc, char** argv);

// The 640 x 480 picture fitted into width x height with its aspect kept.
void FitPicture(int width, int height, int& outWidth, int& outHeight);
