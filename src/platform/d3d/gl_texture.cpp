#include "platform/d3d/gl_texture.h"

GlTexture* GlTexture::Create(GlResourceHost* host, UINT width, UINT height, UINT levels, D3DFORMAT format,
                             TextureBudgetShare share) {
  TextureLayout layout = DescribeTexture(width, height, format);
  GlTextureFormat glFormat = GlFormatOfTexture(format);
  if (!layout.valid || !glFormat.valid) return nullptr;
  if (glFormat.compressed && !epoxy_has_gl_extension("GL_EXT_texture_compression_s3tc")) return nullptr;
  return new GlTexture(host, width, height, FullLevelCount(width, height, levels), format, layout, glFormat,
                       std::move(share));
}

GlTexture::GlTexture(GlResourceHost* host, UINT width, UINT height, UINT levels, D3DFORMAT format,
                     const TextureLayout& layout, const GlTextureFormat& glFormat, TextureBudgetShare share)
    : GlResource(host),
      width_(width),
      height_(height),
      levels_(levels),
      format_(format),
      layout_(layout),
      glFormat_(glFormat),
      bits_(layout.Size()),
      share_(std::move(share)) {
  CreateGlObject();
}

void GlTexture::CreateGlObject() {
  glGenTextures(1, &name_);
  glBindTexture(GL_TEXTURE_2D, name_);
  glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, glFormat_.swizzle);
  Upload();
}

bool GlTexture::RestoreGlObjects() {
  CreateGlObject();
  return true;
}

GlTexture::~GlTexture() { Leave(); }

void GlTexture::DeleteGlObjects() {
  if (name_) glDeleteTextures(1, &name_);
  name_ = 0;
}

HRESULT GlTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
  if (level != 0 || !locked || locked_) return D3DERR_INVALIDCALL;
  size_t offset = 0;
  if (rect) {
    if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right || rect->top >= rect->bottom ||
        static_cast<UINT>(rect->right) > width_ || static_cast<UINT>(rect->bottom) > height_)
      return D3DERR_INVALIDCALL;
    offset = layout_.OffsetOf(rect->left, rect->top);
  }
  locked->Pitch = static_cast<int>(layout_.pitch);
  locked->pBits = bits_.data() + offset;
  locked_ = true;
  lockedReadOnly_ = (flags & D3DLOCK_READONLY) != 0;
  return D3D_OK;
}

HRESULT GlTexture::UnlockRect(UINT level) {
  if (level != 0 || !locked_) return D3DERR_INVALIDCALL;
  locked_ = false;
  if (!lockedReadOnly_ && host_) {
    host_->FlushPending();
    Upload();
  }
  return D3D_OK;
}

void GlTexture::Upload() {
  GLsizei w = static_cast<GLsizei>(width_), h = static_cast<GLsizei>(height_);
  glBindTexture(GL_TEXTURE_2D, name_);
  if (glFormat_.compressed) {
    glCompressedTexImage2D(GL_TEXTURE_2D, 0, glFormat_.internalFormat, w, h, 0, static_cast<GLsizei>(bits_.size()),
                           bits_.data());
  } else {
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(glFormat_.internalFormat), w, h, 0, glFormat_.format,
                 glFormat_.type, bits_.data());
  }
  // Compressed levels cannot be generated; such a texture keeps its one level.
  mipmapped_ = levels_ > 1 && !glFormat_.compressed;
  if (mipmapped_) glGenerateMipmap(GL_TEXTURE_2D);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, mipmapped_ ? static_cast<GLint>(levels_ - 1) : 0);
}
