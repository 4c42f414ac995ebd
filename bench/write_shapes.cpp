// Writes the family of file shapes that bench/peers.sh loads: a base shape and
// variants that each change one thing of it (size, the vertex elements, the
// materials, quads, line ends, indentation, number form, many small meshes in
// nested frames, binary floats, MSZIP), so that a loading speed is measured on
// every shape real exporters write, not on one.
//   write_shapes <directory> [shape...]   (every shape when none is named)
// prints a line per shape: its name, its file and the bytes of the mesh the
// viewer makes of it (vertices with their elements, 32-bit indices and one
// attribute per triangle).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "x_test_files.h"

namespace {

enum class Form { Text, Binary32, Binary64, Compressed };

struct Shape {
  const char* name;
  double megabytes = 40;  // of the base's text: sets the grid's size
  bool normals = true, uvs = true, colours = false;
  uint32_t materials = 3;  // in bands of columns, interleaving in file order
  bool quads = false;      // faces of four corners, as modellers write them, instead of triangles
  bool manyMeshes = false;
  XTextStyle style{"\n", "  ", "%.6f"};
  Form form = Form::Text;
};

// The many-meshes shape as an exporter writes it: 800 tubes of 240 vertices
// and 432 faces, each in a frame that moves it, 40 frames in each of 20 groups.
constexpr uint32_t kGroups = 20, kPartsPerGroup = 40;

std::vector<Shape> Shapes() {
  const XTextStyle exporter{"\r\n", "\t", "%.9f"};
  std::vector<Shape> shapes = {
      {.name = "base"},
      {.name = "size-1mb", .megabytes = 1},
      {.name = "size-10mb", .megabytes = 10},
      {.name = "size-60mb", .megabytes = 60},
      {.name = "no-normals", .normals = false},
      {.name = "no-texcoords", .uvs = false},
      {.name = "colours", .colours = true},
      {.name = "one-material", .materials = 1},
      {.name = "quads", .quads = true},
      {.name = "crlf", .style = {"\r\n", "  ", "%.6f"}},
      {.name = "tabs", .style = {"\n", "\t", "%.6f"}},
      {.name = "decimals-9", .style = {"\n", "  ", "%.9f"}},
      {.name = "exponents", .style = {"\n", "  ", "%.6e"}},
      {.name = "many-meshes", .manyMeshes = true},
      {.name = "exporter", .manyMeshes = true, .style = exporter},
      {.name = "binary32", .form = Form::Binary32},
      {.name = "binary64", .form = Form::Binary64},
      {.name = "mszip", .form = Form::Compressed},
      {.name = "binary-many-meshes", .manyMeshes = true, .form = Form::Binary32},
  };
  return shapes;
}

// Each pair of triangles a, c, b and b, c, d that the models are made of as the quad a, c, d, b.
void JoinIntoQuads(XTestModel& model) {
  std::vector<uint32_t> corners, materials;
  for (size_t pair = 0; pair < model.polygonSizes.size() / 2; ++pair) {
    const uint32_t* t = &model.corners[pair * 6];
    corners.insert(corners.end(), {t[0], t[1], t[5], t[2]});
    materials.push_back(model.faceMaterials[pair * 2]);
  }
  model.polygonSizes.assign(materials.size(), 4);
  model.normalCorners = corners;
  model.corners = std::move(corners);
  model.faceMaterials = std::move(materials);
}

void Adapt(XTestModel& model, const Shape& shape) {
  if (shape.quads) JoinIntoQuads(model);
  if (!shape.normals) model.normals.clear(), model.normalCorners.clear();
  if (!shape.uvs) model.uvs.clear();
  if (shape.colours)
    for (size_t i = 0; i < model.positions.size(); ++i)
      model.colours.push_back({0.25f * (i % 5), 0.5f, 0.125f * (i % 9), 1.0f});
}

XTestModel GridOf(const Shape& shape) {
  // The 500 x 400 grid writes 40 MB of text.
  double scale = std::sqrt(shape.megabytes / 40.0);
  XTestModel model = GridModel(static_cast<uint32_t>(500 * scale), static_cast<uint32_t>(400 * scale),
                               shape.materials, XTestBands::Columns);
  Adapt(model, shape);
  return model;
}

XTestFrame PartsOf(const Shape& shape) {
  XTestFrame root;
  root.name = "Scene";
  XTestModel tube = TubeModel(24, 10, shape.materials);
  Adapt(tube, shape);
  for (uint32_t g = 0; g < kGroups; ++g) {
    XTestFrame group;
    group.name = "Group" + std::to_string(g);
    group.matrix[13] = 3.0f * static_cast<float>(g);
    for (uint32_t p = 0; p < kPartsPerGroup; ++p) {
      XTestFrame part;
      part.name = "Part" + std::to_string(g) + "_" + std::to_string(p);
      part.matrix[12] = 1.0f * static_cast<float>(p);
      part.matrix[14] = 0.5f * static_cast<float>(p % 3);
      part.meshes.push_back(tube);
      group.frames.push_back(std::move(part));
    }
    root.frames.push_back(std::move(group));
  }
  return root;
}

size_t MeshBytes(const XTestModel& model, size_t copies) {
  size_t vertexSize = 12 + (model.normals.empty() ? 0 : 12) + (model.colours.empty() ? 0 : 4) +
                      (model.uvs.empty() ? 0 : 8);
  size_t triangles = 0;
  for (uint32_t size : model.polygonSizes) triangles += size - 2;
  return copies * (model.positions.size() * vertexSize + triangles * (3 * 4 + 4));
}

void Write(const std::string& path, const uint8_t* bytes, size_t size) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
}

void WriteShape(const Shape& shape, const std::string& directory) {
  std::string path = directory + "/" + shape.name + ".x";
  std::vector<uint8_t> binary;
  std::string text;
  size_t meshBytes;
  const bool doubles = shape.form == Form::Binary64;
  if (shape.manyMeshes) {
    XTestFrame root = PartsOf(shape);
    meshBytes = MeshBytes(root.frames[0].frames[0].meshes[0], kGroups * kPartsPerGroup);
    if (shape.form == Form::Text) text = TextXFrames(root, shape.style);
    else binary = BinaryXFrames(root, doubles);
  } else {
    XTestModel model = GridOf(shape);
    meshBytes = MeshBytes(model, 1);
    if (shape.form == Form::Text) text = TextX(model, shape.style);
    else binary = BinaryXFile(model, doubles);
  }
  if (shape.form == Form::Compressed) binary = CompressX(binary);
  if (shape.form == Form::Text) Write(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
  else Write(path, binary.data(), binary.size());
  std::printf("%s %s %zu\n", shape.name, path.c_str(), meshBytes);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <directory> [shape...]\n", argv[0]);
    return 1;
  }
  std::vector<std::string> chosen(argv + 2, argv + argc);
  bool anyWritten = false;
  for (const Shape& shape : Shapes()) {
    if (!chosen.empty() && std::find(chosen.begin(), chosen.end(), shape.name) == chosen.end()) continue;
    WriteShape(shape, argv[1]);
    anyWritten = true;
  }
  if (!anyWritten) {
    std::fprintf(stderr, "no such shape; the shapes are:");
    for (const Shape& shape : Shapes()) std::fprintf(stderr, " %s", shape.name);
    std::fprintf(stderr, "\n");
    return 1;
  }
  return 0;
}
