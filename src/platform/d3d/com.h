// An owning reference to a COM-shaped object: a copy adds a reference, the
// destructor releases it, so no caller pairs AddRef and Release by hand.
#pragma once
#include <cstddef>
#include <utility>

template <class T>
class Com {
 public:
  Com() = default;
  Com(std::nullptr_t) {}
  // Takes over a reference the caller holds, as a Create call hands it out.
  explicit Com(T* object) : object_(object) {}
  Com(const Com& other) : object_(other.object_) {
    if (object_) object_->AddRef();
  }
  Com(Com&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  Com& operator=(Com other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  ~Com() { reset(); }

  void reset() {
    if (T* object = std::exchange(object_, nullptr)) object->Release();
  }
  // For a Create call that writes a new reference: the old one is released first.
  T** put() {
    reset();
    return &object_;
  }
  T* get() const { return object_; }
  T* operator->() const { return object_; }
  // Borrowed by calls that take the plain pointer; the reference stays here.
  operator T*() const { return object_; }

 private:
  T* object_ = nullptr;
};
