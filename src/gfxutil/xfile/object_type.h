// The kinds of object the parser reads, and what it records of each object
// for the references ({ Name }, { <GUID> }) that may follow.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

enum class XType {
  Unknown,
  Frame,
  FrameTransformMatrix,
  Mesh,
  MeshNormals,
  MeshTextureCoords,
  MeshVertexColors,
  MeshMaterialList,
  Material,
  TextureFilename,
};

using XGuid = std::array<uint8_t, 16>;

// An object as a later reference finds it.
struct XObjectRecord {
  XType type = XType::Unknown;
  std::string name;  // empty when it has none
  bool hasGuid = false;
  XGuid guid{};
  size_t body = 0;  // just after the '{' (and GUID) of the object
};
