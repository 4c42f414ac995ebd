// One Mesh object as the file states it, before triangulation, normal
// splitting, transformation and merging.
#pragma once
#include <cstdint>
#include <vector>

#include "gfxutil/mesh/normal_split.h"
#include "gfxutil/xfile/mesh_data.h"

struct XRawMesh {
  std::vector<D3DXVECTOR3> positions;
  std::vector<uint32_t> corners;  // vertex index of each corner, polygon after polygon

  size_t FaceCount() const { return faceCount; }
  // Corners of the polygon, at least 3.
  uint32_t PolygonSize(size_t face) const { return allTriangles ? 3 : polygonSizes[face]; }
  bool AllTriangles() const { return allTriangles; }
  void AddPolygon(uint32_t size) {
    // Sizes are kept only once a polygon is not a triangle.
    if (size != 3 && allTriangles) {
      polygonSizes.assign(faceCount, 3);
      allTriangles = false;
    }
    if (!allTriangles) polygonSizes.push_back(size);
    ++faceCount;
  }
  void AddTriangles(size_t count) {
    if (!allTriangles) polygonSizes.insert(polygonSizes.end(), count, 3);
    faceCount += count;
  }

  // With normals, the corners refer to the vertices as split by normal.
  bool hasNormals = false;
  std::vector<D3DXVECTOR3> normals;  // unit length (or zero)
  NormalSplit split;

  // Empty when the mesh has none (a mesh without vertices is dropped).
  std::vector<float> texCoords;  // u, v per vertex
  std::vector<D3DCOLOR> colours;  // per vertex
  std::vector<uint32_t> faceMaterials;  // per polygon
  std::vector<XMaterial> materials;

 private:
  size_t faceCount = 0;
  bool allTriangles = true;
  std::vector<uint32_t> polygonSizes;  // kept once a polygon is not a triangle
};
