// The viewer's start-up: recognise the plug-in named on the command line,
// enter its directory and hand it to the plug-in loading.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "gfxutil/load_notes.h"
#include "viewer/plugin_kind.h"

constexpr size_t kLaunchPathSize = 1024;

enum class LaunchTarget {
  kPlugin,     // a plug-in of the detected kind, its definition file open
  kBareModel,  // a ".x" model file shown on its own
  kNothing,    // nothing the viewer can show
};

struct LaunchProbe {
  LaunchTarget target = LaunchTarget::kNothing;
  PluginKind kind = kStructKind;          // kPlugin: the kind
  FILE* definitionFile = nullptr;         // kPlugin: open, for the loading to close
  const char* kindName = "";              // kPlugin: e.g. "Station"
  const char* definitionName = "";        // kPlugin: e.g. "Station.txt"
  std::string definitionPath;             // kPlugin: the file opened, e.g. "station.TXT"
  std::string modelPath;                  // kBareModel: the model, from the new current directory
  std::string reason;                     // kNothing: why, for the log
};

// Decides what the argument names, changing the current directory on the way.
// An argument naming a zip archive ("x.zip", "x.zip!/Folder") makes the
// archive the file source (platform/os/file_source.h), any other the file
// system; an archive must hold one plug-in or name one.
LaunchProbe ProbeLaunchArgument(const char* argument);
// The plug-ins of the current file source's root and its folders: each folder
// holding Model.x and a definition file, else each .x model of a folder; as
// names relative to the root ("." for the root itself).
std::vector<std::string> PluginsInFileSource();
// The plug-ins of an archive, as PluginsInFileSource names them; the file
// system is the file source after it. False with the reason when it cannot be read.
bool ListArchivePlugins(const std::string& archive, std::vector<std::string>& plugins, std::string& error);
// Why an archive that holds none or several plug-ins cannot be shown, listing
// how to name each ("x.zip!/Folder").
std::string SeveralPluginsReason(const std::string& archive, const std::vector<std::string>& plugins);
// The definition file of a kind ("Station.txt"), and that file of the current
// directory opened for reading (its name in any letter case); null if absent.
const char* DefinitionFileName(PluginKind kind);
FILE* OpenDefinitionFile(PluginKind kind);
// Cuts the path after its last '/', which stays; no '/' leaves it empty.
void StripToDirectory(char* path);
void ShowFatalMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Loads what the argument names, as the viewer does: renormalised normals on
// the device, the info blocks, the probe, its log line, then the plug-in
// loading. False, with the reason ("<argument>: why (the fault that stopped
// the load)"), when there is nothing to show; the probe tells what was found,
// and `failureNotes`, when given, receives the failed load's notes, its fault
// first.
bool LoadLaunchArgument(const char* argument, LaunchProbe& probe, std::string& reason,
                        std::vector<LoadNote>* failureNotes = nullptr);
// The reason with the first note that is an error or a warning, when there is
// one: "reason (note)".
std::string WithFirstNote(const std::string& reason, const std::vector<LoadNote>& notes);
// Sets the caption, hides the cursor and loads the plug-in at pluginPath (the
// command line's first argument, null when there is none), or ends the program
// with status 1; with watch, reloads it when its files change (-watch). The
// plug-in's problems go to standard error, one line each, when the log is not there.
void ViewerStartup(const char* pluginPath, bool watch);
