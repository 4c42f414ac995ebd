// Tokens and values of a text X file. Every integer, float and string value
// must be followed by separators: any number of ';', then at most one ','.
#pragma once
#include <span>

#include "gfxutil/xfile/token.h"
#include "gfxutil/xfile/values_ahead.h"

// Long lists are read in two halves: the later half by a second reader on
// another thread (see values_ahead.h), whose values this reader takes once it
// stands exactly where that reader began.
class XTextReader : public XReaderBase {
 public:
  XTextReader(const uint8_t* begin, const uint8_t* end, XInputPager* pager = nullptr);

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
  bool ReadDwords(uint32_t* values, size_t count) {
    // Inline for the items of a long list, a few values each, read ahead.
    if (count > dwordsInHand_) return ReadValues(values, count);
    for (size_t i = 0; i < count; ++i) values[i] = dwordsAhead_[taken_ + i];
    taken_ += count;
    dwordsInHand_ -= count;
    valuesRead_ += count;
    return true;
  }

  // Text values are parsed one by one: none are in hand as raw dwords.
  std::span<const uint8_t> IntegersInHand() const { return {}; }
  void TakeIntegers(size_t) {}

  // Whether the rest of the input may hold `values` more values.
  bool MayHold(uint64_t values) { return values <= dwordsInHand_ || MayHoldBeyondHand(values); }
  void Seek(size_t offset) { p_ = begin_ + offset; }

  // Values read so far, by count.
  size_t ValuesRead() const { return valuesRead_; }
  // `itemsRead` items of a dword list were read since ValuesRead() was
  // `valuesBefore`, and `itemsLeft` follow: when they hold enough values, the
  // later half of them is read ahead.
  void ReadAhead(size_t valuesBefore, size_t itemsRead, size_t itemsLeft);
  // A mesh announces lists of about `values` values: when they are long
  // enough to be read in two halves, the second reader's thread starts now,
  // so that it runs when the first comes. A file of small meshes starts none.
  void PrepareReadAhead(uint64_t values);
  // Back to reading the text, just after the last value taken.
  void EndReadAhead();
  // Lists of fewer values are read by this reader alone.
  void SetReadAheadMinimum(size_t values) { readAheadMinimum_ = values; }
  size_t ReadAheadMinimum() const { return readAheadMinimum_; }
  // When a second reader, of lists or of meshes, may help: by default while a
  // core stands idle, and never on a machine of one core.
  enum class SecondReader : uint8_t { Never, OnIdleCore, Always };
  void SetSecondReader(SecondReader when) { secondReader_ = when; }
  // How long to wait for values the other reader has not read yet before
  // reading on alone.
  void SetReadAheadPatience(std::chrono::microseconds patience) { valuesAhead_.SetPatience(patience); }
  // Values taken from a second reader so far.
  size_t ValuesTakenAhead() const { return takenAhead_; }
  // Whether a second reader may help now.
  bool SecondReaderPays() const;

 protected:
  std::string Where(const uint8_t* at) const override;
  unsigned LineAt(const uint8_t* at) const override;
  void BeforeFailure() override { EndReadAhead(); }

 private:
  enum class Ahead : uint8_t { None, Reading, Taking };
  // Below this many values a second thread costs more than it saves.
  static constexpr size_t kLongList = 1u << 16;

  template <class T>
  bool ReadValues(T* values, size_t count);
  bool MayHoldBeyondHand(uint64_t values);
  template <class T>
  bool ReadLongList(T* values, size_t count);
  template <class T>
  bool TakeValues(T* values, size_t count);
  bool ReadRun(float* values, size_t count);
  bool ReadRun(uint32_t* values, size_t count);
  // About `left` values of the list follow, `share` of them to be read by this reader.
  void StartAhead(double left, bool floats, double share);
  // Whether the values read ahead begin where the next value `start`s.
  bool ReachedAhead(const uint8_t* start);

  void SkipSpace();
  void SkipSpaceAndComments();
  // Where the spaces from `from` on end.
  const uint8_t* AfterSpace(const uint8_t* from) const;
  const uint8_t* RunEnd(const uint8_t* from) const;
  bool ReadSeparators();
  bool ReadSeparatorsAndComments();
  // The string whose opening '"' the reader stands on.
  bool ScanString(std::string_view& value);
  bool ReadOutOfRangeFloat(const uint8_t* numberEnd, float& value);
  // One value in any form the files hold, or its fault.
  bool ReadGeneralDword(uint32_t& value);
  bool ReadGeneralFloat(float& value);

  size_t valuesRead_ = 0;
  size_t readAheadMinimum_ = kLongList;
  SecondReader secondReader_;
  Ahead ahead_ = Ahead::None;
  const uint8_t* aheadFrom_;  // where the values read ahead begin; end_ when there are none
  size_t taken_ = 0;  // of the present list
  // Dwords read ahead that can be taken without waiting, and all of them.
  size_t dwordsInHand_ = 0;
  const uint32_t* dwordsAhead_ = nullptr;
  size_t takenAhead_ = 0;
  XValuesAhead valuesAhead_;
};

// A second reader, whose failures only end its run: nobody reads their
// places, so counting lines for them would be wasted.
class XQuietTextReader final : public XTextReader {
 public:
  using XTextReader::XTextReader;

 protected:
  std::string Where(const uint8_t*) const override { return {}; }
  unsigned LineAt(const uint8_t*) const override { return 0; }
};
