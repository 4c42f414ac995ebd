#include "platform/d3d/gl_formats.h"

namespace {

GlTextureFormat Uncompressed(GLenum internalFormat, GLenum format, GLenum type) {
  GlTextureFormat f;
  f.valid = true;
  f.internalFormat = internalFormat;
  f.format = format;
  f.type = type;
  return f;
}

GlTextureFormat Compressed(GLenum internalFormat) {
  GlTextureFormat f;
  f.valid = f.compressed = true;
  f.internalFormat = internalFormat;
  return f;
}

GlTextureFormat OpaqueAlpha(GlTextureFormat f) {
  f.swizzle[3] = GL_ONE;
  return f;
}

}  // namespace

GlTextureFormat GlFormatOfTexture(D3DFORMAT format) {
  // Direct3D's ARGB formats are little-endian words: BGRA bytes, or the reversed packed types.
  switch (format) {
    case D3DFMT_A8R8G8B8: return Uncompressed(GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV);
    case D3DFMT_X8R8G8B8: return OpaqueAlpha(Uncompressed(GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV));
    case D3DFMT_R5G6B5: return Uncompressed(GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5);
    case D3DFMT_A1R5G5B5: return Uncompressed(GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV);
    case D3DFMT_X1R5G5B5: return OpaqueAlpha(Uncompressed(GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV));
    case D3DFMT_A4R4G4B4: return Uncompressed(GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV);
    case D3DFMT_X4R4G4B4: return OpaqueAlpha(Uncompressed(GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV));
    case D3DFMT_A8: {
      GlTextureFormat f = Uncompressed(GL_R8, GL_RED, GL_UNSIGNED_BYTE);
      f.swizzle[0] = f.swizzle[1] = f.swizzle[2] = GL_ZERO;
      f.swizzle[3] = GL_RED;
      return f;
    }
    case D3DFMT_DXT1: return Compressed(GL_COMPRESSED_RGBA_S3TC_DXT1_EXT);
    case D3DFMT_DXT3: return Compressed(GL_COMPRESSED_RGBA_S3TC_DXT3_EXT);
    case D3DFMT_DXT5: return Compressed(GL_COMPRESSED_RGBA_S3TC_DXT5_EXT);
  }
  return {};
}

GlDepthFormat GlFormatOfDepth(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_D24S8: return {true, GL_DEPTH24_STENCIL8, true};
    case D3DFMT_D24X8: return {true, GL_DEPTH_COMPONENT24, false};
    case D3DFMT_D16: return {true, GL_DEPTH_COMPONENT16, false};
  }
  return {};
}
