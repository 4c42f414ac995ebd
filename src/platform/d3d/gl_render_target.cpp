#include "platform/d3d/gl_render_target.h"

#include <algorithm>

#include "platform/os/sdl_library.h"

bool GlRenderTarget::Create(UINT width, UINT height, const GlDepthFormat& depth, std::string* reason) {
  GLint largest = 0;
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
  if (width == 0 || height == 0 || width > static_cast<UINT>(largest) || height > static_cast<UINT>(largest)) {
    *reason = "back buffer size out of range";
    return false;
  }
  width_ = width;
  height_ = height;
  GLsizei w = static_cast<GLsizei>(width), h = static_cast<GLsizei>(height);
  glGenFramebuffers(1, &framebuffer_);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glGenRenderbuffers(1, &colour_);
  glBindRenderbuffer(GL_RENDERBUFFER, colour_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
  if (depth.valid) {
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, depth.internalFormat, w, h);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, depth.hasStencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT,
                              GL_RENDERBUFFER, depth_);
    hasStencil_ = depth.hasStencil;
  }
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    *reason = "back buffer framebuffer incomplete";
    Destroy();
    return false;
  }
  Bind();
  // Until the first frame the picture is black, never what the memory held:
  // an uncovered window shows it before anything is drawn.
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  return true;
}

void GlRenderTarget::Destroy() {
  if (framebuffer_) glDeleteFramebuffers(1, &framebuffer_);
  if (colour_) glDeleteRenderbuffers(1, &colour_);
  if (depth_) glDeleteRenderbuffers(1, &depth_);
  framebuffer_ = colour_ = depth_ = 0;
}

void GlRenderTarget::Bind() const {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glViewport(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_));
}

void GlRenderTarget::PresentTo(SDL_Window* window) const {
  int windowWidth = 0, windowHeight = 0;
  Sdl().SDL_GL_GetDrawableSize(window, &windowWidth, &windowHeight);
  if (windowWidth <= 0 || windowHeight <= 0) return;
  // The largest rectangle of the picture's aspect that fits, centred.
  double scale = std::min(static_cast<double>(windowWidth) / width_, static_cast<double>(windowHeight) / height_);
  int w = static_cast<int>(width_ * scale + 0.5), h = static_cast<int>(height_ * scale + 0.5);
  int x = (windowWidth - w) / 2, y = (windowHeight - h) / 2;
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  bool oneToOne = w == static_cast<int>(width_) && h == static_cast<int>(height_);
  // Row 0 holds the top of the picture; the window's row 0 is its bottom.
  glBlitFramebuffer(0, 0, static_cast<GLint>(width_), static_cast<GLint>(height_), x, y + h, x + w, y,
                    GL_COLOR_BUFFER_BIT, oneToOne ? GL_NEAREST : GL_LINEAR);
  Bind();
}

void GlRenderTarget::ReadBack(std::vector<uint32_t>& argb, bool opaque) const {
  argb.assign(static_cast<size_t>(width_) * height_, 0);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_), GL_BGRA,
               GL_UNSIGNED_INT_8_8_8_8_REV, argb.data());
  if (opaque)
    for (uint32_t& pixel : argb) pixel |= 0xFF000000u;
}
