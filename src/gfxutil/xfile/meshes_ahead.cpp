#include "gfxutil/xfile/meshes_ahead.h"

#include <system_error>

XMeshesAhead::~XMeshesAhead() {
  if (!worker_.joinable()) return;
  stop_.store(true, std::memory_order_relaxed);
  worker_.join();
}

bool XMeshesAhead::Start(std::function<void(XMeshesAhead&)> walk) {
  try {
    worker_ = std::thread([this, walk = std::move(walk)] {
      walk(*this);
      walkEnded_.store(true, std::memory_order_release);
    });
  } catch (const std::system_error&) {
    return false;  // no thread to be had: the main reader reads every mesh
  }
  return true;
}

bool XMeshesAhead::Claim(size_t body) {
  while (handed_.load(std::memory_order_relaxed) - taken_.load(std::memory_order_relaxed) >= kMostWaiting && !Stopped())
    std::this_thread::sleep_for(kRoomWait);
  return ClaimUpTo(body);
}

bool XMeshesAhead::ClaimUpTo(size_t body) {
  size_t claimed = claimed_.load(std::memory_order_acquire);
  while (claimed <= body)
    if (claimed_.compare_exchange_weak(claimed, body + 1, std::memory_order_acq_rel)) return true;
  return false;
}

bool XMeshesAhead::Take(size_t body, XMeshAhead& mesh) {
  if (ClaimUpTo(body)) return false;
  size_t taken = taken_.load(std::memory_order_relaxed);
  while (handed_.load(std::memory_order_acquire) == taken) {
    // The walk ends after its last mesh is handed.
    if (walkEnded_.load(std::memory_order_acquire) && handed_.load(std::memory_order_acquire) == taken) return false;
    std::this_thread::yield();
  }
  std::lock_guard lock(mutex_);
  // Both walk the same objects, so the second reader's next mesh is this
  // one; anything else means this reader reads it.
  if (meshes_.front().body != body) return false;
  mesh = std::move(meshes_.front());
  meshes_.pop_front();
  taken_.fetch_add(1, std::memory_order_relaxed);
  return mesh.read;
}

void XMeshesAhead::Hand(XMeshAhead&& mesh) {
  std::lock_guard lock(mutex_);
  meshes_.push_back(std::move(mesh));
  handed_.fetch_add(1, std::memory_order_release);
}
