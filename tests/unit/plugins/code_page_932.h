// Test texts as the simulator's files hold them: code page 932 bytes.
#pragma once
#include <iconv.h>

#include <string>

inline std::string ToCodePage932(const std::string& utf8) {
  iconv_t converter = iconv_open("CP932", "UTF-8");
  std::string in = utf8, out(utf8.size() * 2 + 1, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  size_t inLeft = in.size(), outLeft = out.size();
  size_t converted = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(converter);
  if (converted == static_cast<size_t>(-1)) return {};
  out.resize(out.size() - outLeft);
  return out;
}
