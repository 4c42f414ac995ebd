// The one store of textures loaded from image files. A name already loaded is
// shared and counted, so each file is read once and freed with its last user.
#pragma once
#include <cstdint>
#include <list>
#include <string>

#include "gfxutil/d3dx_texture.h"
#include "gfxutil/load_notes.h"
#include "platform/d3d/com.h"
#include "platform/d3d/d3d8.h"
#include "platform/os/path_lookup.h"

struct TextureEntry {
  Com<IDirect3DTexture8> texture;
  std::string name;       // exactly as requested
  int32_t refCount = 1;   // outstanding acquire results, at least 1
  bool retired = false;   // no longer handed out; freed with its last user
  ResolvedPath file;      // the file found for the name, and how
  D3DXIMAGE_INFO image{}; // what the file held
};

class TextureCache {
 public:
  // The texture of a file name (byte for byte, letter case counts), loaded on
  // first use relative to the current directory, or, when the name finds
  // nothing there, by its last element from modelDirectory (empty: the
  // current directory) with a log line naming the file. Null when it cannot be
  // loaded. `found`, when given, receives the file the name was found as, and
  // `notes` what the load of a new entry noted. Retired entries are never matched.
  IDirect3DTexture8* acquire(const char* name, D3DCOLOR colourKey, UINT mipLevels, const std::string& modelDirectory,
                             ResolvedPath* found = nullptr, LoadNotes* notes = nullptr);
  // Drops one reference; the last one frees the texture. Null and textures
  // that no entry holds are ignored.
  void release(IDirect3DTexture8* texture);
  // The entries loaded so far are retired: a later acquire of their names reads
  // the files again, while their present users keep drawing with them.
  void RetireAll();

  // The entries in order: a new entry goes in directly after the first.
  const std::list<TextureEntry>& Entries() const { return entries_; }
  // The live entry of a name as acquire was given it; null when there is none.
  const TextureEntry* Find(const std::string& name) const;

 private:
  std::list<TextureEntry> entries_;
};

// Textures still held when the program ends are left to process exit.
// The program's one store.
TextureCache& Textures();
