// The meshes of a text file of many small meshes, read by a second reader on
// a thread of its own: each of their lists is too short to be read in two
// halves (values_ahead.h), but the meshes can be. Both readers walk the
// objects in file order, and each mesh goes to the reader that claims it
// first; the main reader takes the second's meshes, with the objects recorded
// in them, as it gets to them. The second reader follows references to the
// objects recorded before it started, and the main reader takes a mesh only
// if each of its references leads to the same object there. The second
// reader writes no note: a mesh that holds one, a reference it cannot
// follow, or a fault, it hands over unread, and stops, and the main reader
// reads that mesh and the rest itself.
#pragma once
#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gfxutil/xfile/object_type.h"
#include "gfxutil/xfile/raw_mesh.h"

// A reference the second reader followed: what it named, and where the
// object it led to begins.
struct XFollowedReference {
  std::string name;  // empty for a reference by GUID
  XGuid guid{};
  XType expected = XType::Unknown;  // the kind of object the reference stands for
  size_t body = 0;
};

struct XMeshAhead {
  size_t body = 0;    // where the mesh's members begin: which mesh it is
  size_t end = 0;     // just after its '}'
  bool read = false;  // false: handed over unread
  XRawMesh mesh;
  std::vector<XObjectRecord> records;          // the objects inside it, in file order
  std::vector<XFollowedReference> references;  // the references in it, in file order
  size_t referencedBytes = 0;                  // what the references read again
  int depth = 0;                               // how deep its objects nest inside it
  uint64_t triangles = 0;                      // its faces split into fans
};

class XMeshesAhead {
 public:
  XMeshesAhead() = default;
  // Stops the walk and waits for its thread.
  ~XMeshesAhead();
  XMeshesAhead(const XMeshesAhead&) = delete;
  XMeshesAhead& operator=(const XMeshesAhead&) = delete;

  // Runs `walk` on a thread of its own; false when no thread could be started.
  bool Start(std::function<void(XMeshesAhead&)> walk);

  // The main reader, at the mesh whose members begin at `body`: true, with
  // the mesh, when the second reader claimed it and read it; false when this
  // reader is to read it (claimed now, or handed over unread).
  bool Take(size_t body, XMeshAhead& mesh);

  // The second reader, at a mesh: whether it is this reader's to read. It
  // first waits while kMostWaiting of its meshes wait to be taken, so that
  // it keeps no more of the model aside than that.
  bool Claim(size_t body);
  static constexpr size_t kMostWaiting = 8;
  // How long it sleeps before it looks again: less than the main reader
  // takes to use up the meshes waiting.
  static constexpr std::chrono::microseconds kRoomWait{100};
  // The second reader's mesh, claimed before.
  void Hand(XMeshAhead&& mesh);
  bool Stopped() const { return stop_.load(std::memory_order_relaxed); }

 private:
  bool ClaimUpTo(size_t body);

  // One past the members' offset of the last mesh claimed: meshes are
  // claimed in file order, so each reader owns what it moved this past.
  std::atomic<size_t> claimed_{0};
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::deque<XMeshAhead> meshes_;  // read by the second reader, not taken yet
  // Meshes handed and taken, for the main reader to wait by spinning: a
  // mesh is read in well under a millisecond, less than a sleeping thread
  // may take to wake.
  std::atomic<size_t> handed_{0};
  std::atomic<size_t> taken_{0};
  std::atomic<bool> walkEnded_{false};
  std::thread worker_;
};
