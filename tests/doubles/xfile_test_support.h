// Shared helpers of the X-file tests.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gfxutil/xfile/reader.h"
#include "x_test_files.h"

inline HRESULT ReadX(const std::vector<uint8_t>& bytes, XMeshData& mesh, std::string* error = nullptr) {
  XReadError reason;
  HRESULT result = ReadXFileMemory(bytes, mesh, reason);
  if (error) *error = reason.Text();
  return result;
}

inline HRESULT ReadX(const std::string& text, XMeshData& mesh, std::string* error = nullptr) {
  return ReadX(Bytes(text), mesh, error);
}

// A file written into a directory of its own, removed with the object.
class TempFile {
 public:
  TempFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    char pattern[] = "/tmp/xfile_test_XXXXXX";
    directory_ = mkdtemp(pattern);
    path_ = directory_ + "/" + name;
    FILE* file = std::fopen(path_.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
  TempFile(const std::string& name, const std::string& text) : TempFile(name, Bytes(text)) {}
  ~TempFile() {
    std::remove(path_.c_str());
    rmdir(directory_.c_str());
  }
  const char* path() const { return path_.c_str(); }

 private:
  std::string directory_, path_;
};

// The corners of every face as (attribute, positions, normals, colour, uv),
// sorted, so that meshes can be compared whatever their face and vertex order.
inline std::vector<std::vector<float>> FaceSet(const XMeshData& mesh) {
  std::vector<std::vector<float>> faces;
  for (size_t f = 0; f < mesh.FaceCount(); ++f) {
    std::vector<float> face{static_cast<float>(mesh.attributes[f])};
    for (int k = 0; k < 3; ++k) {
      const XVertex v = mesh.Vertex(mesh.indices[f * 3 + k]);
      face.insert(face.end(), {v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z,
                               static_cast<float>(v.colour), v.u, v.v});
    }
    faces.push_back(face);
  }
  std::sort(faces.begin(), faces.end());
  return faces;
}

#define EXPECT_VEC3_NEAR(v, ex, ey, ez, tolerance) \
  do {                                             \
    EXPECT_NEAR((v).x, ex, tolerance);             \
    EXPECT_NEAR((v).y, ey, tolerance);             \
    EXPECT_NEAR((v).z, ez, tolerance);             \
  } while (0)
