// Tokens and values of a text X file. Every integer, float and string value
// must be followed by separators: any number of ';', then at most one ','.
#pragma once
#include "gfxutil/xfile/token.h"

class XTextReader : public XReaderBase {
 public:
  XTextReader(const uint8_t* begin, const uint8_t* end, XInputPager* pager = nullptr)
      : XReaderBase(begin, end, pager) {}

  // The next token of the object structure.
  bool Next(XToken& token);
  // Skips everything up to and including the '}' that closes the block whose
  // '{' was just read.
  bool SkipBlock();

  bool ReadDword(uint32_t& value) { return ReadDwords(&value, 1); }
  // An integer is taken too; "-1.#IND00" and the like read as 0.
  bool ReadFloat(float& value) { return ReadFloats(&value, 1); }
  bool ReadString(std::string_view& value);
  // `count` values one after the other, each with its separators.
  bool ReadFloats(float* values, size_t count);
  bool ReadDwords(uint32_t* values, size_t count);

  // An upper bound on the values the rest of the input can hold.
  size_t MaxValuesLeft() const { return static_cast<size_t>(end_ - p_) / 2; }
  void Seek(size_t offset) { p_ = begin_ + offset; }

 protected:
  std::string Where(const uint8_t* at) const override;
  unsigned LineAt(const uint8_t* at) const override;

 private:
  void SkipSpace();
  void SkipSpaceAndComments();
  const uint8_t* RunEnd(const uint8_t* from) const;
  bool ReadSeparators();
  bool ReadSeparatorsAndComments();
  // The string whose opening '"' the reader stands on.
  bool ScanString(std::string_view& value);
  bool ReadOutOfRangeFloat(const uint8_t* numberEnd, float& value);
  // One value in any form the files hold, or its fault.
  bool ReadGeneralDword(uint32_t& value);
  bool ReadGeneralFloat(float& value);
};
