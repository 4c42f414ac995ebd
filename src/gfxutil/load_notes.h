// What the file readers have to say about the file they were given: the fault
// that stopped the load, and what they repaired (or which font stands in for
// the one asked for). The readers keep no log of their own: each load hands
// its notes back to its caller, who logs them after its own line about the
// load and may keep them for a report.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "gfxutil/finding_code.h"

struct LoadNote {
  FindingCode code = FindingCode::kNotesLeftOut;
  std::string file;        // as the reader was given it; empty for a note of no file
  unsigned line = 0;       // the line of the file the note points at, from 1; 0 for none
  std::string place;       // the spot as the log line names it ("line 12", "offset 345"); empty for the whole file
  std::string objectPath;  // the enclosing objects of a model ("Frame Body/Mesh body"); empty for none
  std::string message;

  // The debug-log line: "file: place: message", empty parts left out, control
  // characters escaped (OnOneLine).
  std::string Text() const;
};

// printf into a string, for a note's message.
std::string NoteMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

constexpr size_t kMaxLoadNotes = 16;

// The notes of one load. The fault that ended it is kept apart, so that no
// number of notes can push it out; of the other notes the first
// kMaxLoadNotes - 1 are kept and the rest counted.
class LoadNotes {
 public:
  void Add(LoadNote note);
  void SetFatal(LoadNote note) { fatal_ = std::move(note); }
  // Another load's notes after these (its fault, if any, as a note).
  void Append(const LoadNotes& other);

  const std::optional<LoadNote>& Fatal() const { return fatal_; }
  // The fault first, then the notes, then one note counting those left out.
  std::vector<LoadNote> All() const;
  bool Empty() const { return !fatal_ && notes_.empty(); }

 private:
  std::optional<LoadNote> fatal_;
  std::vector<LoadNote> notes_;
  size_t dropped_ = 0;
};
