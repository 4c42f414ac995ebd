#include "gfxutil/load_notes.h"

#include <cstdarg>
#include <cstdio>

namespace {

std::vector<std::string> notes;
size_t dropped = 0;  // notes beyond the limit, counted in one last note

}  // namespace

void AddLoadNote(const char* format, ...) {
  if (notes.size() >= kMaxLoadNotes - 1) {
    ++dropped;
    return;
  }
  char text[512];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  notes.emplace_back(text);
}

std::vector<std::string> TakeLoadNotes() {
  if (dropped) notes.push_back(std::to_string(dropped) + " more notes left out");
  dropped = 0;
  std::vector<std::string> taken;
  taken.swap(notes);
  return taken;
}
