// The back buffer: an OpenGL framebuffer of the requested size that every
// frame is drawn into, shown in the window by Present and read back the same
// way whatever the window is. Its row 0 is the top row of the picture.
#pragma once
#include <SDL2/SDL_video.h>
#include <epoxy/gl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3d/gl_formats.h"

class GlRenderTarget {
 public:
  bool Create(UINT width, UINT height, const GlDepthFormat& depth, std::string* reason);
  void Destroy();
  void Bind() const;
  // Scales the picture into the window keeping its aspect, with black borders.
  void PresentTo(SDL_Window* window) const;
  // Rows top to bottom, pixels 0xAARRGGBB; alpha forced to 0xFF when `opaque`.
  void ReadBack(std::vector<uint32_t>& argb, bool opaque) const;

  UINT Width() const { return width_; }
  UINT Height() const { return height_; }
  bool HasDepth() const { return depth_ != 0; }
  bool HasStencil() const { return hasStencil_; }

 private:
  UINT width_ = 0, height_ = 0;
  GLuint framebuffer_ = 0, colour_ = 0, depth_ = 0;
  bool hasStencil_ = false;
};
