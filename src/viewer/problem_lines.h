// The problems found while loading a plug-in, as the modes without a window
// tell them: one line each on standard error, naming the file and the place.
#pragma once
#include <string>
#include <vector>

#include "gfxutil/load_notes.h"

struct ShownPlugin;

// The definition file's problems, then the notes of the model's load and its
// textures', in order, with file names and messages as UTF-8 text.
std::vector<LoadNote> PluginProblems(const ShownPlugin& shown);
// The notes with file names, object paths and messages as UTF-8 text.
std::vector<LoadNote> AsDisplayText(std::vector<LoadNote> notes);

// "vondrel-viewer: <text>" on standard error.
void PrintProgramLine(const std::string& text);
// One program line per problem: "vondrel-viewer: file: place: message".
void PrintProblemLines(const std::vector<LoadNote>& problems);
