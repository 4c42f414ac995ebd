// A file mapped read-only into memory. As the reader moves on, the pages it
// has finished with are given back, so a large file does not stay resident;
// they are read again from the file should a reference lead back to them.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "gfxutil/xfile/token.h"

class XMappedFile final : public XInputPager {
 public:
  XMappedFile() = default;
  ~XMappedFile();
  XMappedFile(const XMappedFile&) = delete;
  XMappedFile& operator=(const XMappedFile&) = delete;

  bool Open(const char* path, std::string& error);
  std::span<const uint8_t> Bytes() const { return {data_, size_}; }
  void ReleaseBefore(size_t offset) override;

 private:
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t released_ = 0;
};
