// The problems found while loading a plug-in, as the modes without a window
// tell them: one line each on standard error, naming the file and the place.
#pragma once
#include <string>
#include <vector>

#include "gfxutil/load_notes.h"

struct ShownPlugin;

// The definition file's problems, then the problems the loads noted, in order,
// with file names and messages as UTF-8 text.
std::vector<LoadNote> PluginProblems(const ShownPlugin& shown, const std::vector<LoadNote>& notes);
// The notes of the loads that are information, not problems, as UTF-8 text.
std::vector<LoadNote> PluginInformation(const std::vector<LoadNote>& notes);

// "vondrel-viewer: <text>" on standard error.
void PrintProgramLine(const std::string& text);
// One program line per problem: "vondrel-viewer: file: place: message".
void PrintProblemLines(const std::vector<LoadNote>& problems);
