// The plain-decimal fast path gives exactly what a correctly rounding
// conversion gives, or leaves the number to it.
#include "gfxutil/xfile/decimal.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace {

const uint8_t* Bytes(const std::string& text) { return reinterpret_cast<const uint8_t*>(text.data()); }

float Reference(const std::string& text) {
  float value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

uint32_t Bits(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  return bits;
}

TEST(PlainDecimal, ReadsOrDeclines) {
  struct Case {
    const char* text;
    bool fast;
    size_t length;  // of the number, when read
  };
  const Case kCases[] = {
      {"1.000000;", true, 8},   {"-0.707107;", true, 9}, {"0;", true, 1},     {"-0.000000,", true, 9},
      {"12345678;", true, 8},   {".5;", true, 2},         {"5.;", true, 2},    {"1247.531250;", true, 11},
      // At the edges of the division in floats: 2^24, ten and eleven decimals.
      {"16777216;", true, 8},   {"-1.6777216;", true, 10}, {"0.0000000001;", true, 12},
      {"0.00000000003;", true, 13},
      // Exponents of up to three digits, within the exact powers of ten.
      {"1e5;", true, 3},        {"-3.700000e-01;", true, 13}, {"1.5E+3;", true, 6}, {"2.5e-12;", true, 7},
      {"1.234567e22;", true, 11}, {"9.87654321e-12;", true, 14},
      {"2e-45;", false, 0},     {"1e0005;", false, 0},    {"1e;", false, 0},   {"1e+;", false, 0},
      {"1.5e30;", false, 0},
      {"-1.#IND00;", false, 0}, {"-;", false, 0},    {".;", false, 0},
      {"abc", false, 0},        {"12345678901234567890;", false, 0},        {"0.1234567890123456789;", false, 0},
  };
  for (const Case& c : kCases) {
    std::string text = c.text;
    float value = -99;
    const uint8_t* end = ReadPlainDecimal(Bytes(text), Bytes(text) + text.size(), value);
    EXPECT_EQ(end != nullptr, c.fast) << text;
    if (!end || !c.fast) continue;
    EXPECT_EQ(static_cast<size_t>(end - Bytes(text)), c.length) << text;
    EXPECT_EQ(Bits(value), Bits(Reference(text.substr(0, c.length)))) << text;
  }
}

// Digit runs are read eight bytes at a time where the input allows and one
// by one near its end; both give every run's value and length.
TEST(DigitRun, ReadsRunsOfEveryLength) {
  struct Case {
    const char* text;
    uint64_t value;
    int count;
  };
  const Case kCases[] = {
      {"", 0, 0},
      {";", 0, 0},
      {"7", 7, 1},
      {"7;", 7, 1},
      {"0,", 0, 1},
      {"1234567", 1234567, 7},
      {"12345678", 12345678, 8},
      {"12345678;", 12345678, 8},
      {"123456789;", 123456789, 9},
      {"4294967296,", 4294967296ull, 10},
      {"1234567890123456789;", 1234567890123456789ull, 19},
      {"00000000000000000000001;", 0, 23},  // past 19 digits the value is no longer kept
      {"0012;3", 12, 4},
      {"9/", 9, 1},
      {"5:", 5, 1},
  };
  for (const Case& c : kCases) {
    // The same run with room for whole words after it, and at the very end of the input.
    for (const std::string& text : {std::string(c.text) + "          ", std::string(c.text)}) {
      uint64_t value = 0;
      int count = 0;
      const uint8_t* end = ReadDigitRun(Bytes(text), Bytes(text) + text.size(), value, count);
      EXPECT_EQ(count, c.count) << c.text;
      EXPECT_EQ(end - Bytes(text), c.count) << c.text;
      if (c.count <= kMaxExactDigits) {
        EXPECT_EQ(value, c.value) << c.text;
      }
    }
  }
}

// Integers of up to seven digits are read from one word, longer ones and
// those near the end of the input digit by digit; both give the same.
TEST(PlainDword, ReadsIntegersThatFitADword) {
  struct Case {
    std::string text;
    bool read;
    uint32_t value;
    size_t length;
  };
  const Case kCases[] = {
      {"0,        ", true, 0, 1},          {"3;        ", true, 3, 1},
      {"1234567;  ", true, 1234567, 7},    {"12345678; ", true, 12345678, 8},
      {"4294967295;", true, 4294967295u, 10}, {"4294967296;", false, 0, 0},
      {"00000000000000000001;", false, 0, 0},  // more digits than a uint64_t holds
      {"42;", true, 42, 2},  {"7", true, 7, 1}, {";        ", false, 0, 0}, {"", false, 0, 0},
  };
  for (const Case& c : kCases) {
    uint32_t value = 0;
    const uint8_t* end = ReadPlainDword(Bytes(c.text), Bytes(c.text) + c.text.size(), value);
    EXPECT_EQ(end != nullptr, c.read) << c.text;
    if (!end || !c.read) continue;
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(static_cast<size_t>(end - Bytes(c.text)), c.length) << c.text;
  }
}

// Ties between two floats are left to the general conversion: 2^24 + 1 lies
// halfway between 2^24 and 2^24 + 2.
TEST(PlainDecimal, DeclinesFloatTies) {
  std::string tie = "16777217;";
  float value;
  EXPECT_EQ(ReadPlainDecimal(Bytes(tie), Bytes(tie) + tie.size(), value), nullptr);
}

// Decimals on and a hair beside the halfway points between floats, where a
// conversion off by the least amount rounds the other way: 2^21 to 2^24,
// where floats are 1/4 to 1 apart, written with 9 decimals.
TEST(PlainDecimal, MatchesTheReferenceBesideFloatTies) {
  int checked = 0;
  for (double step : {0.25, 0.5, 1.0}) {
    double first = 8388608.0 * step;  // where floats are `step` apart
    for (int i = 0; i < 300; ++i) {
      long long cents = std::llround((first + step * (7 * i + 0.5)) * 1e9);  // a halfway point, in units of 1e-9
      for (int offset : {-1, 0, 1}) {
        long long units = cents + offset;
        char text[48];
        std::snprintf(text, sizeof text, "%lld.%09lld", units / 1000000000, units % 1000000000);
        std::string number = text;
        float value;
        if (!ReadPlainDecimal(Bytes(number), Bytes(number) + number.size(), value)) continue;
        ++checked;
        ASSERT_EQ(Bits(value), Bits(Reference(number))) << number;
      }
    }
  }
  EXPECT_GT(checked, 1500) << "only the ties themselves are left to the general conversion";
}

// Many numbers as exporters write them, in every digit count, against the
// reference conversion.
TEST(PlainDecimal, MatchesTheReferenceConversion) {
  std::mt19937_64 random(15);
  const char* kFormats[] = {"%.6f", "%.3f", "%.9f", "%.1f", "%.0f", "%.12f", "%.6e", "%.9e", "%.2e"};
  int fast = 0;
  for (int i = 0; i < 200000; ++i) {
    uint32_t bits = static_cast<uint32_t>(random());
    float source;
    std::memcpy(&source, &bits, 4);
    if (!std::isfinite(source) || std::fabs(source) > 1e9f) source = static_cast<float>(random() % 2000000) / 997.0f;
    char text[64];
    std::snprintf(text, sizeof text, kFormats[i % std::size(kFormats)], static_cast<double>(source));
    std::string number = text;
    float value;
    const uint8_t* end = ReadPlainDecimal(Bytes(number), Bytes(number) + number.size(), value);
    if (!end) continue;
    ++fast;
    ASSERT_EQ(end, Bytes(number) + number.size()) << number;
    ASSERT_EQ(Bits(value), Bits(Reference(number))) << number;
  }
  EXPECT_GT(fast, 150000) << "the fast path takes most numbers";
}

}  // namespace
