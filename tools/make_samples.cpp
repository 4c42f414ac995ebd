// Writes the sample plug-ins: one directory per kind (Train, Struct, Station,
// Surface) and one bare model, each with its model in the X text format and
// its textures. Definition files are written in code page 932 with CRLF line
// ends, as plug-ins made on Windows are.
//
// Usage: make_samples <output directory>     (normally: make_samples samples)
#include <iconv.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// jpeglib.h needs FILE declared first.
#include <jpeglib.h>
#include <png.h>

namespace {

// ---------------------------------------------------------------- geometry

struct Vec3 {
  float x, y, z;
};
Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec3 Normalize(Vec3 a) {
  float length = std::sqrt(Dot(a, a));
  return length > 0 ? a * (1.0f / length) : a;
}
constexpr Vec3 kUp{0, 1, 0};
Vec3 Upward(Vec3 a) { return a.y < 0 ? a * -1 : a; }
constexpr float kPi = 3.14159265f;

struct Vertex {
  Vec3 position;
  Vec3 normal;
  float u, v;
};

struct Material {
  float r, g, b, a;
  float power;
  Vec3 specular;
  Vec3 emissive;
  std::string texture;  // written into the X file as it stands
};

struct Triangle {
  uint32_t index[3];
  int material;
};

// How a flat face gets its texture coordinates: tiled by model units, or
// stretched once over the face.
struct Mapping {
  bool fit;
  float uSize, vSize;
};
constexpr Mapping kFit{true, 1, 1};
Mapping Tiled(float uSize, float vSize) { return {false, uSize, vSize}; }

class MeshBuilder {
 public:
  int AddMaterial(const Material& material) {
    materials.push_back(material);
    return static_cast<int>(materials.size()) - 1;
  }

  // A flat polygon (3 or 4 corners, in order around it). The corners are
  // wound so that the front (clockwise on screen) faces `outward`.
  void Polygon(std::vector<Vec3> corners, Vec3 outward, int material, Mapping mapping) {
    Vec3 normal = Normalize(outward);
    if (Dot(Cross(corners[1] - corners[0], corners[2] - corners[0]), normal) < 0) {
      std::reverse(corners.begin(), corners.end());
    }
    Vec3 uAxis, vAxis;
    FaceAxes(normal, &uAxis, &vAxis);
    std::vector<float> us, vs;
    for (Vec3 c : corners) {
      us.push_back(Dot(c, uAxis) / mapping.uSize);
      vs.push_back(Dot(c, vAxis) / mapping.vSize);
    }
    if (mapping.fit) {
      Stretch(us);
      Stretch(vs);
    }
    uint32_t first = static_cast<uint32_t>(vertices.size());
    for (size_t i = 0; i < corners.size(); ++i) vertices.push_back({corners[i], normal, us[i], vs[i]});
    for (uint32_t i = 1; i + 1 < corners.size(); ++i) triangles.push_back({{first, first + i, first + i + 1}, material});
  }

  // Axis-aligned box; the top face may take its own material.
  void Box(Vec3 lo, Vec3 hi, int sideMaterial, int topMaterial, Mapping mapping) {
    Vec3 c[8];
    for (int i = 0; i < 8; ++i) c[i] = {(i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z};
    Polygon({c[0], c[2], c[6], c[4]}, {-1, 0, 0}, sideMaterial, mapping);
    Polygon({c[1], c[3], c[7], c[5]}, {1, 0, 0}, sideMaterial, mapping);
    Polygon({c[0], c[1], c[5], c[4]}, {0, -1, 0}, sideMaterial, mapping);
    Polygon({c[2], c[3], c[7], c[6]}, {0, 1, 0}, topMaterial, mapping);
    Polygon({c[0], c[1], c[3], c[2]}, {0, 0, -1}, sideMaterial, mapping);
    Polygon({c[4], c[5], c[7], c[6]}, {0, 0, 1}, sideMaterial, mapping);
  }
  void Box(Vec3 lo, Vec3 hi, int material, Mapping mapping) { Box(lo, hi, material, material, mapping); }

  // Cylinder around an axis through `centre`, smooth sides, flat caps.
  void Cylinder(Vec3 centre, Vec3 axis, float radius, float halfLength, int segments, int sideMaterial,
                int capMaterial) {
    axis = Normalize(axis);
    Vec3 across = std::fabs(axis.y) > 0.9f ? Vec3{1, 0, 0} : kUp;
    Vec3 a = Normalize(Cross(axis, across));
    Vec3 b = Cross(axis, a);
    auto ring = [&](int i) {
      float angle = 2 * kPi * static_cast<float>(i) / static_cast<float>(segments);
      return a * std::cos(angle) + b * std::sin(angle);
    };
    for (int i = 0; i < segments; ++i) {
      Vec3 d0 = ring(i), d1 = ring(i + 1);
      Vec3 p[4] = {centre + d0 * radius - axis * halfLength, centre + d1 * radius - axis * halfLength,
                   centre + d1 * radius + axis * halfLength, centre + d0 * radius + axis * halfLength};
      float u0 = static_cast<float>(i) / static_cast<float>(segments);
      float u1 = static_cast<float>(i + 1) / static_cast<float>(segments);
      uint32_t first = static_cast<uint32_t>(vertices.size());
      vertices.push_back({p[0], d0, u0, 1});
      vertices.push_back({p[1], d1, u1, 1});
      vertices.push_back({p[2], d1, u1, 0});
      vertices.push_back({p[3], d0, u0, 0});
      AddQuadTriangles(first, (d0 + d1) * 0.5f, sideMaterial);
    }
    for (float side : {-1.0f, 1.0f}) {
      std::vector<Vec3> cap;
      for (int i = 0; i < segments; ++i) cap.push_back(centre + axis * (side * halfLength) + ring(i) * radius);
      for (int i = 1; i + 1 < segments; ++i) {
        Polygon({cap[0], cap[static_cast<size_t>(i)], cap[static_cast<size_t>(i) + 1]}, axis * side, capMaterial,
                Tiled(2 * radius, 2 * radius));
      }
    }
  }

  // Gabled roof over a rectangle, ridge along X.
  void GableRoof(float x0, float x1, float z0, float z1, float eave, float ridge, int material, Mapping mapping) {
    float zm = (z0 + z1) * 0.5f;
    Vec3 a{x0, eave, z0}, b{x1, eave, z0}, c{x1, ridge, zm}, d{x0, ridge, zm}, e{x1, eave, z1}, f{x0, eave, z1};
    Polygon({a, b, c, d}, Upward(Cross(b - a, d - a)), material, mapping);
    Polygon({f, e, c, d}, Upward(Cross(e - f, d - f)), material, mapping);
    Polygon({a, d, f}, {-1, 0, 0}, material, mapping);
    Polygon({b, c, e}, {1, 0, 0}, material, mapping);
  }

  // Curved car roof: an arc across X from -halfWidth to +halfWidth, extruded
  // along Z, with flat ends.
  void ArcRoof(float halfWidth, float base, float rise, float z0, float z1, int segments, int material,
               Mapping mapping) {
    auto height = [&](float x) { return base + rise * (1 - (x / halfWidth) * (x / halfWidth)); };
    std::vector<Vec3> front, back;
    for (int i = 0; i <= segments; ++i) {
      float x = -halfWidth + 2 * halfWidth * static_cast<float>(i) / static_cast<float>(segments);
      front.push_back({x, height(x), z0});
      back.push_back({x, height(x), z1});
    }
    for (int i = 0; i < segments; ++i) {
      size_t k = static_cast<size_t>(i);
      Vec3 slope = front[k + 1] - front[k];
      Polygon({front[k], front[k + 1], back[k + 1], back[k]}, Upward(Cross(Vec3{0, 0, 1}, slope)), material, mapping);
    }
    for (int i = 1; i < segments; ++i) {
      size_t k = static_cast<size_t>(i);
      Polygon({front[0], front[k], front[k + 1]}, {0, 0, -1}, material, mapping);
      Polygon({back[0], back[k], back[k + 1]}, {0, 0, 1}, material, mapping);
    }
  }

  // Smooth height field over a grid, texture tiled every `tile` units.
  template <typename Height>
  void Terrain(float x0, float x1, float z0, float z1, int cellsX, int cellsZ, float tile, int material,
               Height height) {
    float dx = (x1 - x0) / static_cast<float>(cellsX), dz = (z1 - z0) / static_cast<float>(cellsZ);
    uint32_t first = static_cast<uint32_t>(vertices.size());
    for (int j = 0; j <= cellsZ; ++j) {
      for (int i = 0; i <= cellsX; ++i) {
        float x = x0 + dx * static_cast<float>(i), z = z0 + dz * static_cast<float>(j);
        float e = 0.5f;
        Vec3 normal = Normalize({height(x - e, z) - height(x + e, z), 2 * e, height(x, z - e) - height(x, z + e)});
        vertices.push_back({{x, height(x, z), z}, normal, (x - x0) / tile, (z1 - z) / tile});
      }
    }
    uint32_t row = static_cast<uint32_t>(cellsX) + 1;
    for (uint32_t j = 0; j < static_cast<uint32_t>(cellsZ); ++j) {
      for (uint32_t i = 0; i < static_cast<uint32_t>(cellsX); ++i) {
        uint32_t v00 = first + j * row + i;
        // Corners in order around the cell: the quad helper expects that.
        uint32_t v10 = v00 + 1, v11 = v00 + row + 1, v01 = v00 + row;
        uint32_t cell[4] = {v00, v10, v11, v01};
        AddQuadTrianglesOf(cell, kUp, material);
      }
    }
  }

  std::vector<Vertex> vertices;
  std::vector<Triangle> triangles;
  std::vector<Material> materials;

 private:
  static void FaceAxes(Vec3 normal, Vec3* uAxis, Vec3* vAxis) {
    if (std::fabs(normal.y) > 0.7f) {  // floors and roofs: u along X, v along -Z
      *uAxis = {1, 0, 0};
      *vAxis = {0, 0, -1};
      return;
    }
    // Walls: u runs to the right as seen from outside, v downwards.
    *uAxis = Normalize(Cross(normal, kUp));
    *vAxis = {0, -1, 0};
  }
  static void Stretch(std::vector<float>& values) {
    float lo = values[0], hi = values[0];
    for (float v : values) lo = std::fmin(lo, v), hi = std::fmax(hi, v);
    for (float& v : values) v = hi > lo ? (v - lo) / (hi - lo) : 0;
  }
  void AddQuadTriangles(uint32_t first, Vec3 outward, int material) {
    uint32_t quad[4] = {first, first + 1, first + 2, first + 3};
    AddQuadTrianglesOf(quad, outward, material);
  }
  void AddQuadTrianglesOf(uint32_t (&q)[4], Vec3 outward, int material) {
    Vec3 p0 = vertices[q[0]].position, p1 = vertices[q[1]].position, p2 = vertices[q[2]].position;
    if (Dot(Cross(p1 - p0, p2 - p0), outward) < 0) std::swap(q[1], q[3]);
    triangles.push_back({{q[0], q[1], q[2]}, material});
    triangles.push_back({{q[0], q[2], q[3]}, material});
  }
};

// ---------------------------------------------------------------- X files

void WriteMaterial(FILE* f, const Material& m, const char* indent) {
  std::fprintf(f, "%sMaterial {\n", indent);
  std::fprintf(f, "%s %f;%f;%f;%f;;\n", indent, m.r, m.g, m.b, m.a);
  std::fprintf(f, "%s %f;\n", indent, m.power);
  std::fprintf(f, "%s %f;%f;%f;;\n", indent, m.specular.x, m.specular.y, m.specular.z);
  std::fprintf(f, "%s %f;%f;%f;;\n", indent, m.emissive.x, m.emissive.y, m.emissive.z);
  if (!m.texture.empty()) std::fprintf(f, "%s TextureFilename { \"%s\"; }\n", indent, m.texture.c_str());
  std::fprintf(f, "%s}\n", indent);
}

void WriteMesh(FILE* f, const char* name, const MeshBuilder& mesh, const char* indent) {
  const auto& v = mesh.vertices;
  const auto& t = mesh.triangles;
  auto separator = [](size_t i, size_t n) { return i + 1 < n ? "," : ";"; };
  std::fprintf(f, "%sMesh %s {\n%s %zu;\n", indent, name, indent, v.size());
  for (size_t i = 0; i < v.size(); ++i) {
    std::fprintf(f, "%s %f;%f;%f;%s\n", indent, v[i].position.x, v[i].position.y, v[i].position.z,
                 separator(i, v.size()));
  }
  std::fprintf(f, "%s %zu;\n", indent, t.size());
  for (size_t i = 0; i < t.size(); ++i) {
    std::fprintf(f, "%s 3;%u,%u,%u;%s\n", indent, t[i].index[0], t[i].index[1], t[i].index[2], separator(i, t.size()));
  }
  std::fprintf(f, "%s MeshNormals {\n%s  %zu;\n", indent, indent, v.size());
  for (size_t i = 0; i < v.size(); ++i) {
    std::fprintf(f, "%s  %f;%f;%f;%s\n", indent, v[i].normal.x, v[i].normal.y, v[i].normal.z, separator(i, v.size()));
  }
  std::fprintf(f, "%s  %zu;\n", indent, t.size());
  for (size_t i = 0; i < t.size(); ++i) {
    std::fprintf(f, "%s  3;%u,%u,%u;%s\n", indent, t[i].index[0], t[i].index[1], t[i].index[2],
                 separator(i, t.size()));
  }
  std::fprintf(f, "%s }\n%s MeshTextureCoords {\n%s  %zu;\n", indent, indent, indent, v.size());
  for (size_t i = 0; i < v.size(); ++i) {
    std::fprintf(f, "%s  %f;%f;%s\n", indent, v[i].u, v[i].v, separator(i, v.size()));
  }
  std::fprintf(f, "%s }\n%s MeshMaterialList {\n%s  %zu;\n%s  %zu;\n", indent, indent, indent, mesh.materials.size(),
               indent, t.size());
  for (size_t i = 0; i < t.size(); ++i) std::fprintf(f, "%s  %d%s\n", indent, t[i].material, separator(i, t.size()));
  std::string inner = std::string(indent) + "  ";
  for (const Material& m : mesh.materials) WriteMaterial(f, m, inner.c_str());
  std::fprintf(f, "%s }\n%s}\n", indent, indent);
}

FILE* OpenForWriting(const std::string& path, const char* mode) {
  FILE* f = std::fopen(path.c_str(), mode);
  if (!f) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
  return f;
}

constexpr char kXHeader[] = "xof 0302txt 0032\n";

void WriteModel(const std::string& path, const MeshBuilder& mesh) {
  FILE* f = OpenForWriting(path, "wb");
  std::fputs(kXHeader, f);
  WriteMesh(f, "Model", mesh, "");
  std::fclose(f);
}

void WriteTranslation(FILE* f, Vec3 t, const char* indent) {
  std::fprintf(f, "%sFrameTransformMatrix {\n%s 1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,%f,%f,%f,1.0;;\n%s}\n",
               indent, indent, t.x, t.y, t.z, indent);
}

// ---------------------------------------------------------------- images

struct Image {
  int width, height;
  std::vector<uint8_t> rgb;  // top row first

  Image(int w, int h) : width(w), height(h), rgb(static_cast<size_t>(w * h * 3)) {}
  void Set(int x, int y, float r, float g, float b) {
    uint8_t* p = &rgb[static_cast<size_t>((y * width + x) * 3)];
    p[0] = Byte(r), p[1] = Byte(g), p[2] = Byte(b);
  }
  static uint8_t Byte(float c) { return static_cast<uint8_t>(std::lround(std::fmin(std::fmax(c, 0.0f), 1.0f) * 255)); }
};

uint32_t Hash(int x, int y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B9u ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^ static_cast<uint32_t>(y) * 0xC2B2AE35u;
  h ^= h >> 15, h *= 0x2C1B3C6Du, h ^= h >> 12, h *= 0x297A2D39u, h ^= h >> 15;
  return h;
}
float Noise(int x, int y, uint32_t seed) { return static_cast<float>(Hash(x, y, seed) & 0xFFFF) / 65535.0f; }

// Smooth noise that repeats every `period` lattice cells, so tiles join.
float TilingNoise(float x, float y, int period, uint32_t seed) {
  int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  float fx = x - static_cast<float>(x0), fy = y - static_cast<float>(y0);
  auto at = [&](int i, int j) { return Noise(((i % period) + period) % period, ((j % period) + period) % period, seed); };
  float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  float top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
  float bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
  return top + (bottom - top) * sy;
}

void Put16(FILE* f, uint32_t v) { std::fputc(static_cast<int>(v & 0xFF), f), std::fputc(static_cast<int>(v >> 8 & 0xFF), f); }
void Put32(FILE* f, uint32_t v) { Put16(f, v & 0xFFFF), Put16(f, v >> 16); }

void WriteBmp(const std::string& path, const Image& image) {
  uint32_t rowBytes = static_cast<uint32_t>(image.width * 3 + 3) & ~3u;
  uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(image.height);
  FILE* f = OpenForWriting(path, "wb");
  std::fputs("BM", f);
  Put32(f, 54 + pixelBytes), Put32(f, 0), Put32(f, 54);
  Put32(f, 40), Put32(f, static_cast<uint32_t>(image.width)), Put32(f, static_cast<uint32_t>(image.height));
  Put16(f, 1), Put16(f, 24), Put32(f, 0), Put32(f, pixelBytes), Put32(f, 2835), Put32(f, 2835), Put32(f, 0),
      Put32(f, 0);
  for (int y = image.height - 1; y >= 0; --y) {  // bottom row first
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = &image.rgb[static_cast<size_t>((y * image.width + x) * 3)];
      std::fputc(p[2], f), std::fputc(p[1], f), std::fputc(p[0], f);
    }
    for (uint32_t pad = static_cast<uint32_t>(image.width * 3); pad < rowBytes; ++pad) std::fputc(0, f);
  }
  std::fclose(f);
}

void WriteTga(const std::string& path, const Image& image) {
  FILE* f = OpenForWriting(path, "wb");
  const uint8_t header[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};  // uncompressed true colour
  std::fwrite(header, 1, sizeof header, f);
  Put16(f, static_cast<uint32_t>(image.width)), Put16(f, static_cast<uint32_t>(image.height));
  std::fputc(24, f), std::fputc(0, f);  // 24 bits, origin at the bottom left
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = &image.rgb[static_cast<size_t>((y * image.width + x) * 3)];
      std::fputc(p[2], f), std::fputc(p[1], f), std::fputc(p[0], f);
    }
  }
  std::fclose(f);
}

void WritePng(const std::string& path, const Image& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&png, path.c_str(), 0, image.rgb.data(), 0, nullptr)) {
    std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), png.message);
    std::exit(1);
  }
}

void WriteJpeg(const std::string& path, const Image& image) {
  FILE* f = OpenForWriting(path, "wb");
  jpeg_compress_struct jpeg{};
  jpeg_error_mgr errors{};
  jpeg.err = jpeg_std_error(&errors);
  jpeg_create_compress(&jpeg);
  jpeg_stdio_dest(&jpeg, f);
  jpeg.image_width = static_cast<JDIMENSION>(image.width);
  jpeg.image_height = static_cast<JDIMENSION>(image.height);
  jpeg.input_components = 3;
  jpeg.in_color_space = JCS_RGB;
  jpeg_set_defaults(&jpeg);
  jpeg_set_quality(&jpeg, 90, TRUE);
  jpeg_start_compress(&jpeg, TRUE);
  while (jpeg.next_scanline < jpeg.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&image.rgb[static_cast<size_t>(jpeg.next_scanline) * image.width * 3]);
    jpeg_write_scanlines(&jpeg, &row, 1);
  }
  jpeg_finish_compress(&jpeg);
  jpeg_destroy_compress(&jpeg);
  std::fclose(f);
}

// Cream upper body, maroon lower body and waist stripe, three door outlines
// per side. Stretched once over each side of the car.
Image CarSideLivery() {
  Image image(256, 64);
  const float doorCentres[3] = {0.175f, 0.5f, 0.825f};
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      bool maroon = (y >= 29 && y < 33) || y >= 37;
      float r = maroon ? 0.48f : 0.94f, g = maroon ? 0.12f : 0.90f, b = maroon ? 0.17f : 0.78f;
      float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(image.width);
      for (float c : doorCentres) {
        float edge = std::fabs(std::fabs(u - c) - 0.0325f) * static_cast<float>(image.width);
        if (edge < 0.7f && y >= 6 && y <= 61) r *= 0.45f, g *= 0.45f, b *= 0.45f;
      }
      float grain = (Noise(x, y, 1) - 0.5f) * 0.04f;
      image.Set(x, y, r + grain, g + grain, b + grain);
    }
  }
  return image;
}

Image RoofSheet() {
  Image image(64, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      float shade = 0.55f + (Noise(x, y, 2) - 0.5f) * 0.06f - (x % 16 == 0 ? 0.12f : 0.0f);
      image.Set(x, y, shade, shade, shade * 1.03f);
    }
  }
  return image;
}

Image Brick() {
  Image image(64, 64);
  for (int y = 0; y < 64; ++y) {
    int course = y / 8;
    for (int x = 0; x < 64; ++x) {
      int shifted = x + (course % 2) * 8;
      int brick = (shifted / 16) % 4;
      bool mortar = y % 8 == 0 || shifted % 16 == 0;
      float tone = 0.85f + 0.3f * Noise(brick, course, 3);
      float grain = (Noise(x, y, 4) - 0.5f) * 0.08f;
      if (mortar) {
        image.Set(x, y, 0.72f + grain, 0.70f + grain, 0.66f + grain);
      } else {
        image.Set(x, y, 0.58f * tone + grain, 0.26f * tone + grain, 0.18f * tone + grain);
      }
    }
  }
  return image;
}

Image RoofTiles() {
  Image image(64, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      float along = static_cast<float>(y % 8) / 8.0f;  // each row darkens towards its lower edge
      float ripple = 0.5f + 0.5f * std::cos(2 * kPi * static_cast<float>(x + (y / 8) % 2 * 4) / 8.0f);
      float shade = 0.42f - 0.15f * along + 0.06f * ripple + (Noise(x, y, 5) - 0.5f) * 0.05f;
      image.Set(x, y, shade * 0.8f, shade * 0.85f, shade);
    }
  }
  return image;
}

Image Paving() {
  Image image(64, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      bool joint = x % 32 == 0 || y % 32 == 0;
      float tone = 0.68f + 0.08f * Noise(x / 32, y / 32, 6) + (Noise(x, y, 7) - 0.5f) * 0.1f;
      if (joint) tone -= 0.25f;
      image.Set(x, y, tone, tone, tone * 0.97f);
    }
  }
  return image;
}

Image Concrete() {
  Image image(64, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      float tone = 0.6f + 0.1f * TilingNoise(x / 8.0f, y / 8.0f, 8, 8) + (Noise(x, y, 9) - 0.5f) * 0.08f;
      image.Set(x, y, tone, tone * 0.98f, tone * 0.94f);
    }
  }
  return image;
}

Image Grass() {
  Image image(64, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      float patch = 0.6f * TilingNoise(x / 16.0f, y / 16.0f, 4, 10) + 0.4f * TilingNoise(x / 4.0f, y / 4.0f, 16, 11);
      float blade = (Noise(x, y, 12) - 0.5f) * 0.12f;
      image.Set(x, y, 0.22f + 0.18f * patch + blade * 0.5f, 0.42f + 0.22f * patch + blade, 0.14f + 0.06f * patch);
    }
  }
  return image;
}

// Red paint with a white band along the middle, darker towards the sills.
Image CarPaint() {
  Image image(64, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      float fall = 1.0f - 0.35f * static_cast<float>(y) / 63.0f;
      bool band = y >= 26 && y < 32;
      float shine = (Noise(x, y, 13) - 0.5f) * 0.03f;
      if (band) {
        image.Set(x, y, 0.95f + shine, 0.95f + shine, 0.95f + shine);
      } else {
        image.Set(x, y, 0.78f * fall + shine, 0.08f * fall + shine, 0.1f * fall + shine);
      }
    }
  }
  return image;
}

// ---------------------------------------------------------------- definition files

std::string ToCodePage932(const char* utf8) {
  iconv_t converter = iconv_open("CP932", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    std::fprintf(stderr, "iconv cannot convert to CP932\n");
    std::exit(1);
  }
  std::string in = utf8, out(in.size() * 2 + 4, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  size_t inLeft = in.size(), outLeft = out.size();
  if (iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
    std::fprintf(stderr, "not representable in CP932: %s\n", utf8);
    std::exit(1);
  }
  iconv_close(converter);
  out.resize(out.size() - outLeft);
  return out;
}

// Name and author in code page 932, then the kind's lines; CRLF line ends.
void WriteDefinition(const std::string& path, const char* name, const char* author,
                     const std::vector<std::string>& lines) {
  FILE* f = OpenForWriting(path, "wb");
  std::fprintf(f, "%s\r\n%s\r\n", ToCodePage932(name).c_str(), ToCodePage932(author).c_str());
  for (const std::string& line : lines) std::fprintf(f, "%s\r\n", line.c_str());
  std::fclose(f);
}

void MakeDirectory(const std::string& path) {
  if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) {
    std::fprintf(stderr, "cannot create %s\n", path.c_str());
    std::exit(1);
  }
}

Material Plain(float r, float g, float b, float a, float power = 8, float specular = 0.1f) {
  return {r, g, b, a, power, {specular, specular, specular}, {0, 0, 0}, ""};
}
Material Textured(const char* texture, float r = 1, float g = 1, float b = 1) {
  Material m = Plain(r, g, b, 1);
  m.texture = texture;
  return m;
}

// ---------------------------------------------------------------- the plug-ins

// Wheelset pairs, frame and side frames of one bogie, around its own centre.
MeshBuilder Bogie() {
  MeshBuilder m;
  int frame = m.AddMaterial(Plain(0.14f, 0.14f, 0.15f, 1));
  int steel = m.AddMaterial(Plain(0.55f, 0.55f, 0.58f, 1, 30, 0.6f));
  m.Box({-0.95f, 0.55f, -0.5f}, {0.95f, 0.85f, 0.5f}, frame, Tiled(1, 1));
  // Side frames low enough for the wheels to show above and below them.
  for (float side : {-1.0f, 1.0f}) {
    m.Box({side * 1.0f - 0.07f, 0.38f, -1.6f}, {side * 1.0f + 0.07f, 0.6f, 1.6f}, frame, Tiled(1, 1));
  }
  for (float z : {-1.05f, 1.05f}) {
    for (float side : {-1.0f, 1.0f}) m.Cylinder({side * 0.78f, 0.43f, z}, {1, 0, 0}, 0.43f, 0.07f, 16, steel, steel);
    m.Cylinder({0, 0.43f, z}, {1, 0, 0}, 0.08f, 0.72f, 8, steel, steel);
  }
  return m;
}

// A 17-unit electric car: scale 1.0 shows it 8.5 scene units long, which
// the train view's camera takes in whole.
void MakeTrain(const std::string& dir) {
  MakeDirectory(dir);
  MeshBuilder body;
  int livery = body.AddMaterial(Textured("Body.BMP"));  // file is body.bmp: names differ in letter case
  int roof = body.AddMaterial(Textured("roof.tga", 0.75f, 0.75f, 0.75f));
  int under = body.AddMaterial(Plain(0.16f, 0.16f, 0.17f, 1));
  int window = body.AddMaterial(Plain(0.2f, 0.26f, 0.32f, 0.5f, 40, 0.7f));  // lit at night
  int endWindow = body.AddMaterial(Plain(0.35f, 0.45f, 0.5f, 0.35f, 40, 0.7f));  // stays dark at night

  const float half = 1.45f, end = 8.5f, sill = 2.55f, head = 3.3f;
  body.Box({-half, 1.15f, -end}, {half, 3.6f, end}, livery, kFit);
  body.ArcRoof(half, 3.6f, 0.35f, -end, end, 8, roof, Tiled(4, 4));
  body.Box({-1.3f, 0.95f, -end + 0.2f}, {1.3f, 1.15f, end - 0.2f}, under, Tiled(1, 1));
  body.Box({-1.0f, 0.62f, -3.5f}, {1.0f, 0.95f, 3.5f}, under, Tiled(1, 1));
  // Between the three doors that the livery draws at 0.175, 0.5 and 0.825 of the length.
  const float panes[4][2] = {{-8.0f, -6.4f}, {-4.6f, -0.9f}, {0.9f, 4.6f}, {6.4f, 8.0f}};
  for (float side : {-1.0f, 1.0f}) {
    float x = side * (half + 0.01f);
    for (const auto& p : panes) {
      body.Polygon({{x, sill, p[0]}, {x, head, p[0]}, {x, head, p[1]}, {x, sill, p[1]}}, {side, 0, 0}, window, kFit);
    }
  }
  for (float face : {-1.0f, 1.0f}) {
    float z = face * (end + 0.01f);
    for (float side : {-1.0f, 1.0f}) {
      float xa = side * 0.2f, xb = side * 1.1f;
      body.Polygon({{xa, sill, z}, {xa, head, z}, {xb, head, z}, {xb, sill, z}}, {0, 0, face}, endWindow, kFit);
    }
  }

  const float bogieCentres = 11.5f;
  MeshBuilder bogie = Bogie();
  FILE* f = OpenForWriting(dir + "/Model.x", "wb");
  std::fputs(kXHeader, f);
  std::fputs("Frame Car {\n", f);
  WriteTranslation(f, {0, 0, 0}, " ");
  WriteMesh(f, "Body", body, " ");
  const struct {
    const char* frame;
    const char* mesh;
    float z;
  } bogies[2] = {{"BogieFront", "BogieFrontMesh", bogieCentres / 2}, {"BogieRear", "BogieRearMesh", -bogieCentres / 2}};
  for (const auto& b : bogies) {
    std::fprintf(f, " Frame %s {\n", b.frame);
    WriteTranslation(f, {0, 0, b.z}, "  ");
    WriteMesh(f, b.mesh, bogie, "  ");
    std::fputs(" }\n", f);
  }
  std::fputs("}\n", f);
  std::fclose(f);

  WriteBmp(dir + "/body.bmp", CarSideLivery());
  WriteTga(dir + "/roof.tga", RoofSheet());
  WriteDefinition(dir + "/Train.txt", "旧形電車モハ30", "ヴォンドレル車両工房", {"1.0", "11.5", "17.0", "95.0"});
}

// A brick goods shed, 20 x 10 units, shown at its file size (scale 0.5).
void MakeStruct(const std::string& dir) {
  MakeDirectory(dir);
  MeshBuilder m;
  int brick = m.AddMaterial(Textured("brick.png"));
  int tiles = m.AddMaterial(Textured("tiles.jpg"));
  int plinth = m.AddMaterial(Plain(0.5f, 0.5f, 0.48f, 1));
  int door = m.AddMaterial(Plain(0.32f, 0.2f, 0.12f, 1));
  int window = m.AddMaterial(Plain(0.18f, 0.22f, 0.28f, 0.5f, 40, 0.7f));  // lit at night
  int awning = m.AddMaterial(Plain(0.55f, 0.75f, 0.8f, 0.4f, 20, 0.5f));  // glass, always see-through

  const float x0 = -10, x1 = 10, z0 = -5, z1 = 5, eave = 6;
  m.Box({x0 - 0.2f, 0, z0 - 0.2f}, {x1 + 0.2f, 0.6f, z1 + 0.2f}, plinth, Tiled(2, 2));
  m.Box({x0, 0.6f, z0}, {x1, eave, z1}, brick, Tiled(2, 2));
  m.GableRoof(x0 - 0.6f, x1 + 0.6f, z0 - 0.6f, z1 + 0.6f, eave, 8.5f, tiles, Tiled(2, 2));
  for (float side : {-1.0f, 1.0f}) {
    float z = side * (5 + 0.02f);
    for (int i = 0; i < 5; ++i) {
      float x = -8 + 4 * static_cast<float>(i);
      if (i == 2) {  // the loading door, with a glass awning over it
        m.Polygon({{x - 1.5f, 0.6f, z}, {x - 1.5f, 3.8f, z}, {x + 1.5f, 3.8f, z}, {x + 1.5f, 0.6f, z}}, {0, 0, side},
                  door, kFit);
        m.Box({x - 2.2f, 4.2f, side * 5}, {x + 2.2f, 4.35f, side * 6.6f}, awning, kFit);
        continue;
      }
      m.Polygon({{x - 0.8f, 2.6f, z}, {x - 0.8f, 4.6f, z}, {x + 0.8f, 4.6f, z}, {x + 0.8f, 2.6f, z}}, {0, 0, side},
                window, kFit);
    }
  }
  for (float side : {-1.0f, 1.0f}) {
    float x = side * (10 + 0.02f);
    m.Polygon({{x, 3.0f, -1}, {x, 5.0f, -1}, {x, 5.0f, 1}, {x, 3.0f, 1}}, {side, 0, 0}, window, kFit);
  }
  WriteModel(dir + "/Model.x", m);
  WritePng(dir + "/brick.png", Brick());
  WriteJpeg(dir + "/tiles.jpg", RoofTiles());
  WriteDefinition(dir + "/Struct.txt", "煉瓦倉庫", "表示工房", {"0.5"});
}

// Rail centre lines, in model units, along which the station's platform
// segments lie; platforms run from -kPlatformEnd to kPlatformEnd along X.
constexpr float kTrackZ[3] = {-9.6f, 0.6f, 4.6f};
constexpr float kPlatformEnd = 20.0f, kTrackEnd = 24.0f;

// An island platform and a side platform with three tracks, 48 units long,
// shown at half size (scale 1.0).
void MakeStation(const std::string& dir) {
  MakeDirectory(dir);
  MakeDirectory(dir + "/tex");
  MeshBuilder m;
  // Three materials share one texture, named with a Windows separator.
  int paving = m.AddMaterial(Textured("tex\\paving.png"));
  int sidePaving = m.AddMaterial(Textured("tex\\paving.png", 0.9f, 0.88f, 0.84f));
  int tactile = m.AddMaterial(Textured("tex\\paving.png", 1.0f, 0.85f, 0.1f));
  int concrete = m.AddMaterial(Textured("concrete.jpg"));
  int ballast = m.AddMaterial(Plain(0.42f, 0.38f, 0.34f, 1));
  int rail = m.AddMaterial(Plain(0.5f, 0.48f, 0.46f, 1, 40, 0.8f));
  int pillar = m.AddMaterial(Plain(0.3f, 0.35f, 0.4f, 1, 20, 0.3f));
  int glass = m.AddMaterial(Plain(0.6f, 0.8f, 0.85f, 0.35f, 30, 0.6f));
  int sign = m.AddMaterial(Plain(0.95f, 0.95f, 0.9f, 0.5f));  // the name board lights up at night
  int wall = m.AddMaterial(Plain(0.86f, 0.8f, 0.66f, 1));
  int roof = m.AddMaterial(Plain(0.3f, 0.3f, 0.33f, 1));
  int window = m.AddMaterial(Plain(0.2f, 0.26f, 0.32f, 0.5f, 40, 0.7f));  // the waiting room is lit at night

  for (float z : kTrackZ) {
    m.Box({-kTrackEnd, 0, z - 1.5f}, {kTrackEnd, 0.25f, z + 1.5f}, ballast, Tiled(2, 2));
    for (float side : {-1.0f, 1.0f}) {
      float rz = z + side * 0.55f;
      m.Box({-kTrackEnd, 0.25f, rz - 0.06f}, {kTrackEnd, 0.4f, rz + 0.06f}, rail, Tiled(1, 1));
    }
  }
  const float top = 1.1f, e = kPlatformEnd;
  const struct {
    float z0, z1;
    int surface;
  } platforms[2] = {{-8.0f, -1.0f, paving}, {6.2f, 11.0f, sidePaving}};
  for (const auto& p : platforms) {
    m.Box({-e, 0, p.z0}, {e, top, p.z1}, concrete, p.surface, Tiled(3, 3));
    m.Box({-e, top, p.z0 + 0.5f}, {e, top + 0.02f, p.z0 + 0.9f}, tactile, Tiled(3, 3));
  }
  m.Box({-e, top, -2.0f}, {e, top + 0.02f, -1.6f}, tactile, Tiled(3, 3));

  for (float x : {-14.4f, -4.8f, 4.8f, 14.4f}) m.Cylinder({x, top + 1.75f, -4.5f}, kUp, 0.2f, 1.75f, 10, pillar, pillar);
  m.Box({-16, top + 3.5f, -7.2f}, {16, top + 3.65f, -1.8f}, glass, kFit);
  for (float x : {-2.0f, 2.0f}) m.Cylinder({x, top + 1.1f, 9.5f}, kUp, 0.08f, 1.1f, 8, pillar, pillar);
  m.Box({-2.4f, top + 1.4f, 9.45f}, {2.4f, top + 2.3f, 9.55f}, sign, kFit);

  // Waiting room on the side platform, its windows towards the tracks.
  const float x0 = -15, x1 = -6, z0 = 7.8f, z1 = 10.4f, wallTop = top + 2.6f;
  m.Box({x0, top, z0}, {x1, wallTop, z1}, wall, kFit);
  m.Box({x0 - 0.3f, wallTop, z0 - 0.3f}, {x1 + 0.3f, wallTop + 0.2f, z1 + 0.3f}, roof, kFit);
  for (float x = x0 + 0.6f; x + 2.4f <= x1; x += 2.8f) {
    float z = z0 - 0.02f, y0 = top + 0.9f, y1 = top + 2.2f;
    m.Polygon({{x, y0, z}, {x, y1, z}, {x + 2.2f, y1, z}, {x + 2.2f, y0, z}}, {0, 0, -1}, window, kFit);
  }
  m.Polygon({{x1 + 0.02f, top + 0.9f, z0 + 0.5f}, {x1 + 0.02f, top + 2.2f, z0 + 0.5f},
             {x1 + 0.02f, top + 2.2f, z1 - 0.5f}, {x1 + 0.02f, top + 0.9f, z1 - 0.5f}},
            {1, 0, 0}, window, kFit);

  WriteModel(dir + "/Model.x", m);
  WritePng(dir + "/tex/paving.png", Paving());
  WriteJpeg(dir + "/concrete.jpg", Concrete());

  // Along the three tracks beside the platform faces, at rail height; the last
  // one is a short stub beyond the platform end (1.75 scene units, not counted).
  std::vector<std::string> lines{"1.0", "4"};
  char entry[128];
  for (float z : kTrackZ) {
    std::snprintf(entry, sizeof entry, "(%.1f,0.4,%.1f),(%.1f,0.4,%.1f)", -e, z, e, z);
    lines.push_back(entry);
  }
  std::snprintf(entry, sizeof entry, "(%.1f,0.4,%.1f),(%.1f,0.4,%.1f)", e, kTrackZ[2], e + 3.5f, kTrackZ[2]);
  lines.push_back(entry);
  WriteDefinition(dir + "/Station.txt", "サンプル駅", "ソフト駅舎研究会", lines);
}

// Rolling grassland, 1500 x 1100 units: drawn at a twentieth of the common
// scale, it fills the surface view.
void MakeSurface(const std::string& dir) {
  MakeDirectory(dir);
  MeshBuilder m;
  int grass = m.AddMaterial(Textured("grass.png"));
  auto height = [](float x, float z) { return 18 * std::sin(x / 170) * std::cos(z / 130) + 8 * std::sin(z / 60); };
  m.Terrain(-750, 750, -550, 550, 30, 22, 50, grass, height);
  WriteModel(dir + "/Model.x", m);
  WritePng(dir + "/grass.png", Grass());
  WriteDefinition(dir + "/Surface.txt", "芝生地表", "表示工房", {"1.0", "1500.0", "1100.0"});
}

// A small car, viewed as a bare model (scaled by its bounding sphere). Its
// front is at -Z, the side the default camera looks from.
void MakeBareModel(const std::string& dir) {
  MakeDirectory(dir);
  MeshBuilder m;
  int paint = m.AddMaterial(Textured("paint.tga"));
  int roof = m.AddMaterial(Plain(0.74f, 0.07f, 0.09f, 1, 30, 0.5f));
  int glass = m.AddMaterial(Plain(0.25f, 0.3f, 0.35f, 0.4f, 50, 0.8f));
  int lamp = m.AddMaterial(Plain(1.0f, 0.95f, 0.8f, 0.5f, 10, 0.5f));  // headlights glow at night
  int tyre = m.AddMaterial(Plain(0.08f, 0.08f, 0.08f, 1));
  int hub = m.AddMaterial(Plain(0.7f, 0.7f, 0.72f, 1, 40, 0.8f));

  m.Box({-0.85f, 0.25f, -2.2f}, {0.85f, 0.85f, 2.2f}, paint, roof, kFit);
  // Cabin: vertical sides, sloping windscreen and rear window.
  const float w = 0.75f, sill = 0.85f, top = 1.4f;
  const Vec3 front0{0, sill, -1.1f}, front1{0, top, -0.55f}, back1{0, top, 0.6f}, back0{0, sill, 1.1f};
  auto at = [](Vec3 p, float x) { return Vec3{x, p.y, p.z}; };
  m.Polygon({at(front1, -w), at(front1, w), at(back1, w), at(back1, -w)}, kUp, roof, kFit);
  m.Polygon({at(front0, -w), at(front0, w), at(front1, w), at(front1, -w)}, {0, 1, -1}, glass, kFit);
  m.Polygon({at(back0, -w), at(back0, w), at(back1, w), at(back1, -w)}, {0, 1, 1}, glass, kFit);
  for (float side : {-1.0f, 1.0f}) {
    float x = side * w, xGlass = side * (w + 0.01f);
    m.Polygon({at(front0, x), at(front1, x), at(back1, x), at(back0, x)}, {side, 0, 0}, paint, kFit);
    m.Polygon({{xGlass, 0.92f, -0.95f}, {xGlass, 1.34f, -0.5f}, {xGlass, 1.34f, 0.55f}, {xGlass, 0.92f, 0.95f}},
              {side, 0, 0}, glass, kFit);
    m.Box({side * 0.6f - 0.18f, 0.6f, -2.23f}, {side * 0.6f + 0.18f, 0.75f, -2.2f}, lamp, kFit);
    for (float z : {-1.4f, 1.4f}) {
      m.Cylinder({side * 0.8f, 0.33f, z}, {1, 0, 0}, 0.33f, 0.1f, 16, tyre, tyre);
      m.Cylinder({side * 0.9f, 0.33f, z}, {1, 0, 0}, 0.18f, 0.02f, 12, hub, hub);
    }
  }
  WriteModel(dir + "/Car.x", m);
  WriteTga(dir + "/paint.tga", CarPaint());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
    return 2;
  }
  std::string out = argv[1];
  MakeDirectory(out);
  MakeTrain(out + "/Train");
  MakeStruct(out + "/Struct");
  MakeStation(out + "/Station");
  MakeSurface(out + "/Surface");
  MakeBareModel(out + "/model");
  return 0;
}
