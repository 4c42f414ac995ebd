// Reading the numbers that fill text X files: runs of digits eight at a time,
// and the fast path for floats written as an optional '-', digits, an
// optional fraction and an optional exponent of up to three digits.
#pragma once
#include <bit>
#include <cstdint>
#include <cstring>

// A uint64_t holds the value of this many digits.
constexpr int kMaxExactDigits = 19;

namespace decimal_detail {

constexpr uint64_t kZeros = 0x3030303030303030ull;
constexpr uint64_t kPowersOfTen[9] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
// Powers of ten that doubles hold exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
// The nearest doubles of the negative powers of ten: a multiplication is much
// quicker than the division by the exact power.
constexpr double kNegativePowersOfTen[] = {1e-0,  1e-1,  1e-2,  1e-3,  1e-4,  1e-5,  1e-6,  1e-7,
                                           1e-8,  1e-9,  1e-10, 1e-11, 1e-12, 1e-13, 1e-14, 1e-15,
                                           1e-16, 1e-17, 1e-18, 1e-19, 1e-20, 1e-21, 1e-22};
constexpr uint64_t kExactInDouble = 1ull << 53;
// Powers of ten that floats hold exactly, and the integers they all hold.
constexpr float kFloatPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
constexpr uint64_t kExactInFloat = 1ull << 24;

inline uint64_t LoadWord(const uint8_t* p) {
  uint64_t word;
  std::memcpy(&word, p, 8);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return word;
}

// How many of the word's bytes, from its first, are digits (0 to 8). A byte
// past the first non-digit may disturb the bytes after it, never one before.
inline int LeadingDigits(uint64_t word) {
  uint64_t highNibbles = word & 0xF0F0F0F0F0F0F0F0ull;
  uint64_t highAfterSix = (word + 0x0606060606060606ull) & 0xF0F0F0F0F0F0F0F0ull;
  uint64_t nonDigits = (highNibbles ^ kZeros) | (highAfterSix ^ kZeros);
  return nonDigits ? std::countr_zero(nonDigits) >> 3 : 8;
}

// The value of the word's first `count` bytes, all digits (1 to 8 of them).
inline uint32_t DigitsValue(uint64_t word, int count) {
  uint64_t v = (word - kZeros) << (8 * (8 - count));  // the digits on top, zeros before them
  v = v * 10 + (v >> 8);
  v = ((v & 0x000000FF000000FFull) * (100 + (1000000ull << 32)) +
       ((v >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32))) >> 32;
  return static_cast<uint32_t>(v);
}

// Rounding the correctly rounded double to float gives the correctly rounded
// float unless the double lies exactly halfway between two floats: every such
// midpoint is a double, so a value and its nearest double are never on
// different sides of one. In the normal range of floats a double is such a
// midpoint when, of the 29 fraction bits that floats lack, only the highest is set.
inline bool IsFloatTie(double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  return (bits & 0x1FFFFFFFull) == 0x10000000ull;
}

// Whether a float rounding tie lies within a few units in the last place of
// `d`: a value off by that little may then round the other way.
inline bool IsNearFloatTie(double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  return (bits & 0x1FFFFFFFull) - (0x10000000ull - 4) <= 8;
}

}  // namespace decimal_detail

// Reads the digits from `p` on, appending them to `value`, and returns where
// they end; `count` grows by their number. Once `count` passes
// kMaxExactDigits, `value` no longer changes and is not the number's value.
inline const uint8_t* ReadDigitRun(const uint8_t* p, const uint8_t* end, uint64_t& value, int& count) {
  using namespace decimal_detail;
  while (end - p >= 8) {
    uint64_t word = LoadWord(p);
    int n = LeadingDigits(word);
    if (n == 0) return p;
    if (count + n <= kMaxExactDigits) value = value * kPowersOfTen[n] + DigitsValue(word, n);
    count += n;
    p += n;
    if (n < 8) return p;
  }
  for (; p < end && static_cast<unsigned>(*p - '0') < 10; ++p)
    if (++count <= kMaxExactDigits) value = value * 10 + (*p - '0');
  return p;
}

// Reads the integer at `begin` when it fits a dword and returns where its
// digits end; null when there are none or it is too large. One to seven
// digits, the form of nearly every index and count, take one word load.
inline const uint8_t* ReadPlainDword(const uint8_t* begin, const uint8_t* end, uint32_t& value) {
  using namespace decimal_detail;
  if (end - begin >= 8) {
    uint64_t word = LoadWord(begin);
    int n = LeadingDigits(word);
    if (n > 0 && n < 8) {
      value = DigitsValue(word, n);
      return begin + n;
    }
  }
  uint64_t number = 0;
  int digits = 0;
  const uint8_t* p = ReadDigitRun(begin, end, number, digits);
  if (digits == 0 || digits > kMaxExactDigits || number > UINT32_MAX) return nullptr;
  value = static_cast<uint32_t>(number);
  return p;
}

// Converts the plain decimal at `begin` to the nearest float, exactly as a
// correctly rounding conversion does, and returns where it ends. Null when the
// text is not such a number or the shortcut cannot promise the same result
// (more than 19 digits, a power of ten beyond 10^22, or a value on a float
// rounding tie); the caller then uses the general conversion.
inline const uint8_t* ReadPlainDecimal(const uint8_t* begin, const uint8_t* end, float& value) {
  using namespace decimal_detail;
  const uint8_t* p = begin;
  bool negative = p < end && *p == '-';
  if (negative) ++p;
  uint64_t mantissa = 0;
  int digits = 0;
  if (end - p >= 2 && static_cast<unsigned>(*p - '0') < 10 && p[1] == '.') {
    // One digit before the point, as most values of a model are written.
    mantissa = static_cast<uint64_t>(*p++ - '0');
    digits = 1;
  } else {
    p = ReadDigitRun(p, end, mantissa, digits);
  }
  int scale = 0;  // the value is mantissa * 10^scale
  if (p < end && *p == '.') {
    const uint8_t* fraction = p + 1;
    p = ReadDigitRun(fraction, end, mantissa, digits);
    scale = -static_cast<int>(p - fraction);
  }
  if (digits == 0 || digits > kMaxExactDigits || mantissa > kExactInDouble) return nullptr;
  if (p < end && (*p == 'e' || *p == 'E')) {
    const uint8_t* q = p + 1;
    bool negativeExponent = q < end && *q == '-';
    if (q < end && (*q == '-' || *q == '+')) ++q;
    uint64_t exponent = 0;
    int exponentDigits = 0;
    p = ReadDigitRun(q, end, exponent, exponentDigits);
    if (exponentDigits == 0 || exponentDigits > 3) return nullptr;
    scale += negativeExponent ? -static_cast<int>(exponent) : static_cast<int>(exponent);
  }
  if (p < end && *p == '#') return nullptr;
  // With both operands exact, one multiplication rounds correctly; in floats
  // it needs no tie check.
  if (mantissa <= kExactInFloat && scale >= 0 && scale <= 10) {
    float result = static_cast<float>(mantissa) * kFloatPowersOfTen[scale];
    value = negative ? -result : result;
    return p;
  }
  if (scale < -22 || scale > 22) return nullptr;
  // Within 10^-22 to 2^53 * 10^22 the result is in the normal range of floats.
  double exact = static_cast<double>(mantissa);
  double result;
  if (scale >= 0) {
    result = exact * kExactPowersOfTen[scale];
  } else {
    // Two roundings (the power's and the product's) leave the product within
    // two units in its last place of the exact quotient, so it rounds to the
    // same float unless a tie is that close; then the correctly rounded
    // division decides.
    result = exact * kNegativePowersOfTen[-scale];
    if (IsNearFloatTie(result)) result = exact / kExactPowersOfTen[-scale];
  }
  if (IsFloatTie(result)) return nullptr;
  value = static_cast<float>(negative ? -result : result);
  return p;
}
