#include "gfxutil/xfile/binary_reader.h"

#include <cmath>
#include <cstring>

#include "gfxutil/byte_order.h"

namespace {

enum : uint16_t {
  kName = 1,
  kString = 2,
  kInteger = 3,
  kGuid = 5,
  kIntegerList = 6,
  kFloatList = 7,
  kOpenBrace = 10,
  kCloseBrace = 11,
  kFirstPunctuation = 12,  // ( ) [ ] < > .
  kComma = 19,
  kSemicolon = 20,
  kTemplate = 31,
  kFirstKeyword = 40,  // WORD ... ARRAY
  kLastKeyword = 52,
};

bool IsSeparator(uint16_t token) { return token == kComma || token == kSemicolon; }

float Finite(double value) { return std::isfinite(value) ? static_cast<float>(value) : 0.0f; }

}  // namespace

std::string XBinaryReader::Where(const uint8_t* at) const {
  return "offset " + std::to_string(fileOffset_ + static_cast<size_t>(at - begin_));
}

void XBinaryReader::Seek(size_t offset) {
  p_ = begin_ + offset;
  list_ = List::None;
  listLeft_ = 0;
  listJustEnded_ = false;
}

bool XBinaryReader::Arrived(size_t bytes) {
  if (!growing_) return false;
  there_ = begin_ + growing_->WaitFor(Position() + bytes);
  return static_cast<size_t>(there_ - p_) >= bytes;
}

bool XBinaryReader::ReadWord(uint16_t& word) {
  if (!Has(2)) return Fail("truncated token");
  word = Le16(p_);
  p_ += 2;
  return true;
}

bool XBinaryReader::ReadBytes(size_t count, const uint8_t*& bytes) {
  if (!Has(count)) return Fail("token data runs past the end of the file");
  bytes = p_;
  p_ += count;
  return true;
}

bool XBinaryReader::ReadCount(uint32_t& count) {
  const uint8_t* bytes = nullptr;
  if (!ReadBytes(4, bytes)) return false;
  count = Le32(bytes);
  return true;
}

bool XBinaryReader::ReadToken(uint16_t& token) {
  NoteProgress();
  tokenStart_ = p_;
  if (!ReadWord(token)) return false;
  if (listJustEnded_) {
    listJustEnded_ = false;
    if (IsSeparator(token)) return Fail("a separator follows a list");
  }
  return true;
}

bool XBinaryReader::StartList(uint16_t token) {
  uint32_t count;
  if (!ReadCount(count)) return false;
  size_t elementBytes = token == kIntegerList ? 4 : floatBytes_;
  if (!Has(size_t{count} * elementBytes)) return Fail("list of %u values runs past the end of the file", count);
  list_ = token == kIntegerList ? List::Integers : List::Floats;
  listLeft_ = count;
  listJustEnded_ = count == 0;
  return true;
}

float XBinaryReader::NextListFloat() {
  double value;
  if (floatBytes_ == 8) {
    std::memcpy(&value, p_, 8);
  } else {
    float narrow;
    std::memcpy(&narrow, p_, 4);
    value = narrow;
  }
  p_ += floatBytes_;
  return Finite(value);
}

bool XBinaryReader::ReadSeparators() {
  auto nextIs = [this](uint16_t token) { return Has(2) && Le16(p_) == token; };
  bool any = false;
  while (nextIs(kSemicolon)) {
    p_ += 2;
    any = true;
  }
  if (nextIs(kComma)) {
    p_ += 2;
    any = true;
  }
  if (!any) {
    tokenStart_ = p_;
    return Fail("a value is not followed by ';' or ','");
  }
  return true;
}

bool XBinaryReader::ReadDwordToken(uint32_t& value) {
  for (;;) {
    if (listLeft_ > 0) {
      if (list_ != List::Integers) return Fail("expected an integer, found a float list");
      return ReadDword(value);
    }
    uint16_t token = 0;
    if (!ReadToken(token)) return false;
    if (token == kIntegerList) {
      if (!StartList(token)) return false;
    } else if (token == kInteger) {
      return ReadCount(value) && ReadSeparators();
    } else {
      return Fail("expected an integer");
    }
  }
}

bool XBinaryReader::ReadFloat(float& value) {
  for (;;) {
    if (listLeft_ > 0) {
      if (list_ == List::Floats) {
        value = NextListFloat();
      } else {
        value = static_cast<float>(Le32(p_));
        p_ += 4;
      }
      listJustEnded_ = --listLeft_ == 0;
      return true;
    }
    uint16_t token = 0;
    if (!ReadToken(token)) return false;
    if (token == kFloatList || token == kIntegerList) {
      if (!StartList(token)) return false;
    } else if (token == kInteger) {
      uint32_t integer;
      if (!ReadCount(integer)) return false;
      value = static_cast<float>(integer);
      return ReadSeparators();
    } else {
      return Fail("expected a number");
    }
  }
}

bool XBinaryReader::ReadFloats(float* values, size_t count) {
  while (count > 0) {
    if (listLeft_ == 0 || list_ != List::Floats) {
      if (!ReadFloat(*values)) return false;
      ++values;
      --count;
      continue;
    }
    // A run of floats taken straight from the list.
    size_t run = count < listLeft_ ? count : listLeft_;
    if (floatBytes_ == 4) {
      std::memcpy(values, p_, run * 4);
      for (size_t i = 0; i < run; ++i)
        if (!std::isfinite(values[i])) values[i] = 0.0f;
    } else {
      for (size_t i = 0; i < run; ++i) {
        double value;
        std::memcpy(&value, p_ + i * 8, 8);
        values[i] = Finite(value);
      }
    }
    p_ += run * floatBytes_;
    values += run;
    count -= run;
    listLeft_ -= static_cast<uint32_t>(run);
    listJustEnded_ = listLeft_ == 0;
  }
  return true;
}

bool XBinaryReader::ReadDwords(uint32_t* values, size_t count) {
  while (count > 0) {
    if (listLeft_ == 0 || list_ != List::Integers) {
      if (!ReadDwordToken(*values)) return false;
      ++values;
      --count;
      continue;
    }
    size_t run = count < listLeft_ ? count : listLeft_;
    for (size_t i = 0; i < run; ++i) values[i] = Le32(p_ + i * 4);
    p_ += run * 4;
    values += run;
    count -= run;
    listLeft_ -= static_cast<uint32_t>(run);
    listJustEnded_ = listLeft_ == 0;
  }
  return true;
}

bool XBinaryReader::ReadString(std::string_view& value) {
  if (listLeft_ > 0) return Fail("expected a string, found a list");
  uint16_t token = 0;
  uint32_t length;
  const uint8_t* bytes = nullptr;
  if (!ReadToken(token)) return false;
  if (token != kString) return Fail("expected a string");
  if (!ReadCount(length)) return false;
  if (length > kXMaxStringLength) return Fail("string longer than %zu bytes", kXMaxStringLength);
  if (!ReadBytes(length, bytes)) return false;
  value = std::string_view(reinterpret_cast<const char*>(bytes), length);
  return ReadSeparators();
}

bool XBinaryReader::Next(XToken& token) {
  if (listLeft_ > 0) {
    tokenStart_ = p_;
    return Fail("more values than the object's members take");
  }
  token.text = {};
  if (!Has(1)) {
    tokenStart_ = p_;
    token.kind = XTokenKind::End;
    return true;
  }
  uint16_t word = 0;
  if (!ReadToken(word)) return false;
  uint32_t length;
  const uint8_t* bytes = nullptr;
  switch (word) {
    case kName:
    case kString:
      if (!ReadCount(length)) return false;
      if (length > (word == kName ? kXMaxNameLength : kXMaxStringLength))
        return Fail("name or string longer than its limit (%u bytes)", length);
      if (!ReadBytes(length, bytes)) return false;
      token.kind = word == kName ? XTokenKind::Name : XTokenKind::String;
      token.text = std::string_view(reinterpret_cast<const char*>(bytes), length);
      return true;
    case kInteger:
      token.kind = XTokenKind::Integer;
      return ReadBytes(4, bytes);
    case kGuid:
      if (!ReadBytes(16, bytes)) return false;
      token.kind = XTokenKind::Guid;
      std::memcpy(token.guid, bytes, 16);
      return true;
    case kIntegerList:
    case kFloatList:
      // Outside a member list the values are only passed over.
      if (!StartList(word)) return false;
      p_ += static_cast<size_t>(listLeft_) * (word == kIntegerList ? 4 : floatBytes_);
      listLeft_ = 0;
      listJustEnded_ = true;
      token.kind = word == kIntegerList ? XTokenKind::Integer : XTokenKind::Float;
      return true;
    case kOpenBrace:
      token.kind = XTokenKind::OpenBrace;
      return true;
    case kCloseBrace:
      token.kind = XTokenKind::CloseBrace;
      return true;
    case kComma:
    case kSemicolon:
      token.kind = XTokenKind::Separator;
      return true;
    case kTemplate:
      token.kind = XTokenKind::Template;
      return true;
    default:
      if ((word >= kFirstPunctuation && word < kComma) || (word >= kFirstKeyword && word <= kLastKeyword)) {
        token.kind = XTokenKind::Other;
        return true;
      }
      return Fail("unknown token %u", word);
  }
}

bool XBinaryReader::SkipBlock() {
  int depth = 1;
  XToken token;
  while (depth > 0) {
    if (!Next(token)) return false;
    // A skipped object follows no member rules: its separators may follow lists.
    listJustEnded_ = false;
    switch (token.kind) {
      case XTokenKind::OpenBrace:
        if (++depth > kXMaxNesting) return Fail("objects nested more than %d deep", kXMaxNesting);
        break;
      case XTokenKind::CloseBrace:
        --depth;
        break;
      case XTokenKind::End:
        return Fail("missing '}'");
      default:
        break;
    }
  }
  return true;
}
