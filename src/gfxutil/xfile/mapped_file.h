// A file's bytes for the reader. A small file is read whole into memory, so
// that it keeps its bytes should another program rewrite it in place while it
// is read (an exporter saving again while a watching viewer reloads). A larger
// file is mapped read-only, and as the reader (and any second reader) moves
// on, the pages it has finished with are given back, so the file does not
// stay resident; they are read again from the file should a reference lead
// back to them. The mapping is guarded: pages a rewrite cuts away read as
// zeros instead of ending the process, and the reader reports the nonsense it
// then finds. A file inside an archive is inflated whole.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "gfxutil/xfile/token.h"

class XMappedFile final : public XInputPager {
 public:
  // Files up to this size are read whole.
  static constexpr uint64_t kReadWholeLimit = 1u << 20;
  // A file inside an archive is inflated whole, up to the limit of an
  // inflated compressed X file.
  static constexpr uint64_t kMaxArchivedBytes = kXMaxInflatedBytes;

  XMappedFile() = default;
  ~XMappedFile();
  XMappedFile(const XMappedFile&) = delete;
  XMappedFile& operator=(const XMappedFile&) = delete;

  bool Open(const char* path, std::string& error);
  std::span<const uint8_t> Bytes() const { return {data_, size_}; }
  void ReleaseBefore(size_t offset) override;
  // Pages given back are read again from the file when touched.
  void Recall() override {}
  void DropBetween(size_t from, size_t to) override;

 private:
  bool ReadWhole(int fd, size_t size, std::string& error);
  bool Map(int fd, size_t size, std::string& error);

  std::vector<uint8_t> read_;  // the bytes of a file read whole
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
  bool mapped_ = false;
  size_t released_ = 0;
};
