// Direct3D 8's fixed-function vertex and pixel processing, for the states the
// program uses, as one GLSL program; and the render states that map onto
// OpenGL's own fixed stages (depth, blending, culling).
#pragma once
#include <epoxy/gl.h>

#include <string>

#include "platform/d3d/device_states.h"
#include "platform/d3d/vertex_format.h"

class FixedFunctionProgram {
 public:
  bool Create(std::string* reason);
  void Destroy();
  // Makes the program current with the uniforms for one draw.
  void Apply(const DeviceStates& states, const VertexFormat& format, bool textured, UINT targetWidth,
             UINT targetHeight);

 private:
  GLint Uniform(const char* name) const;

  GLuint program_ = 0;
  struct {
    GLint worldViewProjection, normalMatrix, pretransformed, targetSize, lighting, normalizeNormals;
    GLint vertexDiffuse, ambient, materialDiffuse, materialAmbient, materialEmissive;
    GLint lightCount, lightDirection, lightDiffuse, lightAmbient;
    GLint textured, colourOp, colourArg1, colourArg2, alphaOp, alphaArg1, alphaArg2;
  } uniforms_{};
};

// Depth test and write, blending and culling from the render states.
void ApplyRasterStates(const DeviceStates& states);
// Minification and magnification filters of stage 0 for a texture with or without mipmaps.
GLint GlMinFilter(DWORD minFilter, DWORD mipFilter, bool hasMipmaps);
GLint GlMagFilter(DWORD magFilter);
