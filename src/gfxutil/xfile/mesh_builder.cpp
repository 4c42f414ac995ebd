#include "gfxutil/xfile/mesh_builder.h"

#include <algorithm>
#include <cstring>

#include "gfxutil/mesh/normal_split.h"
#include "gfxutil/xfile/raw_mesh.h"

namespace {

constexpr uint32_t kDefaultMaterial = UINT32_MAX;  // replaced once the material count is known

bool IsIdentity(const D3DXMATRIX& m) {
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  return std::memcmp(&m, &identity, sizeof m) == 0;
}

// Normals go through the inverse transpose of the 3x3 part, so that they stay
// perpendicular to faces that are scaled unevenly. A flattening transform has
// no inverse; its normals go through the matrix itself.
D3DXMATRIX NormalMatrix(const D3DXMATRIX& world) {
  D3DXMATRIX linear = world;
  linear._14 = linear._24 = linear._34 = linear._41 = linear._42 = linear._43 = 0.0f;
  linear._44 = 1.0f;
  D3DXMATRIX inverse;
  if (!D3DXMatrixInverse(&inverse, nullptr, &linear)) return linear;
  return *D3DXMatrixTranspose(&inverse, &inverse);
}

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

// Appends `values` plus `offset` each; the first mesh's array is taken over.
// Growing by resize keeps the vector's doubling: an exact reserve per mesh
// would copy everything merged so far for every mesh of a many-mesh file.
void AppendOffset(std::vector<uint32_t>& to, std::vector<uint32_t>&& values, uint32_t offset) {
  if (to.empty() && offset == 0) {
    to = std::move(values);
    return;
  }
  const size_t first = to.size();
  to.resize(first + values.size());
  std::transform(values.begin(), values.end(), to.begin() + static_cast<ptrdiff_t>(first),
                 [offset](uint32_t v) { return v + offset; });
  values = std::vector<uint32_t>();
}

// Polygons become fans, (v0,v1,v2), (v0,v2,v3), ...: the mesh's corners then
// hold triangles, and its face materials one for each triangle. A mesh of
// triangles only keeps its arrays.
void SplitIntoTriangles(XRawMesh& mesh) {
  if (mesh.AllTriangles()) return;
  size_t count = 0;
  for (size_t polygon = 0; polygon < mesh.FaceCount(); ++polygon) count += mesh.PolygonSize(polygon) - 2;
  std::vector<uint32_t> triangles(count * 3);
  std::vector<uint32_t> materials(mesh.faceMaterials.empty() ? 0 : count);
  uint32_t* triangle = triangles.data();
  uint32_t* material = materials.data();
  const uint32_t* corners = mesh.corners.data();
  for (size_t polygon = 0; polygon < mesh.FaceCount(); ++polygon) {
    const uint32_t size = mesh.PolygonSize(polygon);
    for (uint32_t k = 1; k + 1 < size; ++k, triangle += 3) {
      triangle[0] = corners[0];
      triangle[1] = corners[k];
      triangle[2] = corners[k + 1];
    }
    if (!materials.empty()) material = std::fill_n(material, size - 2, mesh.faceMaterials[polygon]);
    corners += size;
  }
  mesh.corners = std::move(triangles);
  if (!materials.empty()) mesh.faceMaterials = std::move(materials);
}

}  // namespace

void XMeshBuilder::Relayout(DWORD fvf) {
  const XVertexLayout from(data_.fvf), to(fvf);
  const size_t count = data_.VertexCount();
  std::vector<uint8_t> bytes(count * to.size);
  for (size_t i = 0; i < count; ++i) to.Write(from.Read(&data_.vertexBytes[i * from.size]), &bytes[i * to.size]);
  data_.vertexBytes = std::move(bytes);
  data_.fvf = fvf;
}

void XMeshBuilder::AddVertices(XRawMesh& mesh, const D3DXMATRIX& world) {
  DWORD fvf = data_.fvf;
  if (mesh.hasNormals) fvf |= D3DFVF_NORMAL;
  if (!mesh.colours.empty()) fvf |= D3DFVF_DIFFUSE;
  if (!mesh.texCoords.empty()) fvf |= D3DFVF_TEX1;
  if (fvf != data_.fvf) Relayout(fvf);
  const XVertexLayout layout(fvf);
  if (!mesh.hasNormals) mesh.split.originalCount = mesh.positions.size();
  const NormalSplit& split = mesh.split;
  const size_t firstVertex = data_.VertexCount();
  const bool moves = !IsIdentity(world);
  const D3DXMATRIX normalMatrix = moves ? NormalMatrix(world) : world;
  data_.vertexBytes.resize((firstVertex + split.VertexCount()) * layout.size);
  uint8_t* out = &data_.vertexBytes[firstVertex * layout.size];
  for (size_t i = 0; i < split.VertexCount(); ++i, out += layout.size) {
    XVertex vertex;
    uint32_t source = split.SourceOf(i);
    vertex.position = mesh.positions[source];
    if (moves) D3DXVec3TransformCoord(&vertex.position, &vertex.position, &world);
    if (mesh.hasNormals && split.normalIndex[i] != kNoNormal) {
      vertex.normal = mesh.normals[split.normalIndex[i]];
      if (moves) {
        D3DXVec3TransformNormal(&vertex.normal, &vertex.normal, &normalMatrix);
        D3DXVec3Normalize(&vertex.normal, &vertex.normal);
      }
    }
    if (!mesh.colours.empty()) vertex.colour = mesh.colours[source];
    if (!mesh.texCoords.empty()) {
      vertex.u = mesh.texCoords[source * 2];
      vertex.v = mesh.texCoords[source * 2 + 1];
    }
    layout.Write(vertex, out);
  }
  // Assigning {} to a vector would keep its storage.
  mesh.positions = std::vector<D3DXVECTOR3>();
  mesh.normals = std::vector<D3DXVECTOR3>();
  mesh.split = NormalSplit();
  mesh.colours = std::vector<D3DCOLOR>();
  mesh.texCoords = std::vector<float>();
}

void XMeshBuilder::AddMesh(XRawMesh& mesh, const D3DXMATRIX& world) {
  if (mesh.positions.empty()) return;
  const uint32_t firstVertex = static_cast<uint32_t>(data_.VertexCount());
  const uint32_t firstFace = static_cast<uint32_t>(data_.attributes.size());
  const uint32_t firstMaterial = static_cast<uint32_t>(data_.materials.size());
  // While the new vertices are built beside the mesh's own arrays, the faces'
  // materials wait in a byte each when they fit: the load's heap peak.
  std::vector<uint8_t> narrowMaterials;
  if (!mesh.faceMaterials.empty() &&
      *std::max_element(mesh.faceMaterials.begin(), mesh.faceMaterials.end()) <= UINT8_MAX) {
    narrowMaterials.assign(mesh.faceMaterials.begin(), mesh.faceMaterials.end());
    mesh.faceMaterials = std::vector<uint32_t>();
  }
  AddVertices(mesh, world);
  if (!narrowMaterials.empty()) {
    mesh.faceMaterials.assign(narrowMaterials.begin(), narrowMaterials.end());
    narrowMaterials = std::vector<uint8_t>();
  }

  SplitIntoTriangles(mesh);
  const size_t triangleCount = mesh.corners.size() / 3;
  AppendOffset(data_.indices, std::move(mesh.corners), firstVertex);
  if (mesh.materials.empty()) {
    data_.attributes.resize(firstFace + triangleCount, kDefaultMaterial);
    if (triangleCount > 0) usesDefaultMaterial_ = true;
  } else {
    AppendOffset(data_.attributes, std::move(mesh.faceMaterials), firstMaterial);
    SortFacesByAttribute(data_.indices.data() + size_t{firstFace} * 3, data_.attributes.data() + firstFace,
                         triangleCount, firstMaterial, mesh.materials.size());
    for (XMaterial& material : mesh.materials) data_.materials.push_back(std::move(material));
  }
  mesh = XRawMesh();
}

bool XMeshBuilder::Finish(XMeshData& out) {
  if (data_.vertexBytes.empty()) return false;
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
