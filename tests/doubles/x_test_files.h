// Writers of X files for the tests and the load benchmark: one model in text,
// binary (32- or 64-bit floats) and MSZIP-compressed form, and a builder of
// binary token streams.
#pragma once
#include <zlib.h>

#include <algorithm>
#include <array>
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
  std::vector<uint32_t> faceMaterials;        // empty: no MeshMaterialList
  std::vector<XTestMaterial> materials;
};

// A grid of columns x rows quads (two triangles each) with normals, texture
// coordinates and `materialCount` materials in bands.
inline XTestModel GridModel(uint32_t columns, uint32_t rows, uint32_t materialCount) {
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
      uint32_t a = y * (columns + 1) + x, b = a + 1, c = a + columns + 1, d = c + 1;
      for (std::array<uint32_t, 3> triangle : {std::array<uint32_t, 3>{a, c, b}, std::array<uint32_t, 3>{b, c, d}}) {
        model.polygonSizes.push_back(3);
        model.corners.insert(model.corners.end(), triangle.begin(), triangle.end());
        model.faceMaterials.push_back(y * materialCount / rows);
      }
    }
  }
  model.normalCorners = model.corners;
  for (uint32_t m = 0; m < materialCount; ++m) {
    XTestMaterial material;
    material.diffuse = {0.2f * m, 0.5f, 1.0f, 1.0f};
    material.texture = "tex" + std::to_string(m) + ".png";
    model.materials.push_back(material);
  }
  return model;
}

namespace xtest_detail {

inline void AppendFloat(std::string& out, float value, char separator) {
  char text[32];
  int length = std::snprintf(text, sizeof text, "%.6f%c", value, separator);
  out.append(text, static_cast<size_t>(length));
}

inline void AppendFaces(std::string& out, const std::vector<uint32_t>& sizes, const std::vector<uint32_t>& corners) {
  out += std::to_string(sizes.size()) + ";\n";
  size_t corner = 0;
  for (size_t f = 0; f < sizes.size(); ++f) {
    out += std::to_string(sizes[f]) + ";";
    for (uint32_t k = 0; k < sizes[f]; ++k)
      out += std::to_string(corners[corner++]) + (k + 1 < sizes[f] ? "," : ";");
    out += f + 1 < sizes.size() ? ",\n" : ";\n";
  }
}

template <size_t N>
void AppendVectors(std::string& out, const std::vector<std::array<float, N>>& vectors) {
  out += std::to_string(vectors.size()) + ";\n";
  for (size_t i = 0; i < vectors.size(); ++i) {
    for (size_t k = 0; k < N; ++k) AppendFloat(out, vectors[i][k], ';');
    out += i + 1 < vectors.size() ? ",\n" : ";\n";
  }
}

}  // namespace xtest_detail

inline std::string TextX(const XTestModel& model) {
  using namespace xtest_detail;
  std::string out = "xof 0303txt 0032\n";
  out.reserve(model.positions.size() * 160 + model.corners.size() * 20 + 1024);
  out += "Mesh model {\n";
  AppendVectors(out, model.positions);
  AppendFaces(out, model.polygonSizes, model.corners);
  if (!model.normals.empty()) {
    out += "MeshNormals {\n";
    AppendVectors(out, model.normals);
    AppendFaces(out, model.polygonSizes, model.normalCorners);
    out += "}\n";
  }
  if (!model.uvs.empty()) {
    out += "MeshTextureCoords {\n";
    AppendVectors(out, model.uvs);
    out += "}\n";
  }
  if (!model.faceMaterials.empty()) {
    out += "MeshMaterialList {\n" + std::to_string(model.materials.size()) + ";\n" +
           std::to_string(model.faceMaterials.size()) + ";\n";
    for (size_t f = 0; f < model.faceMaterials.size(); ++f)
      out += std::to_string(model.faceMaterials[f]) + (f + 1 < model.faceMaterials.size() ? ",\n" : ";\n");
    for (const XTestMaterial& m : model.materials) {
      out += "Material {\n";
      for (float c : m.diffuse) AppendFloat(out, c, ';');
      out += ";\n";
      AppendFloat(out, m.power, ';');
      out += "\n";
      for (float c : m.specular) AppendFloat(out, c, ';');
      out += ";\n";
      for (float c : m.emissive) AppendFloat(out, c, ';');
      out += ";\n";
      if (!m.texture.empty()) out += "TextureFilename {\n\"" + m.texture + "\";\n}\n";
      out += "}\n";
    }
    out += "}\n";
  }
  out += "}\n";
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

inline std::vector<uint8_t> BinaryXFile(const XTestModel& model, bool doubles = false) {
  BinaryX x(doubles ? "xof 0303bin 0064" : "xof 0303bin 0032", doubles);
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
  x.Name("Mesh").Name("model").Open();
  x.Integers({static_cast<uint32_t>(model.positions.size())}).Floats(flat(model.positions)).Integers(faces(model.corners));
  if (!model.normals.empty()) {
    x.Name("MeshNormals").Open().Integers({static_cast<uint32_t>(model.normals.size())}).Floats(flat(model.normals));
    x.Integers(faces(model.normalCorners)).Close();
  }
  if (!model.uvs.empty())
    x.Name("MeshTextureCoords").Open().Integers({static_cast<uint32_t>(model.uvs.size())}).Floats(flat(model.uvs)).Close();
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
  return x.bytes();
}

// The "tzip"/"bzip" form of a "txt "/"bin " file: 32 KiB chunks of raw deflate,
// each continuing the history of the ones before it.
inline std::vector<uint8_t> CompressX(const std::vector<uint8_t>& file, size_t chunkSize = 32768) {
  std::vector<uint8_t> out(file.begin(), file.begin() + 16);
  const bool binary = file[8] == 'b';
  std::memcpy(out.data() + 8, binary ? "bzip" : "tzip", 4);
  uint32_t total = static_cast<uint32_t>(file.size());
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(total >> (8 * i)));
  z_stream stream{};
  deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
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
