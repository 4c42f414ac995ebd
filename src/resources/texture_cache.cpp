#include "resources/texture_cache.h"

#include "base/debug_log.h"
#include "gfxutil/d3dx_texture.h"
#include "gfxutil/load_notes.h"
#include "graphics/direct3d.h"
#include "platform/os/path_lookup.h"
#include "platform/os/text_encoding.h"
#include "resources/load_log.h"

TextureCache textureCache;

TextureEntry* TextureCache::EntryOf(const std::string& name) const {
  for (TextureEntry* entry = head_; entry; entry = entry->next)
    if (!entry->retired && entry->name == name) return entry;
  return nullptr;
}

IDirect3DTexture8* TextureCache::acquire(const char* name, D3DCOLOR colourKey, UINT mipLevels,
                                         const std::string& modelDirectory, ResolvedPath* found,
                                         LoadNotes* notes) {
  if (TextureEntry* entry = EntryOf(name)) {
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
  IDirect3DTexture8* texture = nullptr;
  D3DXIMAGE_INFO image{};
  HRESULT result = D3DXCreateTextureFromFileExA(d3dDevice, openName, 0, 0, mipLevels, 0, D3DFMT_A8R8G8B8,
                                                D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, colourKey, &image,
                                                nullptr, &texture, &loadNotes);
  if (found) *found = file;
  if (notes) notes->Append(loadNotes);
  if (FAILED(result) || !texture) {
    LogLoadOutcome(false, loadNotes, FindingCode::kTextureNotCreated);
    return nullptr;
  }
  LogLoadOutcome(true, loadNotes, FindingCode::kTextureNotCreated);
  auto* entry = new TextureEntry{texture, name, 1, false, nullptr, file, image};
  if (!head_) {
    head_ = entry;
  } else {
    entry->next = head_->next;
    head_->next = entry;
  }
  return texture;
}

void TextureCache::release(IDirect3DTexture8* texture) {
  if (!texture) return;
  TextureEntry** link = &head_;
  while (*link && (*link)->texture != texture) link = &(*link)->next;
  TextureEntry* entry = *link;
  if (!entry || entry->refCount-- != 1) return;
  LogPrintf("release(%s)\n", OnOneLine(entry->name).c_str());
  entry->texture->Release();
  *link = entry->next;
  delete entry;
}

void TextureCache::RetireAll() {
  for (TextureEntry* entry = head_; entry; entry = entry->next) entry->retired = true;
}
