// Textures and buffers own OpenGL objects of their device's context. The device
// knows its live resources: when it goes first it deletes their OpenGL objects
// while its context still exists, and the resources live on as empty shells.
// When the context is lost, the device has each resource drop its objects and
// make them again in the new context from what it keeps in system memory.
#pragma once

class GlResource;

class GlResourceHost {
 public:
  // Draws what is batched, before a resource changes under it.
  virtual void FlushPending() = 0;
  virtual void Forget(GlResource* resource) = 0;

 protected:
  ~GlResourceHost() = default;
};

class GlResource {
 public:
  explicit GlResource(GlResourceHost* host) : host_(host) {}
  GlResource(const GlResource&) = delete;
  GlResource& operator=(const GlResource&) = delete;
  // Called by the host that goes away.
  void Detach() {
    DeleteGlObjects();
    host_ = nullptr;
  }
  // For a context loss: the objects go with the old context...
  void DropGlObjects() { DeleteGlObjects(); }
  // ...and are made again in the current one with the same contents; false
  // when the contents were not kept.
  virtual bool RestoreGlObjects() = 0;

 protected:
  ~GlResource() = default;
  virtual void DeleteGlObjects() = 0;
  // For the destructors of the resources.
  void Leave() {
    if (!host_) return;
    DeleteGlObjects();
    host_->Forget(this);
    host_ = nullptr;
  }
  GlResourceHost* host_;
};
