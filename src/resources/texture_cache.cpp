#include "resources/texture_cache.h"

#include "base/debug_log.h"
#include "gfxutil/d3dx_texture.h"
#include "graphics/direct3d.h"
#include "resources/load_log.h"

TextureCache textureCache;

IDirect3DTexture8* TextureCache::acquire(const char* name, D3DCOLOR colourKey, UINT mipLevels) {
  for (TextureEntry* entry = head_; entry; entry = entry->next) {
    if (!entry->retired && entry->name == name) {
      ++entry->refCount;
      return entry->texture;
    }
  }
  LogLoadStart(name);
  IDirect3DTexture8* texture = nullptr;
  HRESULT result = D3DXCreateTextureFromFileExA(d3dDevice, name, 0, 0, mipLevels, 0, D3DFMT_A8R8G8B8,
                                                D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, colourKey, nullptr,
                                                nullptr, &texture);
  if (FAILED(result) || !texture) {
    LogLoadOutcome(false);
    return nullptr;
  }
  LogLoadOutcome(true);
  auto* entry = new TextureEntry{texture, name, 1, false, nullptr};
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
  LogPrintf("release(%s)\n", entry->name.c_str());
  entry->texture->Release();
  *link = entry->next;
  delete entry;
}

void TextureCache::RetireAll() {
  for (TextureEntry* entry = head_; entry; entry = entry->next) entry->retired = true;
}
