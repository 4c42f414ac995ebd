// Tokens and values of a binary X file: little-endian WORD tokens, some with
// data. Values of integer and float lists need no separators and may span
// members; a single integer or string needs one like in text.
#pragma once
#include <span>

#include "gfxutil/byte_order.h"
#include "gfxutil/xfile/token.h"

// Input still arriving, such as a body being inflated: the bytes from its
// start on are there up to a count that only grows.
class XGrowingInput {
 public:
  // Waits until `bytes` bytes are there or no more will come; returns how
  // many are there.
  virtual size_t WaitFor(size_t bytes) = 0;

 protected:
  ~XGrowingInput() = default;
};

class XBinaryReader : public XReaderBase {
 public:
  // `fileOffset` is where `begin` sits in the (decompressed) file, for
  // messages. With `growing`, [begin, end) is the room the input may fill,
  // and the reader waits for the bytes it reads.
  XBinaryReader(const uint8_t* begin, const uint8_t* end, unsigned floatBytes, size_t fileOffset,
                XInputPager* pager = nullptr, XGrowingInput* growing = nullptr)
      : XReaderBase(begin, end, pager),
        floatBytes_(floatBytes),
        fileOffset_(fileOffset),
        growing_(growing),
        there_(growing ? begin : end) {}

  bool Next(XToken& token);
  bool SkipBlock();

  bool ReadDword(uint32_t& value) {
    // Inline for the values of an integer list, such as a face's corners.
    if (listLeft_ == 0 || list_ != List::Integers) return ReadDwordToken(value);
    value = Le32(p_);
    p_ += 4;
    listJustEnded_ = --listLeft_ == 0;
    return true;
  }
  bool ReadFloat(float& value);  // integers are taken too; NaN and infinity read as 0
  bool ReadString(std::string_view& value);
  // `count` values, copied in runs where a list holds them.
  bool ReadFloats(float* values, size_t count);
  bool ReadDwords(uint32_t* values, size_t count);

  // What is left of the integer list being read, as little-endian dwords,
  // for loops that check many items at once; empty between lists.
  std::span<const uint8_t> IntegersInHand() const {
    return list_ == List::Integers ? std::span<const uint8_t>(p_, size_t{listLeft_} * 4) : std::span<const uint8_t>();
  }
  // Passes over `count` dwords of IntegersInHand().
  void TakeIntegers(size_t count) {
    p_ += count * 4;
    listLeft_ -= static_cast<uint32_t>(count);
    listJustEnded_ = listLeft_ == 0;
  }

  bool MayHold(uint64_t values) const { return values <= listLeft_ + static_cast<size_t>(end_ - p_) / 4; }
  void Seek(size_t offset);

  // Binary lists are copied, not parsed: nothing to read ahead.
  size_t ValuesRead() const { return 0; }
  void ReadAhead(size_t, size_t, size_t) {}
  void EndReadAhead() {}
  void PrepareReadAhead(uint64_t) {}

 protected:
  std::string Where(const uint8_t* at) const override;

 private:
  enum class List : uint8_t { None, Integers, Floats };

  // Whether `bytes` more bytes are there to read, waiting for them while
  // the input still grows.
  bool Has(size_t bytes) { return static_cast<size_t>(there_ - p_) >= bytes || Arrived(bytes); }
  bool Arrived(size_t bytes);
  // A dword that is not the next value of an integer list.
  bool ReadDwordToken(uint32_t& value);
  bool ReadWord(uint16_t& word);
  bool ReadBytes(size_t count, const uint8_t*& bytes);
  bool ReadCount(uint32_t& count);
  bool ReadToken(uint16_t& token);  // also refuses a separator right after a list
  bool StartList(uint16_t token);
  bool ReadSeparators();
  float NextListFloat();

  unsigned floatBytes_;
  size_t fileOffset_;
  XGrowingInput* growing_;
  const uint8_t* there_;  // the end of the bytes there to read
  List list_ = List::None;
  uint32_t listLeft_ = 0;
  bool listJustEnded_ = false;
};
