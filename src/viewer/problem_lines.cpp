#include "viewer/problem_lines.h"

#include <cstdio>

#include "platform/os/text_encoding.h"
#include "plugins/plugin_object.h"
#include "viewer/plugin_loading.h"

std::vector<LoadNote> PluginProblems(const ShownPlugin& shown, const std::vector<LoadNote>& notes) {
  std::vector<LoadNote> problems;
  if (shown.object) problems = shown.object->definition.problems;
  problems.insert(problems.end(), notes.begin(), notes.end());
  for (LoadNote& problem : problems) {
    problem.file = DisplayText(problem.file);
    problem.message = DisplayText(problem.message);
  }
  return problems;
}

void PrintProgramLine(const std::string& text) { std::fprintf(stderr, "vondrel-viewer: %s\n", text.c_str()); }

void PrintProblemLines(const std::vector<LoadNote>& problems) {
  for (const LoadNote& problem : problems) PrintProgramLine(problem.Text());
}
