#include "plugins/definition_reader.h"

#include <climits>
#include <cstdarg>
#include <cstdlib>

#include "base/debug_log.h"
#include "platform/os/text_encoding.h"

namespace {

// White space as the C locale knows it; Shift-JIS bytes are never white space.
bool IsSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(int c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

}  // namespace

void DefinitionRecord::AddProblem(FindingCode code, unsigned line, const char* format, ...) {
  char message[256];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(message, sizeof message, format, arguments);
  va_end(arguments);
  problems.push_back(LoadNote{code, fileName, line, line ? "line " + std::to_string(line) : "", "", message});
  LogPrintf("%s\n", problems.back().Text().c_str());
}

int DefinitionReader::Next() {
  if (cutShort_) return EOF;
  if (bytesRead_ == kMaxDefinitionBytes) {
    record_.AddProblem(FindingCode::kDefinitionTooLong, line_, "the file goes on beyond %zu bytes; the rest is not read",
                       kMaxDefinitionBytes);
    cutShort_ = true;
    return EOF;
  }
  int c;
  if (!putBack_.empty()) {
    c = static_cast<unsigned char>(putBack_.back());
    putBack_.pop_back();
  } else {
    c = std::fgetc(file_);
  }
  if (c == EOF) return c;
  ++bytesRead_;
  if (c == '\n') ++line_;
  return c;
}

void DefinitionReader::PutBack(int c) {
  if (c == EOF) return;
  putBack_.push_back(static_cast<char>(c));
  --bytesRead_;
  if (c == '\n') --line_;
}

std::string DefinitionReader::WordAhead(int stop) {
  std::string word;
  int c = Next();
  while (c != EOF && !IsSpace(c) && c != stop && word.size() < 63) {
    word += static_cast<char>(c);
    c = Next();
  }
  PutBack(c);
  for (size_t i = word.size(); i-- > 0;) PutBack(static_cast<unsigned char>(word[i]));
  return word;
}

bool DefinitionReader::AtItemLimit() {
  if (cutShort_) return true;
  if (record_.fields.size() < kMaxDefinitionItems) return false;
  SkipSpace();  // to the line of the first item left unread
  record_.AddProblem(FindingCode::kDefinitionTooManyItems, line_,
                     "the file holds more than %zu items; the rest is not read", kMaxDefinitionItems);
  cutShort_ = true;
  return true;
}

void DefinitionReader::NameFields(std::span<const char* const> names, const std::string& prefix) {
  size_t next = 0;
  for (DefinitionField& field : record_.fields) {
    if (!field.name.empty()) continue;
    if (next == names.size()) return;
    field.name = prefix + names[next++];
  }
}

void DefinitionReader::SkipSpace() {
  int c;
  do c = Next();
  while (IsSpace(c));
  PutBack(c);
}

bool DefinitionReader::ReadWord(char* field, unsigned& line) {
  SkipSpace();
  line = line_;
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
  if (cut)
    record_.AddProblem(FindingCode::kDefinitionWordCut, line, "a word longer than %zu bytes was cut to its first %zu",
                       kPluginWordSize - 1, kPluginWordSize - 1);
  return true;
}

// The letters of `word` in any case, appended to text. A letter that does not
// match is consumed, as the C library does.
bool DefinitionReader::ScanLetters(const char* word, char (&text)[64], size_t& length) {
  for (const char* w = word; *w != '\0'; ++w) {
    int c = Next();
    if (LowerAscii(static_cast<char>(c)) != *w) return false;
    text[length++] = static_cast<char>(c);
  }
  text[length] = '\0';
  return true;
}

// Takes characters as the C library's formatted input does, stopping at the
// first one that cannot continue a number: [sign] digits [. digits]
// [e [sign] digits], the hexadecimal form 0x hexdigits [. hexdigits]
// [p [sign] digits], or inf, infinity or nan. Whatever a number can begin
// with counts: "1e+" reads as 1 and "0x." as 0; "-", "." and "0x" do not match.
bool DefinitionReader::ScanNumber(bool allowFraction, char (&text)[64], unsigned& line) {
  SkipSpace();
  line = line_;
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
  const size_t signLength = length;
  if (allowFraction && (LowerAscii(static_cast<char>(c)) == 'i' || LowerAscii(static_cast<char>(c)) == 'n')) {
    PutBack(c);
    if (LowerAscii(static_cast<char>(c)) == 'n') return ScanLetters("nan", text, length);
    if (!ScanLetters("inf", text, length)) return false;
    // "infinity": once its fourth letter is there, the rest must follow.
    c = Next();
    PutBack(c);
    return LowerAscii(static_cast<char>(c)) != 'i' || ScanLetters("inity", text, length);
  }
  bool hex = false, digits = false;
  if (allowFraction && c == '0') {
    take(c), c = Next();
    if (LowerAscii(static_cast<char>(c)) == 'x') {
      take(c), c = Next();
      hex = true;
    } else {
      digits = true;
    }
  }
  const char exponentMark = hex ? 'p' : 'e';
  bool point = false, exponent = false, afterMark = false;
  for (;; c = Next()) {
    bool mark = false;
    if (IsDigit(c) || (hex && !exponent && IsHexDigit(c))) {
      digits = true;
    } else if (allowFraction && digits && !exponent && LowerAscii(static_cast<char>(c)) == exponentMark) {
      exponent = point = mark = true;
    } else if (allowFraction && !point && c == '.') {
      point = true;
    } else if (!(afterMark && (c == '+' || c == '-'))) {
      break;
    }
    take(c);
    afterMark = mark;
  }
  PutBack(c);
  text[length] = '\0';
  if (overlong) {
    record_.AddProblem(FindingCode::kDefinitionNumberTooLong, line, "a number longer than %zu characters is not read",
                       sizeof text - 1);
    return false;
  }
  return hex ? length > signLength + 2 : digits;
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
    if (AtItemLimit()) break;
    char text[64] = {};
    unsigned line = 0;
    char conversion = *++f;
    if (conversion == 's') {
      char* word = va_arg(items, char*);
      if (!ReadWord(word, line)) break;
      record_.fields.push_back({"", line, word});
      ++stored;
      continue;
    }
    if (conversion != 'f' && conversion != 'd') break;  // not a conversion this reader knows
    // The format's next character, at which a number's word may end.
    const int stop = f[1] != '\0' && !IsSpace(static_cast<unsigned char>(f[1])) && f[1] != '%'
                         ? static_cast<unsigned char>(f[1]) : EOF;
    const size_t problemsBefore = record_.problems.size();
    if (!ScanNumber(conversion == 'f', text, line)) {
      // A number too long to read has its own problem.
      std::string word = text + WordAhead(stop);
      if (!word.empty() && record_.problems.size() == problemsBefore)
        record_.fields.push_back({"", line, "", word, false});
      break;
    }
    if (conversion == 'f') {
      *va_arg(items, float*) = std::strtof(text, nullptr);
    } else {
      long long value = std::strtoll(text, nullptr, 10);
      *va_arg(items, int*) = static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
    }
    record_.fields.push_back({"", line, text, WordAhead(stop), true});
    ++stored;
  }
  va_end(items);
  return stored;
}
