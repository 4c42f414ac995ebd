#include "gfxutil/mesh_builder.h"

#include <algorithm>
#include <cstring>

#include "gfxutil/mesh_normal_split.h"
#include "gfxutil/xfile_raw_mesh.h"

namespace {

constexpr uint32_t kDefaultMaterial = UINT32_MAX;  // replaced once the material count is known

bool IsIdentity(const D3DXMATRIX& m) {
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  return std::memcmp(&m, &identity, sizeof m) == 0;
}

// Normals go through the inverse transpose of the 3x3 part: its cofactors
// divided by the determinant, of which only the sign matters before the
// normal is renormalised.
struct NormalTransform {
  float m[3][3];

  explicit NormalTransform(const D3DXMATRIX& w) {
    auto a = [&](int r, int c) { return w.m[r][c]; };
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 3; ++c) {
        int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
        m[r][c] = a(r1, c1) * a(r2, c2) - a(r1, c2) * a(r2, c1);
      }
    }
    float determinant = a(0, 0) * m[0][0] + a(0, 1) * m[0][1] + a(0, 2) * m[0][2];
    if (determinant < 0)
      for (auto& row : m)
        for (float& value : row) value = -value;
  }

  D3DXVECTOR3 Apply(const D3DXVECTOR3& n) const {
    D3DXVECTOR3 out(n.x * m[0][0] + n.y * m[1][0] + n.z * m[2][0], n.x * m[0][1] + n.y * m[1][1] + n.z * m[2][1],
                    n.x * m[0][2] + n.y * m[1][2] + n.z * m[2][2]);
    D3DXVec3Normalize(&out, &out);
    return out;
  }
};

// Native loading sorts each mesh's faces by attribute, keeping file order
// within an attribute. The mesh's attributes run from `first` to first + count.
void SortFacesByAttribute(uint32_t* indices, uint32_t* attributes, size_t faceCount, uint32_t first, size_t count) {
  if (std::is_sorted(attributes, attributes + faceCount)) return;
  std::vector<size_t> start(count + 1, 0);
  for (size_t f = 0; f < faceCount; ++f) ++start[attributes[f] - first + 1];
  for (size_t m = 0; m < count; ++m) start[m + 1] += start[m];
  std::vector<uint32_t> sortedIndices(faceCount * 3), sortedAttributes(faceCount);
  for (size_t f = 0; f < faceCount; ++f) {
    size_t to = start[attributes[f] - first]++;
    sortedAttributes[to] = attributes[f];
    std::copy_n(indices + f * 3, 3, sortedIndices.begin() + static_cast<ptrdiff_t>(to * 3));
  }
  std::copy(sortedIndices.begin(), sortedIndices.end(), indices);
  std::copy(sortedAttributes.begin(), sortedAttributes.end(), attributes);
}

}  // namespace

void XMeshBuilder::AddMesh(XRawMesh& mesh, const D3DXMATRIX& world) {
  if (mesh.positions.empty()) return;
  NormalSplit split;
  if (mesh.hasNormals) {
    split = SplitVerticesByNormal(mesh.positions.size(), mesh.corners, mesh.normalCorners, mesh.normals);
    data_.fvf |= D3DFVF_NORMAL;
  } else {
    split.originalCount = mesh.positions.size();
  }
  if (mesh.hasColours) data_.fvf |= D3DFVF_DIFFUSE;
  if (mesh.hasTexCoords) data_.fvf |= D3DFVF_TEX1;

  const size_t firstVertex = data_.vertices.size();
  const bool moves = !IsIdentity(world);
  const NormalTransform normalTransform(world);
  data_.vertices.resize(firstVertex + split.VertexCount());
  for (size_t i = 0; i < split.VertexCount(); ++i) {
    XVertex& vertex = data_.vertices[firstVertex + i];
    uint32_t source = split.SourceOf(i);
    vertex.position = mesh.positions[source];
    if (moves) D3DXVec3TransformCoord(&vertex.position, &vertex.position, &world);
    if (mesh.hasNormals && split.normalIndex[i] != kNoNormal) {
      const D3DXVECTOR3& normal = mesh.normals[split.normalIndex[i]];
      vertex.normal = moves ? normalTransform.Apply(normal) : normal;
    }
    if (mesh.hasColours) vertex.colour = mesh.colours[source];
    if (mesh.hasTexCoords) {
      vertex.u = mesh.texCoords[source * 2];
      vertex.v = mesh.texCoords[source * 2 + 1];
    }
  }

  const size_t firstFace = data_.attributes.size();
  const uint32_t firstMaterial = static_cast<uint32_t>(data_.materials.size());
  size_t triangles = 0;
  for (uint32_t size : mesh.polygonSizes) triangles += size - 2;
  data_.indices.reserve(data_.indices.size() + triangles * 3);
  data_.attributes.reserve(firstFace + triangles);
  size_t corner = 0;
  for (size_t polygon = 0; polygon < mesh.polygonSizes.size(); ++polygon) {
    uint32_t size = mesh.polygonSizes[polygon];
    uint32_t attribute = mesh.hasMaterials ? firstMaterial + mesh.faceMaterials[polygon] : kDefaultMaterial;
    auto vertexAt = [&](size_t k) { return static_cast<uint32_t>(firstVertex + mesh.corners[corner + k]); };
    for (uint32_t k = 1; k + 1 < size; ++k) {
      data_.indices.insert(data_.indices.end(), {vertexAt(0), vertexAt(k), vertexAt(k + 1)});
      data_.attributes.push_back(attribute);
    }
    corner += size;
  }

  if (mesh.hasMaterials) {
    SortFacesByAttribute(data_.indices.data() + firstFace * 3, data_.attributes.data() + firstFace, triangles,
                         firstMaterial, mesh.materials.size());
    for (XMaterial& material : mesh.materials) data_.materials.push_back(std::move(material));
  } else if (triangles > 0) {
    usesDefaultMaterial_ = true;
  }
  mesh = XRawMesh();
}

bool XMeshBuilder::Finish(XMeshData& out) {
  if (data_.vertices.empty()) return false;
  if (usesDefaultMaterial_ || data_.materials.empty()) {
    uint32_t id = static_cast<uint32_t>(data_.materials.size());
    data_.materials.push_back(DefaultXMaterial());
    std::replace(data_.attributes.begin(), data_.attributes.end(), kDefaultMaterial, id);
  }
  out = std::move(data_);
  data_ = XMeshData();
  usesDefaultMaterial_ = false;
  return true;
}
