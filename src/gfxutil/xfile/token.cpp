#include "gfxutil/xfile/token.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>

namespace {
// Pages are handed back in steps, keeping a little behind the reader.
constexpr size_t kReleaseStep = 1u << 20;
constexpr size_t kReleaseKeep = 64u << 10;
}  // namespace

XReaderBase::XReaderBase(const uint8_t* begin, const uint8_t* end, XInputPager* pager)
    : begin_(begin), end_(end), p_(begin), tokenStart_(begin), pager_(pager),
      releaseMark_(pager ? kReleaseStep : SIZE_MAX) {}

void XReaderBase::ReleaseConsumed() {
  size_t done = Position();
  if (done > kReleaseKeep) pager_->ReleaseBefore(done - kReleaseKeep);
  releaseMark_ = done + kReleaseStep;
}

bool XReaderBase::Fail(const char* format, ...) {
  BeforeFailure();
  if (!error_.what.empty()) return false;
  char what[192];
  va_list args;
  va_start(args, format);
  std::vsnprintf(what, sizeof what, format, args);
  va_end(args);
  error_ = XReadError{Where(tokenStart_), LineAt(tokenStart_), what, ""};
  return false;
}
