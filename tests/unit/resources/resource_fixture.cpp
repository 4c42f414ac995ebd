#include "resource_fixture.h"

#include <cstdio>

namespace {

std::string Number(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

std::string Vertices(const std::vector<D3DVECTOR>& points) {
  std::string text = std::to_string(points.size()) + ";\n";
  for (size_t i = 0; i < points.size(); ++i) {
    text += Number(points[i].x) + ";" + Number(points[i].y) + ";" + Number(points[i].z) + ";";
    text += i + 1 < points.size() ? ",\n" : ";\n";
  }
  return text;
}

std::string Faces(size_t count) {
  std::string text = std::to_string(count) + ";\n";
  for (size_t i = 0; i < count; ++i) {
    text += "3;" + std::to_string(3 * i) + "," + std::to_string(3 * i + 1) + "," + std::to_string(3 * i + 2) + ";";
    text += i + 1 < count ? ",\n" : ";\n";
  }
  return text;
}

}  // namespace

std::string MeshWithMaterials(const std::vector<TestMaterial>& materials) {
  std::vector<D3DVECTOR> points;
  for (size_t i = 0; i < materials.size(); ++i) {
    float x = static_cast<float>(i);
    points.push_back({x, 0, 0});
    points.push_back({x, 1, 0});
    points.push_back({x + 1, 0, 0});
  }
  std::string text = "xof 0302txt 0032\nMesh {\n" + Vertices(points) + Faces(materials.size());
  text += "MeshMaterialList {\n" + std::to_string(materials.size()) + ";\n" + std::to_string(materials.size()) + ";\n";
  for (size_t i = 0; i < materials.size(); ++i) text += std::to_string(i) + (i + 1 < materials.size() ? ",\n" : ";\n");
  for (const TestMaterial& m : materials) {
    text += "Material {\n" + Number(m.r) + ";" + Number(m.g) + ";" + Number(m.b) + ";" + Number(m.a) + ";;\n";
    text += "2.0;\n0.5;0.5;0.5;;\n" + Number(m.emissive) + ";0.0;0.0;;\n";
    if (!m.texture.empty()) text += "TextureFilename { \"" + m.texture + "\"; }\n";
    text += "}\n";
  }
  return text + "}\n}\n";
}

std::string MeshOverPoints(const std::vector<D3DVECTOR>& points) {
  return "xof 0302txt 0032\nMesh {\n" + Vertices(points) + Faces(points.size() / 3) + "}\n";
}
