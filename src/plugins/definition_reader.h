// Reading a plug-in's definition file with the format of its kind, item by
// item, under the rules of the C library's formatted input for that format.
#pragma once
#include <cstddef>
#include <cstdio>

// Size of a word field (name, author), with its terminating NUL.
constexpr size_t kPluginWordSize = 256;

class DefinitionReader {
 public:
  // fileName only names the file in log lines.
  DefinitionReader(FILE* file, const char* fileName) : file_(file), fileName_(fileName) {}

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
  int Read(const char* format, ...) __attribute__((format(scanf, 2, 3)));

 private:
  int Next();
  void PutBack(int c);
  void SkipSpace();
  bool ReadWord(char* field);
  // The characters of a number (at most 63; a longer one is logged and not
  // read); false when they begin no number.
  bool ScanNumber(bool allowFraction, char (&text)[64]);
  bool ScanLetters(const char* word, char (&text)[64], size_t& length);

  FILE* file_;
  const char* fileName_;
};
