#include "plugins/definition_reader.h"

#include <climits>
#include <cstdarg>
#include <cstdlib>

#include "shell/debug_log.h"

namespace {

// White space as the C locale knows it; Shift-JIS bytes are never white space.
bool IsSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }
char Lower(int c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c); }

}  // namespace

int DefinitionReader::Next() { return std::fgetc(file_); }

void DefinitionReader::PutBack(int c) {
  if (c != EOF) std::ungetc(c, file_);
}

void DefinitionReader::SkipSpace() {
  int c;
  do c = Next();
  while (IsSpace(c));
  PutBack(c);
}

bool DefinitionReader::ReadWord(char* field) {
  SkipSpace();
  int c = Next();
  if (c == EOF) return false;
  size_t length = 0;
  bool cut = false;
  for (; c != EOF && !IsSpace(c); c = Next()) {
    if (length < kPluginWordSize - 1) {
      field[length++] = static_cast<char>(c);
    } else {
      cut = true;
    }
  }
  PutBack(c);
  field[length] = '\0';
  if (cut) LogPrintf("%s: a word longer than %zu bytes was cut to its first %zu\n", fileName_, kPluginWordSize - 1,
                     kPluginWordSize - 1);
  return true;
}

// The letters of "inf" or "nan" in any case, appended to text.
bool DefinitionReader::ScanLetters(const char* word, char (&text)[64], size_t length) {
  for (const char* w = word; *w != '\0'; ++w) {
    int c = Next();
    if (Lower(c) != *w) {
      PutBack(c);
      return false;
    }
    text[length++] = static_cast<char>(c);
  }
  text[length] = '\0';
  return true;
}

// "infinity": once its fourth letter is there, the rest must follow.
bool DefinitionReader::ScanOptionalTail(const char* tail) {
  int c = Next();
  if (Lower(c) != tail[0]) {
    PutBack(c);
    return true;
  }
  for (const char* t = tail + 1; *t != '\0'; ++t) {
    c = Next();
    if (Lower(c) != *t) {
      PutBack(c);
      return false;
    }
  }
  return true;
}

// Takes the longest run that can begin a number of the form
// [sign] digits [. digits] [e [sign] digits], as the C library does; a run
// that stops before the number is complete ("-", ".", "1e+") does not match.
bool DefinitionReader::ScanNumber(bool allowFraction, char (&text)[64]) {
  SkipSpace();
  size_t length = 0;
  bool overlong = false;
  auto take = [&](int c) {
    if (length < sizeof text - 1) {
      text[length++] = static_cast<char>(c);
    } else {
      overlong = true;
    }
  };
  int c = Next();
  if (c == '+' || c == '-') take(c), c = Next();
  if (allowFraction && (Lower(c) == 'i' || Lower(c) == 'n')) {
    bool infinity = Lower(c) == 'i';
    PutBack(c);
    return ScanLetters(infinity ? "inf" : "nan", text, length) && (!infinity || ScanOptionalTail("inity"));
  }
  int mantissaDigits = 0;
  for (; IsDigit(c); c = Next()) take(c), ++mantissaDigits;
  if (allowFraction && c == '.') {
    take(c), c = Next();
    for (; IsDigit(c); c = Next()) take(c), ++mantissaDigits;
  }
  bool complete = mantissaDigits > 0;
  if (allowFraction && complete && (c == 'e' || c == 'E')) {
    take(c), c = Next();
    if (c == '+' || c == '-') take(c), c = Next();
    int exponentDigits = 0;
    for (; IsDigit(c); c = Next()) take(c), ++exponentDigits;
    complete = exponentDigits > 0;
  }
  PutBack(c);
  text[length] = '\0';
  if (overlong) {
    LogPrintf("%s: a number longer than %zu characters is not read\n", fileName_, sizeof text - 1);
    return false;
  }
  return complete;
}

int DefinitionReader::Read(const char* format, ...) {
  va_list items;
  va_start(items, format);
  int stored = 0;
  for (const char* f = format; *f != '\0'; ++f) {
    if (IsSpace(static_cast<unsigned char>(*f))) {
      SkipSpace();
      continue;
    }
    if (*f != '%') {
      int c = Next();
      if (c != static_cast<unsigned char>(*f)) {
        PutBack(c);
        break;
      }
      continue;
    }
    char text[64];
    char conversion = *++f;
    if (conversion == 's') {
      if (!ReadWord(va_arg(items, char*))) break;
    } else if (conversion == 'f') {
      if (!ScanNumber(true, text)) break;
      *va_arg(items, float*) = std::strtof(text, nullptr);
    } else if (conversion == 'd') {
      if (!ScanNumber(false, text)) break;
      long long value = std::strtoll(text, nullptr, 10);
      *va_arg(items, int*) = static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
    } else {
      break;  // not a conversion this reader knows
    }
    ++stored;
  }
  va_end(items);
  return stored;
}
