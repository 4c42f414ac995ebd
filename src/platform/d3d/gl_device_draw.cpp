#include <algorithm>

#include "platform/d3d/gl_buffers.h"
#include "platform/d3d/gl_device.h"
#include "platform/d3d/gl_texture.h"

namespace {

enum Attribute : GLuint { kPosition = 0, kNormal = 1, kDiffuse = 2, kTexCoord = 3 };

GLenum GlPrimitive(D3DPRIMITIVETYPE type) {
  switch (type) {
    case D3DPT_POINTLIST: return GL_POINTS;
    case D3DPT_LINELIST: return GL_LINES;
    case D3DPT_LINESTRIP: return GL_LINE_STRIP;
    case D3DPT_TRIANGLELIST: return GL_TRIANGLES;
  }
  return GL_TRIANGLES;
}

// A software rasteriser (Mesa's llvmpipe) keeps every triangle it has set up
// binned until the frame is flushed, a few hundred bytes each: some 80 MB for
// a model of 400 000 triangles. Longer lists are drawn in pieces of this many
// primitives with a flush after each, so that the bins are worked off and
// their memory used again.
constexpr UINT kPrimitivesPerFlush = 16384;

const void* Offset(size_t base, int element) { return reinterpret_cast<const void*>(base + element); }

// Attribute arrays for the vertex format, reading the buffer bound to GL_ARRAY_BUFFER
// from byte `base`; absent elements take Direct3D's defaults (white diffuse).
void BindVertexAttributes(const VertexFormat& format, UINT stride, size_t base) {
  GLsizei s = static_cast<GLsizei>(stride);
  glEnableVertexAttribArray(kPosition);
  glVertexAttribPointer(kPosition, format.pretransformed ? 4 : 3, GL_FLOAT, GL_FALSE, s, Offset(base, 0));
  if (format.normalOffset >= 0) {
    glEnableVertexAttribArray(kNormal);
    glVertexAttribPointer(kNormal, 3, GL_FLOAT, GL_FALSE, s, Offset(base, format.normalOffset));
  } else {
    glDisableVertexAttribArray(kNormal);
    glVertexAttrib3f(kNormal, 0, 0, 0);
  }
  if (format.diffuseOffset >= 0) {
    // A D3DCOLOR is 0xAARRGGBB in a little-endian word: bytes B, G, R, A.
    glEnableVertexAttribArray(kDiffuse);
    glVertexAttribPointer(kDiffuse, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, s, Offset(base, format.diffuseOffset));
  } else {
    glDisableVertexAttribArray(kDiffuse);
    glVertexAttrib4f(kDiffuse, 1, 1, 1, 1);
  }
  if (format.texCoordOffset >= 0) {
    glEnableVertexAttribArray(kTexCoord);
    glVertexAttribPointer(kTexCoord, 2, GL_FLOAT, GL_FALSE, s, Offset(base, format.texCoordOffset));
  } else {
    glDisableVertexAttribArray(kTexCoord);
    glVertexAttrib2f(kTexCoord, 0, 0);
  }
}

}  // namespace

void GlDevice::PrepareDraw(const VertexFormat& format) {
  target_.Bind();
  ApplyRasterStates(states_);
  GlTexture* texture = textures_[0];
  bool textured = texture && texture->Name() != 0 && states_.StageState(0, D3DTSS_COLOROP) != D3DTOP_DISABLE;
  glBindTexture(GL_TEXTURE_2D, textured ? texture->Name() : 0);
  if (textured) {
    glSamplerParameteri(sampler_, GL_TEXTURE_MIN_FILTER,
                        GlMinFilter(states_.StageState(0, D3DTSS_MINFILTER), states_.StageState(0, D3DTSS_MIPFILTER),
                                    texture->HasMipmaps()));
    glSamplerParameteri(sampler_, GL_TEXTURE_MAG_FILTER, GlMagFilter(states_.StageState(0, D3DTSS_MAGFILTER)));
  }
  program_.Apply(states_, format, textured, target_.Width(), target_.Height());
}

void GlDevice::DrawFromStream(D3DPRIMITIVETYPE type, const VertexFormat& format, UINT stride, const void* vertices,
                              UINT vertexCount) {
  PrepareDraw(format);
  glBindBuffer(GL_ARRAY_BUFFER, streamBuffer_);
  // A new store each time: the driver keeps the old one for draws still in flight.
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertexCount) * stride, vertices, GL_STREAM_DRAW);
  BindVertexAttributes(format, stride, 0);
  glDrawArrays(GlPrimitive(type), 0, static_cast<GLsizei>(vertexCount));
  ++glDrawCount_;
}

void GlDevice::FlushPending() {
  if (batch_.Empty() || contextLost_) return;
  DrawFromStream(batch_.Type(), DescribeVertexFormat(batch_.Fvf()), batch_.Stride(), batch_.Bytes().data(),
                 batch_.VertexCount());
  batch_.Clear();
}

HRESULT GlDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices, UINT stride) {
  VertexFormat format = DescribeVertexFormat(states_.fvf);
  UINT vertexCount = VertexCountOf(type, primitiveCount);
  if (!vertices || !format.valid || stride < format.stride || vertexCount == 0 || primitiveCount > kMaxPrimitiveCount)
    return D3DERR_INVALIDCALL;
  if (contextLost_) return D3D_OK;  // a lost device draws nothing
  if (!batch_.Accepts(type, states_.fvf, stride)) FlushPending();
  if (PrimitiveBatch::Joinable(type)) {
    batch_.Add(type, states_.fvf, stride, vertices, vertexCount);
  } else {
    DrawFromStream(type, format, stride, vertices, vertexCount);
  }
  return D3D_OK;
}

HRESULT GlDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT numVertices, UINT startIndex,
                                       UINT primitiveCount) {
  (void)minIndex, (void)numVertices;  // OpenGL needs no hint of the vertex range
  VertexFormat format = DescribeVertexFormat(states_.fvf);
  UINT indexCount = VertexCountOf(type, primitiveCount);
  if (!streamSource_ || !indices_ || !format.valid || streamStride_ < format.stride || indexCount == 0 ||
      primitiveCount > kMaxPrimitiveCount || startIndex > indices_->IndexCount() ||
      indexCount > indices_->IndexCount() - startIndex)
    return D3DERR_INVALIDCALL;
  // Every index must name a vertex of the buffer; the range is scanned only
  // when the buffer as a whole holds an index beyond it.
  uint64_t vertexCount = streamSource_->Length() / streamStride_;
  auto fits = [&](uint32_t largest) { return static_cast<uint64_t>(baseVertexIndex_) + largest < vertexCount; };
  if (!fits(indices_->LargestIndexInBuffer()) && !fits(indices_->LargestIndex(startIndex, indexCount)))
    return D3DERR_INVALIDCALL;
  if (contextLost_) return D3D_OK;
  FlushPending();
  PrepareDraw(format);
  glBindBuffer(GL_ARRAY_BUFFER, streamSource_->Name());
  BindVertexAttributes(format, streamStride_, static_cast<size_t>(baseVertexIndex_) * streamStride_);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices_->Name());
  GLenum indexType = indices_->IndexSize() == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT;
  // Only lists split into pieces that draw the same primitives.
  UINT indicesPerPiece = type == D3DPT_LINESTRIP ? indexCount : VertexCountOf(type, kPrimitivesPerFlush);
  for (UINT done = 0; done < indexCount; done += indicesPerPiece) {
    UINT count = std::min(indicesPerPiece, indexCount - done);
    if (done > 0) glFlush();
    glDrawElements(GlPrimitive(type), static_cast<GLsizei>(count), indexType,
                   reinterpret_cast<const void*>(static_cast<size_t>(startIndex + done) * indices_->IndexSize()));
    ++glDrawCount_;
  }
  return D3D_OK;
}
