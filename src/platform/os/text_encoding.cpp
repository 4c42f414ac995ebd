#include "platform/os/text_encoding.h"

#include <algorithm>

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// Length of the UTF-8 sequence starting at bytes[0], or 0 when it is not well formed.
size_t Utf8SequenceLength(std::string_view bytes) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
  const uint8_t lead = byte(0);
  if (lead < 0x80) return 1;
  size_t length;
  uint8_t secondMin = 0x80, secondMax = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) secondMin = 0xA0;  // overlong
    if (lead == 0xED) secondMax = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) secondMin = 0x90;  // overlong
    if (lead == 0xF4) secondMax = 0x8F;  // above U+10FFFF
  } else {
    return 0;
  }
  if (bytes.size() < length) return 0;
  if (byte(1) < secondMin || byte(1) > secondMax) return 0;
  for (size_t i = 2; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  while (!bytes.empty()) {
    size_t length = Utf8SequenceLength(bytes);
    if (length == 0) return false;
    bytes.remove_prefix(length);
  }
  return true;
}

bool EncodesInCp932(std::string_view utf8) {
  if (!IsValidUtf8(utf8)) return false;
  if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<uint8_t>(c) < 0x80; })) return true;
  iconv_t converter = iconv_open("CP932", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  bool encodes = true;
  while (inLeft > 0 && encodes) {
    char buffer[256];
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    encodes = iconv(converter, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) || errno == E2BIG;
  }
  iconv_close(converter);
  return encodes;
}

std::string Cp932ToUtf8(std::string_view bytes) {
  std::string out;
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    // No converter: keep ASCII, mark everything else as undecodable.
    for (char c : bytes) {
      if (static_cast<uint8_t>(c) < 0x80) {
        out += c;
      } else {
        out += kReplacementCharacter;
      }
    }
    return out;
  }
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (result == static_cast<size_t>(-1) && errno != E2BIG) {
      // An invalid or incomplete sequence: replace its first byte and go on.
      out += kReplacementCharacter;
      ++in;
      --inLeft;
      iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(converter);
  return out;
}

std::string DisplayText(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return Cp932ToUtf8(bytes);
}

std::string OnOneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      out += escape;
    }
  }
  return out;
}

bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && EqualsIgnoringAsciiCase(text.substr(text.size() - tail.size()), tail);
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}
