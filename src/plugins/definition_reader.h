// Reading a plug-in's definition file with the format of its kind, item by
// item, under the rules of the C library's formatted input for that format.
#pragma once
#include <cstddef>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "gfxutil/load_notes.h"

// Size of a word field (name, author), with its terminating NUL.
constexpr size_t kPluginWordSize = 256;
// Far beyond any plug-in: the items a definition file may hold (a station
// of 1,666 platforms) and the bytes read of it. The reader stops at either,
// with one problem, as if the file ended there.
constexpr size_t kMaxDefinitionItems = 10000;
constexpr size_t kMaxDefinitionBytes = 1u << 20;

// One item of a definition file as it stands there.
struct DefinitionField {
  std::string name;   // what the kind calls it ("scale figure"); empty until named
  unsigned line = 0;  // from 1
  std::string text;   // the bytes taken, as in the file (a word as stored, cut words cut)
  // A number's word beyond what was taken ("x.5" of "1x.5"), up to white space
  // or the format's next character; empty when the word was taken whole.
  std::string untaken;
  // False for the number that ended a read because nothing of its word could
  // be taken ("時速95"): text is empty, untaken holds the word.
  bool stored = true;
};

// What was read from a definition file, and what was wrong with it.
struct DefinitionRecord {
  std::string fileName;
  std::vector<DefinitionField> fields;  // in file order; the last may be a number not stored
  std::vector<LoadNote> problems;

  // Keeps the problem with its line (0: none) and logs it: "fileName: line N: message".
  void AddProblem(FindingCode code, unsigned line, const char* format, ...) __attribute__((format(printf, 4, 5)));
};

class DefinitionReader {
 public:
  // fileName names the file in log lines and in the record.
  DefinitionReader(FILE* file, const char* fileName) : file_(file) { record_.fileName = fileName; }

  // Reads the items of `format` and returns how many were stored; the first
  // item that is missing or does not match ends the read, and the fields of
  // that item and the later ones are left as they were.
  //   "%s"  a word: bytes up to the next white space, into a kPluginWordSize
  //         buffer; a longer word keeps its first 255 bytes and the rest of it
  //         is skipped (logged)
  //   "%f"  a float in decimal or hexadecimal form (sign, digits, point,
  //         exponent; 0x, p exponent), or inf, infinity or nan in any letter
  //         case, taken as far as the C library's formatted input takes it
  //   "%d"  a decimal integer, into an int (saturated at the int32 limits)
  //   white space in the format skips any run of white space, including none;
  //   any other character must be the very next one in the file.
  // Numbers and words skip the white space before them.
  // Each item stored is kept in the record as a field, at the line it starts on;
  // so is a number that could not be taken at all, marked as not stored.
  // At kMaxDefinitionItems items or kMaxDefinitionBytes bytes the file ends.
  int Read(const char* format, ...) __attribute__((format(scanf, 2, 3)));

  // The line the reader stands on, from 1.
  unsigned Line() const { return line_; }
  // Names the fields not named yet, in order: prefix + names[i].
  void NameFields(std::span<const char* const> names, const std::string& prefix = "");
  DefinitionRecord& Record() { return record_; }

 private:
  int Next();
  void PutBack(int c);
  // The word ahead, up to white space or `stop` (at most 63 bytes); nothing is consumed.
  std::string WordAhead(int stop);
  // True once a limit has ended the read; the first time, notes the problem.
  bool AtItemLimit();
  void SkipSpace();
  bool ReadWord(char* field, unsigned& line);
  // The characters of a number (at most 63; a longer one is logged and not
  // read); false when they begin no number.
  bool ScanNumber(bool allowFraction, char (&text)[64], unsigned& line);
  bool ScanLetters(const char* word, char (&text)[64], size_t& length);

  FILE* file_;
  std::string putBack_;  // bytes put back, the next one last
  unsigned line_ = 1;
  size_t bytesRead_ = 0;
  bool cutShort_ = false;  // a limit was reached: the rest reads as the end of the file
  DefinitionRecord record_;
};
