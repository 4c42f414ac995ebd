// The main reader's side of reading a long list in two halves.
#include <algorithm>
#include <cstring>
#include <thread>
#include <type_traits>

#include "gfxutil/xfile/text_reader.h"
#include "platform/os/posix_system.h"

namespace {

// Values of a plain list read before it is measured.
constexpr size_t kProbeValues = 256;
// This reader's share of a list of items: less than half, since it also
// checks and stores every item.
constexpr double kItemListShare = 1.0 / 3.0;
// The text ahead is measured by a short window in every step.
constexpr size_t kSampleStep = 16u << 10;
constexpr size_t kSampleWindow = 512;

XTextReader::SecondReader DefaultSecondReader() {
  static const auto when = std::thread::hardware_concurrency() >= 2 ? XTextReader::SecondReader::OnIdleCore
                                                                    : XTextReader::SecondReader::Never;
  return when;
}

// Values per byte from `at` on, by a short window: each value ends where a
// run of separators (';', ',' and the spaces among them) begins.
double ValueDensity(const uint8_t* at, const uint8_t* end) {
  const uint8_t* stop = at + std::min<size_t>(kSampleWindow, static_cast<size_t>(end - at));
  size_t values = 0;
  bool inSeparators = false;
  for (const uint8_t* p = at; p < stop; ++p) {
    bool separator = *p == ';' || *p == ',';
    values += separator && !inSeparators;
    inSeparators = separator || (inSeparators && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n'));
  }
  return stop > at ? static_cast<double>(values) / static_cast<double>(stop - at) : 0.0;
}

}  // namespace

XTextReader::XTextReader(const uint8_t* begin, const uint8_t* end, XInputPager* pager)
    : XReaderBase(begin, end, pager), secondReader_(DefaultSecondReader()), aheadFrom_(end) {}

// Where every core is busy (two cores and another job), a second reader's
// thread only takes turns with the main reader's and with the other jobs, and
// one reader alone finishes sooner. The worker, awake for the next list, is
// itself counted among the tasks ready to run, but it is the one that would
// read.
bool XTextReader::SecondReaderPays() const {
  switch (secondReader_) {
    case SecondReader::Never:
      return false;
    case SecondReader::Always:
      return true;
    case SecondReader::OnIdleCore:
      return IdleCoreNow(valuesAhead_.Spinning() ? 1 : 0);
  }
  return false;
}

bool XTextReader::ReadFloats(float* values, size_t count) { return ReadValues(values, count); }

void XTextReader::PrepareReadAhead(uint64_t values) {
  if (values >= readAheadMinimum_ && SecondReaderPays()) valuesAhead_.Prepare();
}

template <class T>
bool XTextReader::ReadValues(T* values, size_t count) {
  valuesRead_ += count;
  if (ahead_ == Ahead::Taking) [[unlikely]]
    return TakeValues(values, count);
  if (count >= readAheadMinimum_ && count > 2 * kProbeValues && ahead_ == Ahead::None) [[unlikely]]
    return ReadLongList(values, count);
  return ReadRun(values, count);
}

template <class T>
bool XTextReader::ReadLongList(T* values, size_t count) {
  if (!ReadRun(values, kProbeValues)) return false;
  StartAhead(static_cast<double>(count - kProbeValues), std::is_same_v<T, float>, 0.5);
  bool ok = ReadRun(values + kProbeValues, count - kProbeValues);
  EndReadAhead();
  return ok;
}

void XTextReader::ReadAhead(size_t valuesBefore, size_t itemsRead, size_t itemsLeft) {
  size_t done = valuesRead_ - valuesBefore;
  if (itemsRead == 0 || ahead_ != Ahead::None) return;
  double left = static_cast<double>(itemsLeft) * static_cast<double>(done) / static_cast<double>(itemsRead);
  if (static_cast<double>(done) + left >= static_cast<double>(readAheadMinimum_)) StartAhead(left, false, kItemListShare);
}

void XTextReader::StartAhead(double left, bool floats, double share) {
  if (ahead_ != Ahead::None || !SecondReaderPays()) return;
  // Find where `share` of the values left end, going by samples of the text.
  const uint8_t* at = p_;
  double before = 0;
  while (before < left * share && at < end_) {
    size_t step = std::min<size_t>(kSampleStep, static_cast<size_t>(end_ - at));
    before += ValueDensity(at, end_) * static_cast<double>(step);
    at += step;
  }
  if (before < left * share || at == end_) return;
  // Every writer puts an item on a line of its own: a line start, after the
  // indentation, is most likely where a value begins. It must be exactly
  // where this reader will find the value, or the values read ahead are
  // dropped when it gets there.
  const void* newline = std::memchr(at, '\n', static_cast<size_t>(end_ - at));
  if (!newline) return;
  const uint8_t* valueStart = AfterSpace(static_cast<const uint8_t*>(newline) + 1);
  if (valueStart == end_) return;
  size_t from = static_cast<size_t>(valueStart - begin_);
  // The values after the split, and a margin for the estimate.
  double after = std::max(left - before, 0.0);
  size_t cap = static_cast<size_t>(after + after / 32) + kProbeValues;
  if (!valuesAhead_.Start(begin_, end_, from, floats, cap, Pager())) return;
  aheadFrom_ = begin_ + from;
  ahead_ = Ahead::Reading;
}

bool XTextReader::ReachedAhead(const uint8_t* start) {
  if (ahead_ != Ahead::Reading) return false;
  aheadFrom_ = end_;
  if (start != begin_ + valuesAhead_.From()) {
    // This reader read past where the other began: that was no value's start.
    valuesAhead_.Stop();
    ahead_ = Ahead::None;
    return false;
  }
  ahead_ = Ahead::Taking;
  return true;
}

template <class T>
bool XTextReader::TakeValues(T* values, size_t count) {
  static_assert(sizeof(T) == sizeof(uint32_t));
  constexpr bool floats = std::is_same_v<T, float>;
  size_t taking = 0, read = taken_;
  if (floats == valuesAhead_.Floats()) {
    read = valuesAhead_.WaitFor(taken_ + count);
    taking = std::min(count, read - taken_);
  }
  if (taking > 0) std::memcpy(values, valuesAhead_.Values() + taken_, taking * sizeof(T));
  taken_ += taking;
  if (!floats) {
    dwordsAhead_ = valuesAhead_.Values();
    dwordsInHand_ = read - taken_;
  }
  if (taking == count) return true;
  // The values read ahead ran out: on with the text after the last one taken.
  EndReadAhead();
  return ReadRun(values + taking, count - taking);
}

void XTextReader::EndReadAhead() {
  Ahead was = ahead_;
  size_t taken = taken_;
  ahead_ = Ahead::None;
  aheadFrom_ = end_;
  taken_ = 0;
  takenAhead_ += taken;
  dwordsInHand_ = 0;
  dwordsAhead_ = nullptr;
  if (was == Ahead::None) return;
  if (was == Ahead::Reading || taken == 0) {
    valuesAhead_.Stop();
    return;
  }
  // Reading the last values taken again, from the checkpoint before them,
  // leaves this reader just where reading them all would have.
  size_t last = taken - 1;
  p_ = begin_ + valuesAhead_.CheckpointOffset(last);
  size_t again = taken - XValuesAhead::CheckpointIndex(last);
  bool floats = valuesAhead_.Floats();
  valuesAhead_.Stop();
  if (floats) {
    float values[XValuesAhead::kCheckpointEvery];
    ReadRun(values, again);
  } else {
    uint32_t values[XValuesAhead::kCheckpointEvery];
    ReadRun(values, again);
  }
}

bool XTextReader::MayHoldBeyondHand(uint64_t values) {
  // Each value takes two bytes at least: itself and a separator.
  if (ahead_ == Ahead::Taking) {
    if (values <= valuesAhead_.WaitFor(taken_ + values) - taken_) return true;
    EndReadAhead();
  }
  return values <= static_cast<size_t>(end_ - p_) / 2;
}

template bool XTextReader::TakeValues(float*, size_t);
template bool XTextReader::TakeValues(uint32_t*, size_t);
template bool XTextReader::ReadValues(uint32_t*, size_t);
