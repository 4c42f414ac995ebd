// The one store of textures loaded from image files. A name already loaded is
// shared and counted, so each file is read once and freed with its last user.
#pragma once
#include <cstdint>
#include <string>

#include "platform/d3d/d3d8.h"

struct TextureEntry {
  IDirect3DTexture8* texture;  // owned
  std::string name;            // exactly as requested
  int32_t refCount;            // outstanding acquire results, at least 1
  bool retired;                // no longer handed out; freed with its last user
  TextureEntry* next;
};

class TextureCache {
 public:
  // The texture of a file name (byte for byte, letter case counts), loaded on
  // first use relative to the current directory; null when it cannot be loaded.
  // Retired entries are never matched.
  IDirect3DTexture8* acquire(const char* name, D3DCOLOR colourKey, UINT mipLevels);
  // Drops one reference; the last one frees the texture. Null and textures
  // that no entry holds are ignored.
  void release(IDirect3DTexture8* texture);
  // The entries loaded so far are retired: a later acquire of their names reads
  // the files again, while their present users keep drawing with them.
  void RetireAll();

  // The first entry; a new entry goes in directly after it.
  const TextureEntry* Head() const { return head_; }

 private:
  TextureEntry* head_ = nullptr;
};

// Textures still held when the program ends are left to process exit.
extern TextureCache textureCache;
