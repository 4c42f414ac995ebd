#include "viewer/problem_lines.h"

#include <cstdio>

#include "platform/os/text_encoding.h"
#include "plugins/plugin_object.h"
#include "resources/mesh_resource.h"
#include "viewer/plugin_loading.h"

std::vector<LoadNote> AsDisplayText(std::vector<LoadNote> notes) {
  for (LoadNote& note : notes) {
    note.file = DisplayText(note.file);
    note.objectPath = DisplayText(note.objectPath);
    note.message = DisplayText(note.message);
  }
  return notes;
}

std::vector<LoadNote> PluginProblems(const ShownPlugin& shown) {
  std::vector<LoadNote> problems;
  if (shown.object) problems = shown.object->definition.problems;
  if (shown.model) problems.insert(problems.end(), shown.model->notes.begin(), shown.model->notes.end());
  return AsDisplayText(std::move(problems));
}

void PrintProgramLine(const std::string& text) { std::fprintf(stderr, "vondrel-viewer: %s\n", text.c_str()); }

void PrintProblemLines(const std::vector<LoadNote>& problems) {
  for (const LoadNote& problem : problems) PrintProgramLine(problem.Text());
}
