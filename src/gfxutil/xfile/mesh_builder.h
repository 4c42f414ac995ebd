// Turns the Meshes of an X file into one triangle list: normals split the
// vertices they disagree on, polygons become fans, vertices move by the frame
// transform, and each mesh is appended with its indices offset by the vertices
// and its attributes by the materials before it.
#pragma once
#include "gfxutil/xfile/mesh_data.h"

struct XRawMesh;

class XMeshBuilder {
 public:
  // Takes the mesh's arrays. A mesh without vertices is left out.
  void AddMesh(XRawMesh& mesh, const D3DXMATRIX& world);
  // Moves the merged mesh out; false when no mesh had a vertex. Meshes without
  // materials share one default material.
  bool Finish(XMeshData& out);

 private:
  // Appends the mesh's vertices, split, moved and merged, and frees its
  // per-vertex arrays.
  void AddVertices(XRawMesh& mesh, const D3DXMATRIX& world);
  // The vertices so far rewritten in the layout of a format with more
  // elements, the new ones zero: a later mesh has what the earlier lacked.
  void Relayout(DWORD fvf);

  XMeshData data_;
  bool usesDefaultMaterial_ = false;
};
