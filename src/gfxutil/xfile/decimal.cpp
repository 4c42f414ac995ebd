#include "gfxutil/xfile/decimal.h"

#include <cstring>

namespace {

// Powers of ten that doubles hold exactly.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxDigits = 19;              // a uint64_t holds them all
constexpr uint64_t kExactInDouble = 1ull << 53;  // the quotients below stay in the normal range of floats

// Rounding the correctly rounded double to float gives the correctly rounded
// float unless the double lies exactly halfway between two floats: every such
// midpoint is a double, so a value and its nearest double are never on
// different sides of one. In the normal range of floats a double is such a
// midpoint when, of the 29 fraction bits that floats lack, only the highest is set.
bool IsFloatTie(double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  return (bits & 0x1FFFFFFFull) == 0x10000000ull;
}

}  // namespace

const uint8_t* ReadPlainDecimal(const uint8_t* begin, const uint8_t* end, float& value) {
  const uint8_t* p = begin;
  bool negative = p < end && *p == '-';
  if (negative) ++p;
  uint64_t mantissa = 0;
  int digits = 0, fractionDigits = 0;
  for (; p < end && *p >= '0' && *p <= '9'; ++p, ++digits) mantissa = mantissa * 10 + (*p - '0');
  if (p < end && *p == '.') {
    for (++p; p < end && *p >= '0' && *p <= '9'; ++p, ++digits, ++fractionDigits)
      mantissa = mantissa * 10 + (*p - '0');
  }
  if (digits == 0 || digits > kMaxDigits || mantissa > kExactInDouble) return nullptr;
  if (p < end && (*p == 'e' || *p == 'E' || *p == '#')) return nullptr;
  // Both operands are exact, so the quotient is the correctly rounded double.
  double exact = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
  if (IsFloatTie(exact)) return nullptr;
  value = static_cast<float>(negative ? -exact : exact);
  return p;
}
