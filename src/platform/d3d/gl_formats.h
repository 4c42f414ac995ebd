// How Direct3D formats are kept in OpenGL: textures and depth buffers.
#pragma once
#include <epoxy/gl.h>

#include "platform/d3d/d3d8types.h"

struct GlTextureFormat {
  bool valid = false;
  bool compressed = false;
  GLenum internalFormat = 0;
  GLenum format = 0;  // uncompressed only
  GLenum type = 0;
  GLint swizzle[4] = {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA};
};

// Locked memory of the Direct3D format is uploaded as it is, with these values.
GlTextureFormat GlFormatOfTexture(D3DFORMAT format);

struct GlDepthFormat {
  bool valid = false;
  GLenum internalFormat = 0;
  bool hasStencil = false;
};

// The depth formats every OpenGL 3.3 implementation renders to.
GlDepthFormat GlFormatOfDepth(D3DFORMAT format);
