// The large grid of the load benchmarks written as files: about 200 000
// vertices and 400 000 triangles with normals, texture coordinates and three
// textured materials, as text (about 40 MB), binary and compressed X files.
#pragma once
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "x_test_files.h"

inline XTestModel BenchGridModel() { return GridModel(500, 400, 3); }

struct GridFilePaths {
  std::string text, binary, compressed;
};

// Writes <stem>_text.x, <stem>_binary.x and <stem>_compressed.x.
inline GridFilePaths WriteGridFiles(const std::string& stem) {
  auto write = [](const std::string& path, const uint8_t* bytes, size_t size) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    return path;
  };
  GridFilePaths paths;
  XTestModel model = BenchGridModel();
  std::vector<uint8_t> binary = BinaryXFile(model);
  {
    std::string text = TextX(model);
    model = XTestModel();
    paths.text = write(stem + "_text.x", reinterpret_cast<const uint8_t*>(text.data()), text.size());
  }
  std::vector<uint8_t> compressed = CompressX(binary);
  paths.compressed = write(stem + "_compressed.x", compressed.data(), compressed.size());
  paths.binary = write(stem + "_binary.x", binary.data(), binary.size());
  return paths;
}

// The grid files of one benchmark process, removed when it ends.
struct ScratchGridFiles : GridFilePaths {
  explicit ScratchGridFiles(const std::string& stem) : GridFilePaths(WriteGridFiles(stem)) {}
  ~ScratchGridFiles() {
    for (const std::string& path : {text, binary, compressed}) std::remove(path.c_str());
  }
  ScratchGridFiles(const ScratchGridFiles&) = delete;
  ScratchGridFiles& operator=(const ScratchGridFiles&) = delete;
};
