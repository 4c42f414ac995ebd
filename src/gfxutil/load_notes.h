// What the file readers have to say about the file they were given: why it
// could not be loaded, or what they repaired (or which font stands in for
// the one asked for). The utility operations keep no
// log of their own; the caller takes the notes after the call and logs them
// after its own line about the load.
#pragma once
#include <string>
#include <vector>

void AddLoadNote(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The notes since the last call, oldest first; at most kMaxLoadNotes of them.
std::vector<std::string> TakeLoadNotes();

constexpr size_t kMaxLoadNotes = 16;
