#include "platform/d3d/gl_fixed_function.h"

#include <cmath>

namespace {

// Direct3D 8 fixed-function lighting, as computed here per vertex (specular off):
//
//   colour.rgb = clamp(Ce + Ca * (Ga + sum_i La_i) + Cd * sum_i (Ld_i * max(N . -Dir_i, 0)), 0, 1)
//   colour.a   = Cd.a
//
// Ce, Ca, Cd: the material's emissive, ambient and diffuse colours; Cd is the
// vertex's diffuse colour instead when the vertex has one (D3DRS_COLORVERTEX,
// on by default, with the diffuse material source COLOR1). Ga: D3DRS_AMBIENT.
// La_i, Ld_i: the ambient and diffuse colours of enabled light i; Dir_i its
// normalised direction (from the light). N: the normal taken through the
// inverse transpose of world x view, normalised only with D3DRS_NORMALIZENORMALS.
// Without lighting the colour is the vertex's diffuse colour, white when the
// vertex has none. Texture stage 0 then combines that colour with the texel by
// its colour and alpha operations (modulate, select argument 1 or 2); without
// a texture the colour is the diffuse colour alone.
constexpr char kVertexShader[] = R"(#version 330 core
layout(location = 0) in vec4 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec4 aDiffuse;
layout(location = 3) in vec2 aTexCoord;

uniform mat4 uWorldViewProjection;
uniform mat3 uNormalMatrix;
uniform bool uPretransformed;
uniform vec2 uTargetSize;
uniform bool uLighting;
uniform bool uNormalizeNormals;
uniform bool uVertexDiffuse;
uniform vec4 uAmbient;
uniform vec4 uMaterialDiffuse;
uniform vec4 uMaterialAmbient;
uniform vec4 uMaterialEmissive;
uniform int uLightCount;
uniform vec3 uLightDirection[8];
uniform vec4 uLightDiffuse[8];
uniform vec4 uLightAmbient[8];

out vec4 vDiffuse;
out vec2 vTexCoord;

void main() {
  // The picture is drawn upside down, its top row in row 0 of the framebuffer:
  // OpenGL's fill rule then includes the left and top edges, as Direct3D's does.
  // Pixel centres lie on whole numbers as in Direct3D: half a pixel right and down.
  vec4 clip;
  if (uPretransformed) {
    // Screen pixels, depth 0..1, 1/w in the fourth member.
    float w = aPosition.w != 0.0 ? 1.0 / aPosition.w : 1.0;
    vec2 ndc = (aPosition.xy + 0.5) / uTargetSize * 2.0 - 1.0;
    clip = vec4(ndc * w, aPosition.z * w, w);
  } else {
    clip = uWorldViewProjection * vec4(aPosition.xyz, 1.0);
    clip.y = -clip.y;
    clip.xy += clip.w / uTargetSize;
  }
  gl_Position = vec4(clip.xy, 2.0 * clip.z - clip.w, clip.w);  // depth 0..1 onto -1..1
  vTexCoord = aTexCoord;

  if (!uLighting || uPretransformed) {
    vDiffuse = aDiffuse;
    return;
  }
  vec3 n = uNormalMatrix * aNormal;
  if (uNormalizeNormals && dot(n, n) > 0.0) n = normalize(n);
  vec4 cd = uVertexDiffuse ? aDiffuse : uMaterialDiffuse;
  vec3 ambient = uAmbient.rgb;
  vec3 diffuse = vec3(0.0);
  for (int i = 0; i < uLightCount; ++i) {
    ambient += uLightAmbient[i].rgb;
    diffuse += uLightDiffuse[i].rgb * max(dot(n, -uLightDirection[i]), 0.0);
  }
  vec3 colour = uMaterialEmissive.rgb + uMaterialAmbient.rgb * ambient + cd.rgb * diffuse;
  vDiffuse = vec4(clamp(colour, 0.0, 1.0), clamp(cd.a, 0.0, 1.0));
}
)";

constexpr char kFragmentShader[] = R"(#version 330 core
in vec4 vDiffuse;
in vec2 vTexCoord;
out vec4 fragColour;

uniform bool uTextured;
uniform sampler2D uTexture;
uniform int uColourOp, uColourArg1, uColourArg2;
uniform int uAlphaOp, uAlphaArg1, uAlphaArg2;

// Stage 0: D3DTA_TEXTURE (2) is the texel; D3DTA_DIFFUSE and D3DTA_CURRENT are the diffuse colour.
vec4 Argument(int argument, vec4 texel) { return argument == 2 ? texel : vDiffuse; }

// D3DTOP_MODULATE (4), D3DTOP_SELECTARG1 (2), D3DTOP_SELECTARG2 (3); otherwise the stage passes the diffuse colour.
vec4 Combine(int op, int argument1, int argument2, vec4 texel) {
  if (op == 4) return Argument(argument1, texel) * Argument(argument2, texel);
  if (op == 2) return Argument(argument1, texel);
  if (op == 3) return Argument(argument2, texel);
  return vDiffuse;
}

void main() {
  if (!uTextured) {
    fragColour = vDiffuse;
    return;
  }
  vec4 texel = texture(uTexture, vTexCoord);
  vec4 colour = Combine(uColourOp, uColourArg1, uColourArg2, texel);
  vec4 alpha = Combine(uAlphaOp, uAlphaArg1, uAlphaArg2, texel);
  fragColour = vec4(colour.rgb, alpha.a);
}
)";

void Multiply(const D3DMATRIX& a, const D3DMATRIX& b, D3DMATRIX* out) {
  D3DMATRIX r{};
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      for (int k = 0; k < 4; ++k) r.m[i][j] += a.m[i][k] * b.m[k][j];
  *out = r;
}

// The inverse of the upper 3x3 of m, row-major. A row-vector normal n goes to
// n x inverse(m)^T, which is inverse(m) applied to the column vector.
void InverseOfUpper3x3(const D3DMATRIX& m, float out[9]) {
  float a = m._11, b = m._12, c = m._13, d = m._21, e = m._22, f = m._23, g = m._31, h = m._32, i = m._33;
  float cofactor[9] = {e * i - f * h, c * h - b * i, b * f - c * e, f * g - d * i, a * i - c * g,
                       c * d - a * f, d * h - e * g, b * g - a * h, a * e - b * d};
  float determinant = a * cofactor[0] + b * cofactor[3] + c * cofactor[6];
  float scale = std::fabs(determinant) > 1e-30f ? 1.0f / determinant : 0.0f;
  for (int k = 0; k < 9; ++k) out[k] = cofactor[k] * scale;
}

GLuint Compile(GLenum type, const char* source, std::string* reason) {
  GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok) return shader;
  char log[1024] = {};
  glGetShaderInfoLog(shader, sizeof log, nullptr, log);
  *reason = std::string("shader does not compile: ") + log;
  glDeleteShader(shader);
  return 0;
}

GLenum GlCompare(DWORD function) {
  // D3DCMP_NEVER..D3DCMP_ALWAYS (1..8) run in the same order as GL_NEVER..GL_ALWAYS.
  return function >= D3DCMP_NEVER && function <= D3DCMP_ALWAYS ? GL_NEVER + (function - D3DCMP_NEVER) : GL_ALWAYS;
}

GLenum GlBlend(DWORD factor, GLenum otherwise) {
  switch (factor) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_ONE: return GL_ONE;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
  }
  return otherwise;
}

}  // namespace

bool FixedFunctionProgram::Create(std::string* reason) {
  GLuint vertex = Compile(GL_VERTEX_SHADER, kVertexShader, reason);
  GLuint fragment = vertex ? Compile(GL_FRAGMENT_SHADER, kFragmentShader, reason) : 0;
  if (!fragment) {
    glDeleteShader(vertex);
    return false;
  }
  program_ = glCreateProgram();
  glAttachShader(program_, vertex);
  glAttachShader(program_, fragment);
  glLinkProgram(program_);
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  GLint ok = 0;
  glGetProgramiv(program_, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[1024] = {};
    glGetProgramInfoLog(program_, sizeof log, nullptr, log);
    *reason = std::string("shaders do not link: ") + log;
    Destroy();
    return false;
  }
  auto& u = uniforms_;
  u.worldViewProjection = Uniform("uWorldViewProjection");
  u.normalMatrix = Uniform("uNormalMatrix");
  u.pretransformed = Uniform("uPretransformed");
  u.targetSize = Uniform("uTargetSize");
  u.lighting = Uniform("uLighting");
  u.normalizeNormals = Uniform("uNormalizeNormals");
  u.vertexDiffuse = Uniform("uVertexDiffuse");
  u.ambient = Uniform("uAmbient");
  u.materialDiffuse = Uniform("uMaterialDiffuse");
  u.materialAmbient = Uniform("uMaterialAmbient");
  u.materialEmissive = Uniform("uMaterialEmissive");
  u.lightCount = Uniform("uLightCount");
  u.lightDirection = Uniform("uLightDirection");
  u.lightDiffuse = Uniform("uLightDiffuse");
  u.lightAmbient = Uniform("uLightAmbient");
  u.textured = Uniform("uTextured");
  u.colourOp = Uniform("uColourOp");
  u.colourArg1 = Uniform("uColourArg1");
  u.colourArg2 = Uniform("uColourArg2");
  u.alphaOp = Uniform("uAlphaOp");
  u.alphaArg1 = Uniform("uAlphaArg1");
  u.alphaArg2 = Uniform("uAlphaArg2");
  glUseProgram(program_);
  glUniform1i(Uniform("uTexture"), 0);
  return true;
}

void FixedFunctionProgram::Destroy() {
  if (program_) glDeleteProgram(program_);
  program_ = 0;
}

GLint FixedFunctionProgram::Uniform(const char* name) const { return glGetUniformLocation(program_, name); }

void FixedFunctionProgram::Apply(const DeviceStates& s, const VertexFormat& format, bool textured, UINT targetWidth,
                                 UINT targetHeight) {
  const auto& u = uniforms_;
  glUseProgram(program_);
  D3DMATRIX worldView, worldViewProjection;
  Multiply(s.world, s.view, &worldView);
  Multiply(worldView, s.projection, &worldViewProjection);
  // The row-major array read column by column is the transpose that column vectors need.
  glUniformMatrix4fv(u.worldViewProjection, 1, GL_FALSE, &worldViewProjection.m[0][0]);
  float normalMatrix[9];
  InverseOfUpper3x3(worldView, normalMatrix);
  glUniformMatrix3fv(u.normalMatrix, 1, GL_TRUE, normalMatrix);
  glUniform1i(u.pretransformed, format.pretransformed);
  glUniform2f(u.targetSize, static_cast<float>(targetWidth), static_cast<float>(targetHeight));
  bool lighting = s.RenderState(D3DRS_LIGHTING) != 0;
  glUniform1i(u.lighting, lighting);
  if (lighting && !format.pretransformed) {
    glUniform1i(u.normalizeNormals, s.RenderState(D3DRS_NORMALIZENORMALS) != 0);
    glUniform1i(u.vertexDiffuse, format.diffuseOffset >= 0);
    float ambient[4];
    ColourOf(s.RenderState(D3DRS_AMBIENT), ambient);
    glUniform4fv(u.ambient, 1, ambient);
    glUniform4fv(u.materialDiffuse, 1, &s.material.Diffuse.r);
    glUniform4fv(u.materialAmbient, 1, &s.material.Ambient.r);
    glUniform4fv(u.materialEmissive, 1, &s.material.Emissive.r);
    float direction[kLightCount][3], diffuse[kLightCount][4], lightAmbient[kLightCount][4];
    int count = 0;
    for (DWORD i = 0; i < kLightCount; ++i) {
      const D3DLIGHT8& light = s.light[i];
      if (!s.lightEnabled[i] || light.Type != D3DLIGHT_DIRECTIONAL) continue;
      // The direction in view space, normalised as Direct3D does.
      const D3DVECTOR& d = light.Direction;
      float v[3];
      for (int k = 0; k < 3; ++k) v[k] = d.x * s.view.m[0][k] + d.y * s.view.m[1][k] + d.z * s.view.m[2][k];
      float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
      for (int k = 0; k < 3; ++k) direction[count][k] = length > 0 ? v[k] / length : 0.0f;
      const float* ld = &light.Diffuse.r;
      const float* la = &light.Ambient.r;
      for (int k = 0; k < 4; ++k) diffuse[count][k] = ld[k], lightAmbient[count][k] = la[k];
      ++count;
    }
    glUniform1i(u.lightCount, count);
    if (count > 0) {
      glUniform3fv(u.lightDirection, count, &direction[0][0]);
      glUniform4fv(u.lightDiffuse, count, &diffuse[0][0]);
      glUniform4fv(u.lightAmbient, count, &lightAmbient[0][0]);
    }
  }
  glUniform1i(u.textured, textured);
  constexpr DWORD kArgumentMask = 0xF;  // without the complement and alpha-replicate modifiers
  glUniform1i(u.colourOp, static_cast<GLint>(s.StageState(0, D3DTSS_COLOROP)));
  glUniform1i(u.colourArg1, static_cast<GLint>(s.StageState(0, D3DTSS_COLORARG1) & kArgumentMask));
  glUniform1i(u.colourArg2, static_cast<GLint>(s.StageState(0, D3DTSS_COLORARG2) & kArgumentMask));
  glUniform1i(u.alphaOp, static_cast<GLint>(s.StageState(0, D3DTSS_ALPHAOP)));
  glUniform1i(u.alphaArg1, static_cast<GLint>(s.StageState(0, D3DTSS_ALPHAARG1) & kArgumentMask));
  glUniform1i(u.alphaArg2, static_cast<GLint>(s.StageState(0, D3DTSS_ALPHAARG2) & kArgumentMask));
}

void ApplyRasterStates(const DeviceStates& s) {
  if (s.RenderState(D3DRS_ZENABLE) != D3DZB_FALSE) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GlCompare(s.RenderState(D3DRS_ZFUNC)));
  } else {
    glDisable(GL_DEPTH_TEST);
  }
  glDepthMask(s.RenderState(D3DRS_ZWRITEENABLE) ? GL_TRUE : GL_FALSE);

  if (s.RenderState(D3DRS_ALPHABLENDENABLE)) {
    glEnable(GL_BLEND);
    glBlendFunc(GlBlend(s.RenderState(D3DRS_SRCBLEND), GL_ONE), GlBlend(s.RenderState(D3DRS_DESTBLEND), GL_ZERO));
  } else {
    glDisable(GL_BLEND);
  }

  // Direct3D's culling names the winding on screen; drawn upside down, a
  // clockwise triangle turns counter-clockwise in the framebuffer.
  DWORD cull = s.RenderState(D3DRS_CULLMODE);
  if (cull == D3DCULL_CCW || cull == D3DCULL_CW) {
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glCullFace(cull == D3DCULL_CCW ? GL_BACK : GL_FRONT);
  } else {
    glDisable(GL_CULL_FACE);
  }
}

GLint GlMinFilter(DWORD minFilter, DWORD mipFilter, bool hasMipmaps) {
  bool linear = minFilter == D3DTEXF_LINEAR;
  if (!hasMipmaps || mipFilter == D3DTEXF_NONE) return linear ? GL_LINEAR : GL_NEAREST;
  if (mipFilter == D3DTEXF_LINEAR) return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
  return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
}

GLint GlMagFilter(DWORD magFilter) { return magFilter == D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST; }
