#include "gfxutil/load_notes.h"

#include <cstdarg>
#include <cstdio>

#include "platform/os/text_encoding.h"

namespace {

std::vector<LoadNote> notes;
size_t dropped = 0;  // notes beyond the limit, counted in one last note

void AddNote(const char* file, unsigned line, const std::string& place, LoadNoteKind kind, const char* format,
             va_list arguments) {
  if (notes.size() >= kMaxLoadNotes - 1) {
    ++dropped;
    return;
  }
  char text[512];
  std::vsnprintf(text, sizeof text, format, arguments);
  notes.push_back(LoadNote{file, line, place, text, kind});
}

}  // namespace

std::string LoadNote::Text() const {
  std::string text;
  for (const std::string* part : {&file, &place, &message}) {
    if (part->empty()) continue;
    if (!text.empty()) text += ": ";
    text += OnOneLine(*part);
  }
  return text;
}

void AddLoadNote(const char* file, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  AddNote(file, 0, "", LoadNoteKind::kProblem, format, arguments);
  va_end(arguments);
}

void AddLoadNoteAt(const char* file, unsigned line, const std::string& place, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  AddNote(file, line, place, LoadNoteKind::kProblem, format, arguments);
  va_end(arguments);
}

void AddLoadInformationAt(const char* file, unsigned line, const std::string& place, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  AddNote(file, line, place, LoadNoteKind::kInformation, format, arguments);
  va_end(arguments);
}

const LoadNote* FirstProblem(const std::vector<LoadNote>& notes) {
  for (const LoadNote& note : notes)
    if (note.kind == LoadNoteKind::kProblem) return &note;
  return nullptr;
}

std::vector<LoadNote> TakeLoadNotes() {
  if (dropped) notes.push_back(LoadNote{"", 0, "", std::to_string(dropped) + " more notes left out"});
  dropped = 0;
  std::vector<LoadNote> taken;
  taken.swap(notes);
  return taken;
}
