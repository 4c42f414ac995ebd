// What the file readers have to say about the file they were given: why it
// could not be loaded, or what they repaired (or which font stands in for
// the one asked for). The utility operations keep no
// log of their own; the caller takes the notes after the call and logs them
// after its own line about the load.
#pragma once
#include <string>
#include <vector>

// A problem of the file, or only a word on how it was read: it loads as its
// author meant, and nothing needs mending.
enum class LoadNoteKind { kProblem, kInformation };

struct LoadNote {
  std::string file;   // as the reader was given it; empty for the count of notes left out
  unsigned line = 0;  // the line of the file the note points at, from 1; 0 for none
  std::string place;  // the spot as the log line names it ("line 12", "offset 345"); empty for the whole file
  std::string message;
  LoadNoteKind kind = LoadNoteKind::kProblem;

  // The debug-log line: "file: place: message", empty parts left out, control
  // characters escaped (OnOneLine).
  std::string Text() const;
};

// A note about the file as a whole.
void AddLoadNote(const char* file, const char* format, ...) __attribute__((format(printf, 2, 3)));
// A note about a spot in the file; line 0 when the spot is no line.
void AddLoadNoteAt(const char* file, unsigned line, const std::string& place, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
// A note about a spot of a file that loads as meant: information, not a problem.
void AddLoadInformationAt(const char* file, unsigned line, const std::string& place, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
// The first note that is a problem; null when there is none.
const LoadNote* FirstProblem(const std::vector<LoadNote>& notes);
// The notes since the last call, oldest first; at most kMaxLoadNotes of them.
std::vector<LoadNote> TakeLoadNotes();

constexpr size_t kMaxLoadNotes = 16;
