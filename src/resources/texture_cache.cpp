#include "resources/texture_cache.h"

#include <algorithm>
#include <iterator>

#include "base/debug_log.h"
#include "gfxutil/d3dx_texture.h"
#include "gfxutil/load_notes.h"
#include "graphics/direct3d.h"
#include "platform/os/path_lookup.h"
#include "platform/os/text_encoding.h"
#include "resources/load_log.h"

TextureCache& Textures() {
  static TextureCache cache;
  return cache;
}

namespace {

// The live entry of a name in the list, or its end.
template <class Entries>
auto LiveEntryOf(Entries& entries, const std::string& name) {
  return std::find_if(entries.begin(), entries.end(),
                      [&](const TextureEntry& entry) { return !entry.retired && entry.name == name; });
}

}  // namespace

const TextureEntry* TextureCache::Find(const std::string& name) const {
  auto entry = LiveEntryOf(entries_, name);
  return entry == entries_.end() ? nullptr : &*entry;
}

IDirect3DTexture8* TextureCache::acquire(const char* name, D3DCOLOR colourKey, UINT mipLevels,
                                         const std::string& modelDirectory, ResolvedPath* found,
                                         LoadNotes* notes) {
  if (auto entry = LiveEntryOf(entries_, name); entry != entries_.end()) {
    ++entry->refCount;
    if (found) *found = entry->file;
    return entry->texture;
  }
  LogLoadStart(name);
  if (found) *found = ResolvedPath{};
  // A name found as stored is handed on as stored: the loader finds it the same way.
  ResolvedPath file = ResolveTexturePath(name, modelDirectory);
  const char* openName = name;
  LoadNotes loadNotes;
  if (file.match == PathMatch::kTrailingPath || file.match == PathMatch::kModelDirectory) {
    loadNotes.Add(LoadNote{FindingCode::kTextureInModelDirectory, name, 0, "", "",
                           NoteMessage("not found as named; using %s from the model's directory", file.path.c_str())});
    openName = file.path.c_str();
  }
  Com<IDirect3DTexture8> texture;
  D3DXIMAGE_INFO image{};
  HRESULT result =
      D3DXCreateTextureFromFileExA(Graphics().d3dDevice, openName, 0, 0, mipLevels, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                   D3DX_DEFAULT, D3DX_DEFAULT, colourKey, &image, nullptr, texture.put(), &loadNotes);
  if (found) *found = file;
  if (notes) notes->Append(loadNotes);
  if (FAILED(result) || !texture) {
    LogLoadOutcome(false, loadNotes, FindingCode::kTextureNotCreated);
    return nullptr;
  }
  LogLoadOutcome(true, loadNotes, FindingCode::kTextureNotCreated);
  auto at = entries_.empty() ? entries_.end() : std::next(entries_.begin());
  return entries_.insert(at, TextureEntry{texture, name, 1, false, file, image})->texture;
}

void TextureCache::release(IDirect3DTexture8* texture) {
  if (!texture) return;
  auto entry = std::find_if(entries_.begin(), entries_.end(),
                            [&](const TextureEntry& e) { return e.texture.get() == texture; });
  if (entry == entries_.end() || entry->refCount-- != 1) return;
  LogPrintf("release(%s)\n", OnOneLine(entry->name).c_str());
  entries_.erase(entry);
}

void TextureCache::RetireAll() {
  for (TextureEntry& entry : entries_) entry.retired = true;
}
