// Reference counting in the shape of COM's IUnknown: objects start with one
// reference and delete themselves when Release drops the last one.
#pragma once
#include <cstdint>

class IUnknown {
 public:
  uint32_t AddRef() { return ++refCount_; }
  uint32_t Release() {
    uint32_t left = --refCount_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  IUnknown() = default;
  virtual ~IUnknown() = default;
  IUnknown(const IUnknown&) = delete;
  IUnknown& operator=(const IUnknown&) = delete;

 private:
  uint32_t refCount_ = 1;
};
