// What the text and binary X-file readers share: the tokens the object parser
// sees, the limits that keep a malformed file from running away, and the error
// and paging plumbing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "gfxutil/xfile/read_error.h"

// Bounds on what a file may ask of the reader.
constexpr int kXMaxNesting = 256;           // objects inside objects
constexpr size_t kXMaxNameLength = 512;     // object and type names
constexpr size_t kXMaxStringLength = 4096;  // string values (texture file names)
// A model, all its meshes and references together, far beyond any plug-in:
// each material's faces stay within one draw call of the device (its
// MaxPrimitiveCount), and the vertices, even when every corner's normal splits
// one off, within one 256 MiB vertex buffer.
constexpr uint32_t kXMaxModelFaces = 0xFFFFF;       // triangles, after polygons are split into fans
constexpr uint32_t kXMaxModelVertices = 1u << 21;  // as the Mesh objects list them
static_assert((uint64_t{kXMaxModelVertices} + 3ull * kXMaxModelFaces) * 36 <= 256ull << 20);
constexpr uint32_t kXMaxMeshNormals = 1u << 22;  // enough for a normal of its own at every corner
static_assert(kXMaxMeshNormals >= 3ull * kXMaxModelFaces);
// The inflated body of a compressed file, far more than any plug-in's model.
constexpr uint32_t kXMaxInflatedBytes = 256u << 20;

enum class XTokenKind : uint8_t {
  End,
  Name,
  String,
  Integer,  // a number, or binary integer list
  Float,    // a number with a fraction, or binary float list
  Guid,
  OpenBrace,
  CloseBrace,
  Separator,  // ';' or ','
  Template,
  Other,  // any other punctuation or keyword
};

struct XToken {
  XTokenKind kind = XTokenKind::End;
  std::string_view text;  // Name and String
  uint8_t guid[16] = {};  // Guid
};

// Told which part of the input the reader has finished with, so a mapped file
// or an inflated body can give those pages back while a large mesh is read.
class XInputPager {
 public:
  virtual void ReleaseBefore(size_t offset) = 0;
  // The bytes given back are to be read again, as a reference leads back to
  // them: from now on they read as before.
  virtual void Recall() = 0;
  // A second reader, on a thread of its own, has finished with [from, to).
  // Its pages are given back where they come back unchanged when touched
  // again (a mapped file) and kept otherwise: an inflated body's would come
  // back as zeros.
  virtual void DropBetween(size_t /*from*/, size_t /*to*/) {}

 protected:
  ~XInputPager() = default;
};

// The pager of a second reader that starts at `from` (or of none, given
// none): what the reader has finished with is dropped, so that the main
// reader's pager keeps its own account of what it gave back. A second reader
// is given a pager only over a mapped file, whose pages given back read as
// before, so where its references lead it has nothing to recall.
class XSecondReaderPager final : public XInputPager {
 public:
  XSecondReaderPager(XInputPager* pager, size_t from) : pager_(pager), done_(from) {}
  void ReleaseBefore(size_t offset) override {
    if (!pager_ || offset <= done_) return;
    pager_->DropBetween(done_, offset);
    done_ = offset;
  }
  void Recall() override {}

 private:
  XInputPager* const pager_;
  size_t done_;
};

class XReaderBase {
 public:
  const XReadError& Error() const { return error_; }
  // Records the first failure, with the place of the token being read.
  bool Fail(const char* format, ...) __attribute__((format(printf, 2, 3)));

  size_t Position() const { return static_cast<size_t>(p_ - begin_); }
  // Before reading again what lies behind: a reference, or a name recorded there.
  void RecallReleased() {
    if (pager_) pager_->Recall();
  }
  const uint8_t* Bytes() const { return begin_; }
  XInputPager* Pager() const { return pager_; }
  size_t Size() const { return static_cast<size_t>(end_ - begin_); }
  // Where the last token began, as in error messages, and its line (0 when
  // the reader counts no lines).
  std::string Location() const { return Where(tokenStart_); }
  unsigned LocationLine() const { return LineAt(tokenStart_); }

 protected:
  XReaderBase(const uint8_t* begin, const uint8_t* end, XInputPager* pager);
  virtual ~XReaderBase() = default;
  // "line 12", "offset 345": where the reader stands, for messages.
  virtual std::string Where(const uint8_t* at) const = 0;
  virtual unsigned LineAt(const uint8_t*) const { return 0; }
  // Puts the reader where the failure is, when it is not there already.
  virtual void BeforeFailure() {}

  void NoteProgress() {
    if (Position() >= releaseMark_) ReleaseConsumed();
  }

  const uint8_t* const begin_;
  const uint8_t* const end_;
  const uint8_t* p_;
  const uint8_t* tokenStart_;

 private:
  void ReleaseConsumed();

  XInputPager* pager_;
  size_t releaseMark_;  // offset at which to release again
  XReadError error_;
};
