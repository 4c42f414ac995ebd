// Writers of X files for the tests and the load benchmarks: one model, or a
// tree of frames holding models, in text (with a choice of line ends,
// indentation and number form), binary (32- or 64-bit floats) and
// MSZIP-compressed form, and a builder of binary token streams.
#pragma once
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

struct XTestMaterial {
  std::array<float, 4> diffuse{1, 1, 1, 1};
  float power = 0;
  std::array<float, 3> specular{0, 0, 0};
  std::array<float, 3> emissive{0, 0, 0};
  std::string texture;  // empty: no TextureFilename
};

struct XTestModel {
  std::vector<std::array<float, 3>> positions;
  std::vector<uint32_t> polygonSizes;
  std::vector<uint32_t> corners;
  std::vector<std::array<float, 3>> normals;  // empty: no MeshNormals
  std::vector<uint32_t> normalCorners;        // same shape as corners
  std::vector<std::array<float, 2>> uvs;      // empty: no MeshTextureCoords
  std::vector<std::array<float, 4>> colours;  // r, g, b, a per vertex; empty: no MeshVertexColors
  std::vector<uint32_t> faceMaterials;        // empty: no MeshMaterialList
  std::vector<XTestMaterial> materials;
};

namespace xtest_detail {

// The quad a, b, d, c (c and d the next row's) as two triangles of one material.
inline void AddQuad(XTestModel& model, uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t material) {
  for (std::array<uint32_t, 3> triangle : {std::array<uint32_t, 3>{a, c, b}, std::array<uint32_t, 3>{b, c, d}}) {
    model.polygonSizes.push_back(3);
    model.corners.insert(model.corners.end(), triangle.begin(), triangle.end());
    model.faceMaterials.push_back(material);
  }
}

// Normals shared by the corners as by the positions, and `count` textured materials.
inline void FinishModel(XTestModel& model, uint32_t count) {
  model.normalCorners = model.corners;
  for (uint32_t m = 0; m < count; ++m) {
    XTestMaterial material;
    material.diffuse = {0.2f * m, 0.5f, 1.0f, 1.0f};
    material.texture = "tex" + std::to_string(m) + ".png";
    model.materials.push_back(material);
  }
}

}  // namespace xtest_detail

// Where the materials of a grid lie: bands of rows follow each other in file
// order; bands of columns interleave, each row visiting every band.
enum class XTestBands { Rows, Columns };

// A grid of columns x rows quads (two triangles each) with normals, texture
// coordinates and `materialCount` materials in bands.
inline XTestModel GridModel(uint32_t columns, uint32_t rows, uint32_t materialCount,
                            XTestBands bands = XTestBands::Rows) {
  XTestModel model;
  for (uint32_t y = 0; y <= rows; ++y) {
    for (uint32_t x = 0; x <= columns; ++x) {
      // Values that six decimals write exactly, so every form reads the same.
      model.positions.push_back({x * 2.5f, 0.125f * ((x + y) % 4), y * 2.5f});
      model.normals.push_back({0.0f, 1.0f, 0.0f});
      model.uvs.push_back({x * 0.25f, y * 0.25f});
    }
  }
  for (uint32_t y = 0; y < rows; ++y) {
    for (uint32_t x = 0; x < columns; ++x) {
      uint32_t a = y * (columns + 1) + x, c = a + columns + 1;
      xtest_detail::AddQuad(model, a, a + 1, c, c + 1,
                            bands == XTestBands::Rows ? y * materialCount / rows : x * materialCount / columns);
    }
  }
  xtest_detail::FinishModel(model, materialCount);
  return model;
}

// A closed tube of `segments` x `rings` vertices, the small part of an
// exporter's model, with normals, texture coordinates and `materialCount`
// materials taking turns quad by quad.
inline XTestModel TubeModel(uint32_t segments, uint32_t rings, uint32_t materialCount) {
  XTestModel model;
  for (uint32_t r = 0; r < rings; ++r) {
    for (uint32_t s = 0; s < segments; ++s) {
      // Angles whose sine and cosine need all of nine decimals.
      float angle = 6.2831853f * static_cast<float>(s) / static_cast<float>(segments);
      model.positions.push_back({0.37f * std::cos(angle), 0.29f * static_cast<float>(r), 0.37f * std::sin(angle)});
      model.normals.push_back({std::cos(angle), 0.0f, std::sin(angle)});
      model.uvs.push_back({static_cast<float>(s) / static_cast<float>(segments),
                           static_cast<float>(r) / static_cast<float>(rings)});
    }
  }
  for (uint32_t r = 0; r + 1 < rings; ++r) {
    for (uint32_t s = 0; s < segments; ++s) {
      uint32_t a = r * segments + s, b = r * segments + (s + 1) % segments;
      xtest_detail::AddQuad(model, a, b, a + segments, b + segments, (r * segments + s) % materialCount);
    }
  }
  xtest_detail::FinishModel(model, materialCount);
  return model;
}

// A frame of a model's tree: its transform (16 values, row after row) and
// the meshes and frames it holds.
struct XTestFrame {
  std::string name;
  std::array<float, 16> matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  std::vector<XTestModel> meshes;
  std::vector<XTestFrame> frames;
};

// How a text file is laid out: line ends, the indentation of each line in a
// list, and the printf form of each number.
struct XTextStyle {
  std::string lineEnd = "\n";
  std::string indent;
  const char* floatFormat = "%.6f";
};

namespace xtest_detail {

class TextWriter {
 public:
  TextWriter(std::string& out, const XTextStyle& style) : out_(out), style_(style) {}

  void Line(const std::string& text) { out_ += text + style_.lineEnd; }
  void Item(const std::string& text, bool last) {
    out_ += style_.indent + text + (last ? ";" : ",") + style_.lineEnd;
  }
  std::string Floats(const float* values, size_t count) const {
    std::string text;
    char number[48];
    for (size_t k = 0; k < count; ++k) {
      int length = std::snprintf(number, sizeof number, style_.floatFormat, values[k]);
      text.append(number, static_cast<size_t>(length));
      text += ';';
    }
    return text;
  }
  void Faces(const std::vector<uint32_t>& sizes, const std::vector<uint32_t>& corners) {
    Line(std::to_string(sizes.size()) + ";");
    size_t corner = 0;
    for (size_t f = 0; f < sizes.size(); ++f) {
      std::string face = std::to_string(sizes[f]) + ";";
      for (uint32_t k = 0; k < sizes[f]; ++k)
        face += std::to_string(corners[corner++]) + (k + 1 < sizes[f] ? "," : ";");
      Item(face, f + 1 == sizes.size());
    }
  }
  template <size_t N>
  void Vectors(const std::vector<std::array<float, N>>& vectors) {
    Line(std::to_string(vectors.size()) + ";");
    for (size_t i = 0; i < vectors.size(); ++i) Item(Floats(vectors[i].data(), N), i + 1 == vectors.size());
  }
  void Material(const XTestMaterial& m) {
    Line("Material {");
    Line(Floats(m.diffuse.data(), 4) + ";");
    Line(Floats(&m.power, 1));
    Line(Floats(m.specular.data(), 3) + ";");
    Line(Floats(m.emissive.data(), 3) + ";");
    if (!m.texture.empty()) {
      Line("TextureFilename {");
      Line("\"" + m.texture + "\";");
      Line("}");
    }
    Line("}");
  }
  void Mesh(const XTestModel& model, const std::string& name) {
    Line("Mesh " + name + " {");
    Vectors(model.positions);
    Faces(model.polygonSizes, model.corners);
    if (!model.normals.empty()) {
      Line("MeshNormals {");
      Vectors(model.normals);
      Faces(model.polygonSizes, model.normalCorners);
      Line("}");
    }
    if (!model.uvs.empty()) {
      Line("MeshTextureCoords {");
      Vectors(model.uvs);
      Line("}");
    }
    if (!model.colours.empty()) {
      Line("MeshVertexColors {");
      Line(std::to_string(model.colours.size()) + ";");
      for (size_t i = 0; i < model.colours.size(); ++i)
        Item(std::to_string(i) + ";" + Floats(model.colours[i].data(), 4) + ";", i + 1 == model.colours.size());
      Line("}");
    }
    if (!model.faceMaterials.empty()) {
      Line("MeshMaterialList {");
      Line(std::to_string(model.materials.size()) + ";");
      Line(std::to_string(model.faceMaterials.size()) + ";");
      for (size_t f = 0; f < model.faceMaterials.size(); ++f)
        Item(std::to_string(model.faceMaterials[f]), f + 1 == model.faceMaterials.size());
      for (const XTestMaterial& m : model.materials) Material(m);
      Line("}");
    }
    Line("}");
  }
  void Frame(const XTestFrame& frame) {
    Line("Frame " + frame.name + " {");
    Line("FrameTransformMatrix {");
    Line(Floats(frame.matrix.data(), 16) + ";");
    Line("}");
    for (size_t i = 0; i < frame.meshes.size(); ++i) Mesh(frame.meshes[i], frame.name + "_mesh" + std::to_string(i));
    for (const XTestFrame& child : frame.frames) Frame(child);
    Line("}");
  }

 private:
  std::string& out_;
  const XTextStyle& style_;
};

}  // namespace xtest_detail

inline std::string TextX(const XTestModel& model, const XTextStyle& style = {}) {
  std::string out;
  out.reserve(model.positions.size() * 160 + model.corners.size() * 20 + 1024);
  xtest_detail::TextWriter writer(out, style);
  writer.Line("xof 0303txt 0032");
  writer.Mesh(model, "model");
  return out;
}

inline std::string TextXFrames(const XTestFrame& root, const XTextStyle& style = {}) {
  std::string out;
  xtest_detail::TextWriter writer(out, style);
  writer.Line("xof 0303txt 0032");
  writer.Frame(root);
  return out;
}

// Binary token stream, written after a header of the caller's choice.
class BinaryX {
 public:
  explicit BinaryX(const char* header = "xof 0303bin 0032", bool doubles = false)
      : bytes_(header, header + 16), doubles_(doubles) {}

  BinaryX& Token(uint16_t token) {
    Put(token, 2);
    return *this;
  }
  BinaryX& Name(const std::string& name) { return Token(1).Count(name.size()).Bytes(name); }
  BinaryX& String(const std::string& text, char terminator = ';') {
    return Token(2).Count(text.size()).Bytes(text).Token(terminator == ';' ? 20 : 19);
  }
  BinaryX& Integer(uint32_t value) { return Token(3).Count(value); }
  BinaryX& Integers(const std::vector<uint32_t>& values) {
    Token(6).Count(values.size());
    for (uint32_t v : values) Put(v, 4);
    return *this;
  }
  BinaryX& Floats(const std::vector<float>& values) {
    Token(7).Count(values.size());
    for (float v : values) {
      if (doubles_) {
        double wide = v;
        uint64_t bits;
        std::memcpy(&bits, &wide, 8);
        Put(bits, 8);
      } else {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        Put(bits, 4);
      }
    }
    return *this;
  }
  BinaryX& Open() { return Token(10); }
  BinaryX& Close() { return Token(11); }
  BinaryX& Semicolon() { return Token(20); }
  BinaryX& Comma() { return Token(19); }
  BinaryX& Count(size_t value) {
    Put(value, 4);
    return *this;
  }
  BinaryX& Bytes(const std::string& text) {
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return *this;
  }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  void Put(uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
  }
  std::vector<uint8_t> bytes_;
  bool doubles_;
};

namespace xtest_detail {

inline void AppendBinaryMesh(BinaryX& x, const XTestModel& model, const std::string& name) {
  auto flat = [](const auto& vectors) {
    std::vector<float> out;
    for (const auto& v : vectors) out.insert(out.end(), v.begin(), v.end());
    return out;
  };
  auto faces = [&](const std::vector<uint32_t>& corners) {
    std::vector<uint32_t> list{static_cast<uint32_t>(model.polygonSizes.size())};
    size_t corner = 0;
    for (uint32_t size : model.polygonSizes) {
      list.push_back(size);
      for (uint32_t k = 0; k < size; ++k) list.push_back(corners[corner++]);
    }
    return list;
  };
  x.Name("Mesh").Name(name).Open();
  x.Integers({static_cast<uint32_t>(model.positions.size())}).Floats(flat(model.positions)).Integers(faces(model.corners));
  if (!model.normals.empty()) {
    x.Name("MeshNormals").Open().Integers({static_cast<uint32_t>(model.normals.size())}).Floats(flat(model.normals));
    x.Integers(faces(model.normalCorners)).Close();
  }
  if (!model.uvs.empty())
    x.Name("MeshTextureCoords").Open().Integers({static_cast<uint32_t>(model.uvs.size())}).Floats(flat(model.uvs)).Close();
  if (!model.colours.empty()) {
    x.Name("MeshVertexColors").Open().Integers({static_cast<uint32_t>(model.colours.size())});
    for (size_t i = 0; i < model.colours.size(); ++i)
      x.Integers({static_cast<uint32_t>(i)}).Floats({model.colours[i].begin(), model.colours[i].end()});
    x.Close();
  }
  if (!model.faceMaterials.empty()) {
    std::vector<uint32_t> list{static_cast<uint32_t>(model.materials.size()),
                               static_cast<uint32_t>(model.faceMaterials.size())};
    list.insert(list.end(), model.faceMaterials.begin(), model.faceMaterials.end());
    x.Name("MeshMaterialList").Open().Integers(list);
    for (const XTestMaterial& m : model.materials) {
      std::vector<float> values(m.diffuse.begin(), m.diffuse.end());
      values.push_back(m.power);
      values.insert(values.end(), m.specular.begin(), m.specular.end());
      values.insert(values.end(), m.emissive.begin(), m.emissive.end());
      x.Name("Material").Open().Floats(values);
      if (!m.texture.empty()) x.Name("TextureFilename").Open().String(m.texture).Close();
      x.Close();
    }
    x.Close();
  }
  x.Close();
}

inline void AppendBinaryFrame(BinaryX& x, const XTestFrame& frame) {
  x.Name("Frame").Name(frame.name).Open();
  x.Name("FrameTransformMatrix").Open().Floats({frame.matrix.begin(), frame.matrix.end()}).Close();
  for (size_t i = 0; i < frame.meshes.size(); ++i)
    AppendBinaryMesh(x, frame.meshes[i], frame.name + "_mesh" + std::to_string(i));
  for (const XTestFrame& child : frame.frames) AppendBinaryFrame(x, child);
  x.Close();
}

inline const char* BinaryHeader(bool doubles) { return doubles ? "xof 0303bin 0064" : "xof 0303bin 0032"; }

}  // namespace xtest_detail

inline std::vector<uint8_t> BinaryXFile(const XTestModel& model, bool doubles = false) {
  BinaryX x(xtest_detail::BinaryHeader(doubles), doubles);
  xtest_detail::AppendBinaryMesh(x, model, "model");
  return x.bytes();
}

inline std::vector<uint8_t> BinaryXFrames(const XTestFrame& root, bool doubles = false) {
  BinaryX x(xtest_detail::BinaryHeader(doubles), doubles);
  xtest_detail::AppendBinaryFrame(x, root);
  return x.bytes();
}

// The "tzip"/"bzip" form of a "txt "/"bin " file: 32 KiB chunks of raw deflate,
// each continuing the history of the ones before it.
inline std::vector<uint8_t> CompressX(const std::vector<uint8_t>& file, size_t chunkSize = 32768, int level = 9) {
  std::vector<uint8_t> out(file.begin(), file.begin() + 16);
  const bool binary = file[8] == 'b';
  std::memcpy(out.data() + 8, binary ? "bzip" : "tzip", 4);
  uint32_t total = static_cast<uint32_t>(file.size());
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(total >> (8 * i)));
  z_stream stream{};
  deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::vector<uint8_t> packed(compressBound(static_cast<uLong>(chunkSize)) + 64);
  for (size_t pos = 16; pos < file.size(); pos += chunkSize) {
    size_t size = std::min(chunkSize, file.size() - pos);
    deflateReset(&stream);
    size_t history = std::min<size_t>(pos - 16, 32768);
    if (history > 0) deflateSetDictionary(&stream, file.data() + pos - history, static_cast<uInt>(history));
    stream.next_in = const_cast<Bytef*>(file.data() + pos);
    stream.avail_in = static_cast<uInt>(size);
    stream.next_out = packed.data();
    stream.avail_out = static_cast<uInt>(packed.size());
    deflate(&stream, Z_FINISH);
    size_t packedSize = packed.size() - stream.avail_out;
    uint16_t words[2] = {static_cast<uint16_t>(size), static_cast<uint16_t>(packedSize + 2)};
    for (uint16_t w : words) {
      out.push_back(static_cast<uint8_t>(w));
      out.push_back(static_cast<uint8_t>(w >> 8));
    }
    out.push_back('C');
    out.push_back('K');
    out.insert(out.end(), packed.begin(), packed.begin() + static_cast<ptrdiff_t>(packedSize));
  }
  deflateEnd(&stream);
  return out;
}

inline std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
