#include "gfxutil/xfile/text_reader.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "gfxutil/xfile/decimal.h"
#include "platform/os/text_encoding.h"

namespace {

enum : uint8_t { kSpace = 1, kDelimiter = 2, kDigit = 4 };

constexpr auto kClasses = [] {
  struct Table {
    uint8_t of[256] = {};
  } table;
  for (char c : {' ', '\t', '\r', '\n', '\0'}) table.of[static_cast<uint8_t>(c)] = kSpace | kDelimiter;
  for (char c : {'{', '}', '[', ']', '(', ')', '<', '>', ',', ';'}) table.of[static_cast<uint8_t>(c)] = kDelimiter;
  for (char c = '0'; c <= '9'; ++c) table.of[static_cast<uint8_t>(c)] = kDigit;
  return table;
}();

inline bool IsSpace(uint8_t c) { return kClasses.of[c] & kSpace; }
inline bool IsDelimiter(uint8_t c) { return kClasses.of[c] & kDelimiter; }
inline bool IsDigit(uint8_t c) { return kClasses.of[c] & kDigit; }

bool IsAllDigits(std::string_view run) {
  return std::all_of(run.begin(), run.end(), [](char c) { return IsDigit(static_cast<uint8_t>(c)); });
}

// Optional '-', digits with at most one '.', optional exponent.
bool IsFloatRun(std::string_view run) {
  size_t i = run.starts_with('-') ? 1 : 0;
  bool digits = false, dot = false;
  for (; i < run.size(); ++i) {
    char c = run[i];
    if (IsDigit(static_cast<uint8_t>(c))) {
      digits = true;
    } else if (c == '.' && !dot) {
      dot = true;
    } else {
      break;
    }
  }
  if (!digits) return false;
  if (i < run.size() && (run[i] == 'e' || run[i] == 'E')) {
    ++i;
    if (i < run.size() && (run[i] == '-' || run[i] == '+')) ++i;
    if (i == run.size()) return false;
    while (i < run.size() && IsDigit(static_cast<uint8_t>(run[i]))) ++i;
  }
  return i == run.size();
}

int HexValue(uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  c |= 0x20;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "<xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx>" into the bytes of a GUID as stored
// in memory (Data1..3 little-endian).
bool ParseGuid(const uint8_t* text, uint8_t (&guid)[16]) {
  static constexpr int kDashes[] = {9, 14, 19, 24};
  static constexpr int kByteOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  if (text[0] != '<' || text[37] != '>') return false;
  for (int dash : kDashes)
    if (text[dash] != '-') return false;
  int byte = 0;
  for (int i = 1; i < 37 && byte < 16;) {
    if (text[i] == '-') {
      ++i;
      continue;
    }
    int high = HexValue(text[i]), low = HexValue(text[i + 1]);
    if (high < 0 || low < 0) return false;
    guid[kByteOrder[byte++]] = static_cast<uint8_t>(high << 4 | low);
    i += 2;
  }
  return byte == 16;
}

// After a value: any ';'s and spaces, then at most one ','. Null when there
// is none, or where a comment may begin: the general path reads those.
inline const uint8_t* SkipPlainSeparators(const uint8_t* q, const uint8_t* end) {
  if (q < end && *q == ',') return q + 1;
  bool any = false;
  for (; q < end; ++q) {
    if (*q == ';') {
      any = true;
    } else if (!IsSpace(*q)) {
      break;
    }
  }
  if (q < end) {
    if (*q == ',') return q + 1;
    if (*q == '#' || *q == '/') return nullptr;
  }
  return any ? q : nullptr;
}

inline const uint8_t* SkipPlainSpace(const uint8_t* q, const uint8_t* end) {
  while (q < end && IsSpace(*q)) ++q;
  return q;
}

// The first byte from `from` on that matters to a skipped block: '{', '}',
// or what may open a string or a comment; `end` when there is none.
const uint8_t* NextBlockByte(const uint8_t* from, const uint8_t* end) {
#if defined(__SSE2__)
  const __m128i open = _mm_set1_epi8('{'), close = _mm_set1_epi8('}'), quote = _mm_set1_epi8('"'),
                hash = _mm_set1_epi8('#'), slash = _mm_set1_epi8('/');
  for (; end - from >= 16; from += 16) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    __m128i braces = _mm_or_si128(_mm_cmpeq_epi8(bytes, open), _mm_cmpeq_epi8(bytes, close));
    __m128i others = _mm_or_si128(_mm_cmpeq_epi8(bytes, quote),
                                  _mm_or_si128(_mm_cmpeq_epi8(bytes, hash), _mm_cmpeq_epi8(bytes, slash)));
    if (int found = _mm_movemask_epi8(_mm_or_si128(braces, others))) return from + __builtin_ctz(found);
  }
#endif
  while (from < end && *from != '{' && *from != '}' && *from != '"' && *from != '#' && *from != '/') ++from;
  return from;
}

}  // namespace

std::string XTextReader::Where(const uint8_t* at) const { return "line " + std::to_string(LineAt(at)); }

unsigned XTextReader::LineAt(const uint8_t* at) const { return static_cast<unsigned>(std::count(begin_, at, '\n') + 1); }

// Inlined: it runs before every value.
inline __attribute__((always_inline)) void XTextReader::SkipSpace() {
  while (p_ < end_ && IsSpace(*p_)) ++p_;
  if (p_ < end_ && (*p_ == '#' || *p_ == '/')) SkipSpaceAndComments();
}

const uint8_t* XTextReader::AfterSpace(const uint8_t* from) const { return SkipPlainSpace(from, end_); }

void XTextReader::SkipSpaceAndComments() {
  for (;;) {
    while (p_ < end_ && IsSpace(*p_)) ++p_;
    if (p_ == end_) return;
    bool comment = *p_ == '#' || (*p_ == '/' && end_ - p_ > 1 && p_[1] == '/');
    if (!comment) return;
    const void* lineEnd = std::memchr(p_, '\n', static_cast<size_t>(end_ - p_));
    p_ = lineEnd ? static_cast<const uint8_t*>(lineEnd) : end_;
  }
}

const uint8_t* XTextReader::RunEnd(const uint8_t* from) const {
  while (from < end_ && !IsDelimiter(*from)) ++from;
  return from;
}

bool XTextReader::ReadSeparators() {
  NoteProgress();
  if (const uint8_t* next = SkipPlainSeparators(p_, end_)) {
    p_ = next;
    return true;
  }
  return ReadSeparatorsAndComments();
}

bool XTextReader::ReadSeparatorsAndComments() {
  SkipSpaceAndComments();
  bool any = false;
  while (p_ < end_ && *p_ == ';') {
    ++p_;
    any = true;
    SkipSpace();
  }
  if (p_ < end_ && *p_ == ',') {
    ++p_;
    any = true;
  }
  if (!any) {
    tokenStart_ = p_;
    return Fail("a value is not followed by ';' or ','");
  }
  return true;
}

// Values of the plain shapes that fill files are read inline: spaces, the
// number, separators. Anything else (comments, exponents, faults) is left to
// the general path, which starts again at the same place.
bool XTextReader::ReadRun(uint32_t* values, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    NoteProgress();
    const uint8_t* start = SkipPlainSpace(p_, end_);
    if (start >= aheadFrom_ && ReachedAhead(start)) [[unlikely]]
      return TakeValues(values + i, count - i);
    uint32_t number;
    const uint8_t* numberEnd = ReadPlainDword(start, end_, number);
    const uint8_t* next = nullptr;
    if (numberEnd && numberEnd < end_ && IsDelimiter(*numberEnd)) next = SkipPlainSeparators(numberEnd, end_);
    if (next) {
      values[i] = number;
      tokenStart_ = start;
      p_ = next;
    } else if (!ReadGeneralDword(values[i])) {
      return false;
    }
  }
  return true;
}

bool XTextReader::ReadRun(float* values, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    NoteProgress();
    const uint8_t* start = SkipPlainSpace(p_, end_);
    if (start >= aheadFrom_ && ReachedAhead(start)) [[unlikely]]
      return TakeValues(values + i, count - i);
    const uint8_t* numberEnd = ReadPlainDecimal(start, end_, values[i]);
    const uint8_t* next = nullptr;
    if (numberEnd && numberEnd < end_ && IsDelimiter(*numberEnd)) next = SkipPlainSeparators(numberEnd, end_);
    if (next) {
      tokenStart_ = start;
      p_ = next;
    } else if (!ReadGeneralFloat(values[i])) {
      return false;
    }
  }
  return true;
}

bool XTextReader::ReadGeneralDword(uint32_t& value) {
  SkipSpace();
  tokenStart_ = p_;
  uint64_t number = 0;
  int digits = 0;
  const uint8_t* q = ReadDigitRun(p_, end_, number, digits);
  if (digits > kMaxExactDigits || number > UINT32_MAX) return Fail("integer out of range");
  if (digits == 0 || (q < end_ && !IsDelimiter(*q))) {
    p_ = q;
    return Fail("expected an integer");
  }
  p_ = q;
  value = static_cast<uint32_t>(number);
  return ReadSeparators();
}

bool XTextReader::ReadGeneralFloat(float& value) {
  SkipSpace();
  tokenStart_ = p_;
  const uint8_t* digits = p_ < end_ && (*p_ == '-') ? p_ + 1 : p_;
  if (digits == end_ || !(IsDigit(*digits) || *digits == '.')) return Fail("expected a number");
  auto [fullEnd, status] = std::from_chars(reinterpret_cast<const char*>(p_),
                                           reinterpret_cast<const char*>(end_), value);
  if (status == std::errc::invalid_argument) return Fail("expected a number");
  p_ = reinterpret_cast<const uint8_t*>(fullEnd);
  if (status == std::errc::result_out_of_range && !ReadOutOfRangeFloat(p_, value)) return false;
  if (p_ < end_ && *p_ == '#') {
    // "-1.#IND00", "1.#INF00": an old C runtime's NaN and infinity.
    p_ = RunEnd(p_);
    value = 0;
  }
  if (p_ < end_ && !IsDelimiter(*p_)) return Fail("malformed number");
  return ReadSeparators();
}

// Too small for a float reads as 0 (or the nearest denormal); too large fails.
bool XTextReader::ReadOutOfRangeFloat(const uint8_t* numberEnd, float& value) {
  char text[64];
  size_t length = static_cast<size_t>(numberEnd - tokenStart_);
  if (length >= sizeof text) return Fail("number too long");
  std::memcpy(text, tokenStart_, length);
  text[length] = '\0';
  double wide = std::strtod(text, nullptr);
  if (!(std::fabs(wide) <= FLT_MAX)) return Fail("number out of range");
  value = static_cast<float>(wide);
  return true;
}

bool XTextReader::ScanString(std::string_view& value) {
  const void* close = std::memchr(p_ + 1, '"', static_cast<size_t>(end_ - p_ - 1));
  if (!close) return Fail("unterminated string");
  const uint8_t* last = static_cast<const uint8_t*>(close);
  size_t length = static_cast<size_t>(last - p_ - 1);
  if (length > kXMaxStringLength) return Fail("string longer than %zu bytes", kXMaxStringLength);
  value = std::string_view(reinterpret_cast<const char*>(p_ + 1), length);
  p_ = last + 1;
  return true;
}

bool XTextReader::ReadString(std::string_view& value) {
  SkipSpace();
  tokenStart_ = p_;
  if (p_ == end_ || *p_ != '"') return Fail("expected a string");
  return ScanString(value) && ReadSeparators();
}

bool XTextReader::Next(XToken& token) {
  NoteProgress();
  SkipSpace();
  tokenStart_ = p_;
  token.text = {};
  if (p_ == end_) {
    token.kind = XTokenKind::End;
    return true;
  }
  const uint8_t c = *p_;
  switch (c) {
    case '{':
      token.kind = XTokenKind::OpenBrace;
      ++p_;
      return true;
    case '}':
      token.kind = XTokenKind::CloseBrace;
      ++p_;
      return true;
    case ';':
    case ',':
      token.kind = XTokenKind::Separator;
      token.text = std::string_view(reinterpret_cast<const char*>(p_++), 1);
      return true;
    case '[':
    case ']':
    case '(':
    case ')':
    case '>':
      token.kind = XTokenKind::Other;
      token.text = std::string_view(reinterpret_cast<const char*>(p_++), 1);
      return true;
    case '<':
      if (end_ - p_ < 38 || !ParseGuid(p_, token.guid)) return Fail("malformed GUID");
      token.kind = XTokenKind::Guid;
      p_ += 38;
      return true;
    case '"':
      token.kind = XTokenKind::String;
      return ScanString(token.text);
    case '/':
      return Fail("unexpected '/'");
    default:
      break;
  }
  const uint8_t* runEnd = RunEnd(p_);
  std::string_view run(reinterpret_cast<const char*>(p_), static_cast<size_t>(runEnd - p_));
  if (run.size() > kXMaxNameLength) return Fail("name longer than %zu bytes", kXMaxNameLength);
  p_ = runEnd;
  token.text = run;
  if (IsAllDigits(run)) {
    token.kind = XTokenKind::Integer;
  } else if (IsFloatRun(run)) {
    token.kind = XTokenKind::Float;
  } else if (EqualsIgnoringAsciiCase(run, "template")) {
    token.kind = XTokenKind::Template;
  } else {
    token.kind = XTokenKind::Name;
  }
  return true;
}

bool XTextReader::SkipBlock() {
  int depth = 1;
  bool tokenStart = true;  // just after the '{'
  for (;;) {
    const uint8_t* at = NextBlockByte(p_, end_);
    if (at == end_) {
      p_ = tokenStart_ = end_;
      return Fail("missing '}'");
    }
    // A '"', '#' or '/' opens a string or a comment only where a token
    // begins: "-1.#IND00" is one run.
    bool atTokenStart = at == p_ ? tokenStart : IsDelimiter(at[-1]);
    tokenStart_ = at;
    p_ = at + 1;
    tokenStart = true;
    switch (*at) {
      case '{':
        if (++depth > kXMaxNesting) return Fail("objects nested more than %d deep", kXMaxNesting);
        break;
      case '}':
        if (--depth == 0) return true;
        break;
      case '"': {
        if (!atTokenStart) {
          tokenStart = false;
          break;
        }
        const void* close = std::memchr(p_, '"', static_cast<size_t>(end_ - p_));
        if (!close) return Fail("unterminated string");
        p_ = static_cast<const uint8_t*>(close) + 1;
        break;
      }
      default: {  // '#' or '/'
        bool comment = atTokenStart && (*at == '#' || (p_ < end_ && *p_ == '/'));
        if (!comment) {
          tokenStart = false;
          break;
        }
        const void* lineEnd = std::memchr(p_, '\n', static_cast<size_t>(end_ - p_));
        p_ = lineEnd ? static_cast<const uint8_t*>(lineEnd) : end_;
        break;
      }
    }
  }
}
