#include "gfxutil/d3dx_texture.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "gfxutil/image/colour_key.h"
#include "gfxutil/image/decode.h"
#include "gfxutil/image/dxt.h"
#include "gfxutil/image/scale.h"
#include "gfxutil/load_notes.h"
#include "platform/d3d/texture_budget.h"
#include "platform/os/path_lookup.h"

namespace {

bool IsDxt(D3DFORMAT format) { return format == D3DFMT_DXT1 || format == D3DFMT_DXT3 || format == D3DFMT_DXT5; }

struct SizeLimit {
  UINT width;
  UINT height;
};

bool Fits(const DecodedImage& image, SizeLimit limit) { return image.width <= limit.width && image.height <= limit.height; }

bool Expand(DecodedImage& image, std::string& error) {
  DecodedImage pixels;
  if (!DecompressDxt(image, pixels, error)) return false;
  image = std::move(pixels);
  return true;
}

// Brings the decoded image into the form the texture is created in: DXT only
// when it can go up as it is, the colour key applied, no side above the limit.
bool PrepareForUpload(DecodedImage& image, SizeLimit limit, D3DCOLOR colourKey, std::string& error) {
  if (IsDxt(image.format)) {
    bool uploadAsBlocks = colourKey == 0 && Fits(image, limit) && image.width % 4 == 0 && image.height % 4 == 0;
    if (uploadAsBlocks) return true;
    if (!Expand(image, error)) return false;
  }
  ApplyColourKey(image, colourKey);
  if (Fits(image, limit)) return true;
  DecodedImage scaled;
  if (!BoxScale(image, std::min(image.width, limit.width), std::min(image.height, limit.height), scaled, error)) {
    return false;
  }
  image = std::move(scaled);
  return true;
}

HRESULT CopyIntoTexture(IDirect3DTexture8* texture, const DecodedImage& image) {
  D3DLOCKED_RECT locked{};
  HRESULT result = texture->LockRect(0, &locked, nullptr, 0);
  if (FAILED(result)) return result;
  size_t unit = IsDxt(image.format) ? 4 : 1;
  size_t rows = (image.height + unit - 1) / unit;
  size_t rowBytes = image.bytes.size() / rows;
  for (size_t row = 0; row < rows; ++row) {
    std::memcpy(static_cast<uint8_t*>(locked.pBits) + row * locked.Pitch, image.bytes.data() + row * rowBytes,
                rowBytes);
  }
  return texture->UnlockRect(0);
}

HRESULT CreateFilledTexture(IDirect3DDevice8* device, const DecodedImage& image, UINT levels, DWORD usage,
                            IDirect3DTexture8** texture) {
  IDirect3DTexture8* created = nullptr;
  HRESULT result =
      device->CreateTexture(image.width, image.height, levels, usage, image.format, D3DPOOL_MANAGED, &created);
  if (FAILED(result)) return result;
  result = CopyIntoTexture(created, image);
  if (FAILED(result)) {
    created->Release();
    return result;
  }
  *texture = created;
  return D3D_OK;
}

D3DXIMAGE_FILEFORMAT FileFormatOf(ImageFileType type) {
  switch (type) {
    case ImageFileType::Png: return D3DXIFF_PNG;
    case ImageFileType::Jpeg: return D3DXIFF_JPG;
    case ImageFileType::Bmp: return D3DXIFF_BMP;
    case ImageFileType::Dds: return D3DXIFF_DDS;
    case ImageFileType::Pnm: return D3DXIFF_PPM;
    case ImageFileType::Tga: return D3DXIFF_TGA;
  }
  return D3DXIFF_BMP;
}

SizeLimit DeviceSizeLimit(IDirect3DDevice8* device) {
  D3DCAPS8 caps{};
  if (FAILED(device->GetDeviceCaps(&caps))) return {0, 0};
  return {caps.MaxTextureWidth, caps.MaxTextureHeight};
}

}  // namespace

HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice8* device, const char* srcFile, UINT /*width*/,
                                     UINT /*height*/, UINT mipLevels, DWORD usage, D3DFORMAT /*format*/,
                                     D3DPOOL /*pool*/, DWORD /*filter*/, DWORD /*mipFilter*/, D3DCOLOR colourKey,
                                     D3DXIMAGE_INFO* srcInfo, void* palette, IDirect3DTexture8** texture,
                                     LoadNotes* notes) {
  if (!texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  if (!device || !srcFile || palette) return D3DERR_INVALIDCALL;
  auto fail = [&](FindingCode code, std::string message) {
    if (notes) notes->SetFatal(LoadNote{code, srcFile, 0, "", "", std::move(message)});
  };

  std::string path = ResolveExistingPath(srcFile);
  if (path.empty()) {
    // An empty name is no file to name; the model reader notes where it stands.
    if (srcFile[0] != '\0') fail(FindingCode::kTextureNotFound, "file not found");
    return D3DERR_NOTFOUND;
  }
  DecodedImage image;
  std::string error;
  SizeLimit limit = DeviceSizeLimit(device);
  if (limit.width == 0 || limit.height == 0) {
    fail(FindingCode::kTextureNotCreated, "device reports no texture size");
    return D3DERR_INVALIDCALL;
  }
  ImageFileType type = ImageFileType::Bmp;
  if (!LoadImageFile(path, image, error, &type)) {
    fail(FindingCode::kTextureUnreadable, error);
    return D3DXERR_INVALIDDATA;
  }
  if (srcInfo) {
    *srcInfo = D3DXIMAGE_INFO{image.width, image.height, 1, 1, image.format, D3DRTYPE_TEXTURE, FileFormatOf(type)};
  }
  if (!PrepareForUpload(image, limit, colourKey, error)) {
    fail(FindingCode::kTextureUnreadable, error);
    return D3DXERR_INVALIDDATA;
  }
  UINT levels = mipLevels == D3DX_DEFAULT ? 0 : mipLevels;
  HRESULT result = CreateFilledTexture(device, image, levels, usage, texture);
  // A device without S3TC support takes the expanded pixels instead.
  if (FAILED(result) && IsDxt(image.format) && Expand(image, error)) {
    result = CreateFilledTexture(device, image, levels, usage, texture);
  }
  if (result == D3DERR_OUTOFVIDEOMEMORY) {
    fail(FindingCode::kTextureNotCreated,
         NoteMessage("texture of %ux%u not created: the textures would take more than the %zu MiB kept for them",
                     image.width, image.height, kTextureBudgetBytes >> 20));
  } else if (FAILED(result)) {
    fail(FindingCode::kTextureNotCreated, NoteMessage("texture of %ux%u not created (error 0x%08X)", image.width,
                                                      image.height, static_cast<unsigned>(result)));
  }
  return result;
}
