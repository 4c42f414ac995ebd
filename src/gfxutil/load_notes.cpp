#include "gfxutil/load_notes.h"

#include <cstdarg>
#include <cstdio>

#include "platform/os/text_encoding.h"

std::string LoadNote::Text() const {
  std::string text;
  for (const std::string* part : {&file, &place, &message}) {
    if (part->empty()) continue;
    if (!text.empty()) text += ": ";
    text += OnOneLine(*part);
  }
  return text;
}

std::string NoteMessage(const char* format, ...) {
  char text[512];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  return text;
}

void LoadNotes::Add(LoadNote note) {
  if (notes_.size() >= kMaxLoadNotes - 1) {
    ++dropped_;
    return;
  }
  notes_.push_back(std::move(note));
}

void LoadNotes::Append(const LoadNotes& other) {
  if (other.fatal_) Add(*other.fatal_);
  for (const LoadNote& note : other.notes_) Add(note);
  dropped_ += other.dropped_;
}

std::vector<LoadNote> LoadNotes::All() const {
  std::vector<LoadNote> all;
  if (fatal_) all.push_back(*fatal_);
  all.insert(all.end(), notes_.begin(), notes_.end());
  if (dropped_)
    all.push_back(
        LoadNote{FindingCode::kNotesLeftOut, "", 0, "", "", std::to_string(dropped_) + " more notes left out"});
  return all;
}
