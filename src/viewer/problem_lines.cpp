#include "viewer/problem_lines.h"

#include <cstdio>

#include "platform/os/text_encoding.h"
#include "plugins/plugin_object.h"
#include "viewer/plugin_loading.h"

namespace {

// `out` with the notes of `kind` appended, all with their texts as UTF-8.
std::vector<LoadNote> NotesOfKind(std::vector<LoadNote> out, const std::vector<LoadNote>& notes, LoadNoteKind kind) {
  for (const LoadNote& note : notes)
    if (note.kind == kind) out.push_back(note);
  for (LoadNote& note : out) {
    note.file = DisplayText(note.file);
    note.message = DisplayText(note.message);
  }
  return out;
}

}  // namespace

std::vector<LoadNote> PluginProblems(const ShownPlugin& shown, const std::vector<LoadNote>& notes) {
  std::vector<LoadNote> definition;
  if (shown.object) definition = shown.object->definition.problems;
  return NotesOfKind(std::move(definition), notes, LoadNoteKind::kProblem);
}

std::vector<LoadNote> PluginInformation(const std::vector<LoadNote>& notes) {
  return NotesOfKind({}, notes, LoadNoteKind::kInformation);
}

void PrintProgramLine(const std::string& text) { std::fprintf(stderr, "vondrel-viewer: %s\n", text.c_str()); }

void PrintProblemLines(const std::vector<LoadNote>& problems) {
  for (const LoadNote& problem : problems) PrintProgramLine(problem.Text());
}
