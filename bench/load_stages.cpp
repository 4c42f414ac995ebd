// The stages of loading the large grid (see grid_files.h), or of the file that
// LOAD_STAGES_FILE names (a shape of bench_write_shapes), each on its own, so
// that a change to one shows in its own figure:
// * a plain scan of the file: reading it and finding its line ends, the floor
//   under every reader;
// * reading the text and the binary file into plain mesh data (a named file
//   stands for both);
// * the face adjacency of the read mesh;
// * Optimize in place as the viewer calls it, with the vertex-cache efficiency
//   it leaves (ACMR: vertex shader runs per triangle with a 16-entry FIFO
//   cache) and its heap peak above the mesh it works on;
// * the bounding box and sphere of the read vertices;
// * the two vertex-cache orderings of the library, on the same attribute groups.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <meshoptimizer.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "gfxutil/d3dx_mesh.h"
#include "gfxutil/mesh/adjacency.h"
#include "gfxutil/xfile/reader.h"
#include "grid_files.h"
#include "heap_counter.h"
#include "recording_device.h"

namespace {

// The named file as all three forms, or the grid written for this process.
const GridFilePaths& Files() {
  static const GridFilePaths files = []() -> GridFilePaths {
    if (const char* named = std::getenv("LOAD_STAGES_FILE")) return {named, named, named};
    static ScratchGridFiles grid("/tmp/load_stages_" + std::to_string(getpid()));
    return grid;
  }();
  return files;
}

// The grid as read, once for the benchmarks that start from it.
const XMeshData& ReadGrid() {
  static const XMeshData data = [] {
    XMeshData mesh;
    XReadError error;
    ReadXFile(Files().binary.c_str(), mesh, error);
    return mesh;
  }();
  return data;
}

// Reading the text file in blocks and counting its line ends.
void BM_Scan(benchmark::State& state) {
  std::vector<char> block(1 << 16);
  size_t lines = 0;
  for (auto _ : state) {
    int fd = open(Files().text.c_str(), O_RDONLY | O_CLOEXEC);
    lines = 0;
    for (ssize_t got; (got = read(fd, block.data(), block.size())) > 0;)
      lines += static_cast<size_t>(std::count(block.data(), block.data() + got, '\n'));
    close(fd);
  }
  state.counters["lines"] = static_cast<double>(lines);
}

void BM_Bounds(benchmark::State& state) {
  const XMeshData& mesh = ReadGrid();
  D3DXVECTOR3 low, high, centre;
  float radius;
  for (auto _ : state) {
    D3DXComputeBoundingBox(mesh.vertexBytes.data(), static_cast<DWORD>(mesh.VertexCount()), mesh.fvf, &low, &high);
    D3DXComputeBoundingSphere(mesh.vertexBytes.data(), static_cast<DWORD>(mesh.VertexCount()), mesh.fvf, &centre,
                              &radius);
    benchmark::DoNotOptimize(radius);
  }
}

double MeshBytes(ID3DXMesh* mesh) {
  size_t indexSize = (mesh->GetOptions() & D3DXMESH_32BIT) ? 4 : 2;
  return static_cast<double>(size_t{mesh->GetNumVertices()} * mesh->GetNumBytesPerVertex() +
                             size_t{mesh->GetNumFaces()} * (3 * indexSize + sizeof(DWORD)));
}

std::vector<uint32_t> IndicesOf(ID3DXMesh* mesh) {
  uint8_t* bytes = nullptr;
  mesh->LockIndexBuffer(D3DLOCK_READONLY, &bytes);
  std::vector<uint32_t> indices(size_t{mesh->GetNumFaces()} * 3);
  for (size_t i = 0; i < indices.size(); ++i)
    indices[i] = (mesh->GetOptions() & D3DXMESH_32BIT) ? reinterpret_cast<const uint32_t*>(bytes)[i]
                                                       : reinterpret_cast<const uint16_t*>(bytes)[i];
  mesh->UnlockIndexBuffer();
  return indices;
}

void ReadBenchmark(benchmark::State& state, const std::string& path) {
  XMeshData mesh;
  XReadError error;
  double heapPeak = static_cast<double>(heap_counter::PeakAbove([&] { ReadXFile(path.c_str(), mesh, error); }));
  if (mesh.vertexBytes.empty()) {
    state.SkipWithError(error.Text().c_str());
    return;
  }
  for (auto _ : state) {
    ReadXFile(path.c_str(), mesh, error);
    benchmark::DoNotOptimize(mesh.vertexBytes.data());
  }
  state.counters["heap_peak_MB"] = heapPeak / 1e6;
}

void BM_ReadText(benchmark::State& state) { ReadBenchmark(state, Files().text); }
void BM_ReadBinary(benchmark::State& state) { ReadBenchmark(state, Files().binary); }

void BM_Adjacency(benchmark::State& state) {
  const XMeshData& mesh = ReadGrid();
  std::vector<DWORD> adjacency(mesh.FaceCount() * 3);
  for (auto _ : state) {
    ComputeAdjacency(mesh.indices.data(), mesh.FaceCount(), mesh.VertexCount(), adjacency.data());
    benchmark::DoNotOptimize(adjacency.data());
  }
}

// The loaded mesh optimised in place as the viewer does, each time on a fresh
// copy made outside the timing.
void BM_Optimize(benchmark::State& state) {
  RecordingDevice device;
  ID3DXMesh* loaded = nullptr;
  ID3DXBuffer* materials = nullptr;
  DWORD materialCount = 0;
  if (FAILED(D3DXLoadMeshFromX(Files().binary.c_str(), D3DXMESH_SYSTEMMEM, &device, nullptr, &materials,
                               &materialCount, &loaded))) {
    state.SkipWithError("the grid did not load");
    return;
  }
  materials->Release();
  constexpr DWORD kFlags = D3DXMESHOPT_COMPACT | D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_VERTEXCACHE;
  auto freshCopy = [&] {
    ID3DXMesh* copy = nullptr;
    loaded->Optimize(D3DXMESHOPT_IGNOREVERTS | D3DXMESHOPT_ATTRSORT, nullptr, nullptr, nullptr, nullptr, &copy);
    return copy;
  };
  ID3DXMesh* mesh = freshCopy();
  double heapPeak = static_cast<double>(
      heap_counter::PeakAbove([&] { mesh->OptimizeInplace(kFlags, nullptr, nullptr, nullptr, nullptr); }));
  std::vector<uint32_t> indices = IndicesOf(mesh);
  meshopt_VertexCacheStatistics cache =
      meshopt_analyzeVertexCache(indices.data(), indices.size(), mesh->GetNumVertices(), 16, 0, 0);
  double meshBytes = MeshBytes(mesh);
  mesh->Release();
  for (auto _ : state) {
    state.PauseTiming();
    mesh = freshCopy();
    state.ResumeTiming();
    mesh->OptimizeInplace(kFlags, nullptr, nullptr, nullptr, nullptr);
    state.PauseTiming();
    mesh->Release();
    state.ResumeTiming();
  }
  state.counters["acmr"] = cache.acmr;
  state.counters["heap_peak_per_mesh"] = heapPeak / meshBytes;
  loaded->Release();
}

// The library's two orderings on the grid's attribute groups, each numbered
// from 0: the basis of the choice in the mesh optimiser.
void VertexCacheBenchmark(benchmark::State& state, bool fifo) {
  const XMeshData& mesh = ReadGrid();
  struct Group {
    std::vector<uint32_t> indices;
    size_t vertexCount;
  };
  std::vector<Group> groups;
  for (size_t start = 0; start < mesh.FaceCount();) {
    size_t end = start;
    while (end < mesh.FaceCount() && mesh.attributes[end] == mesh.attributes[start]) ++end;
    Group group{{mesh.indices.begin() + start * 3, mesh.indices.begin() + end * 3}, 0};
    std::vector<uint32_t> remap(mesh.VertexCount());
    group.vertexCount = meshopt_optimizeVertexFetchRemap(remap.data(), group.indices.data(), group.indices.size(),
                                                         mesh.VertexCount());
    meshopt_remapIndexBuffer(group.indices.data(), group.indices.data(), group.indices.size(), remap.data());
    groups.push_back(std::move(group));
    start = end;
  }
  std::vector<uint32_t> ordered;
  double missed = 0, triangles = 0;
  for (auto _ : state) {
    missed = triangles = 0;
    for (const Group& group : groups) {
      ordered.resize(group.indices.size());
      if (fifo)
        meshopt_optimizeVertexCacheFifo(ordered.data(), group.indices.data(), group.indices.size(), group.vertexCount,
                                        16);
      else
        meshopt_optimizeVertexCache(ordered.data(), group.indices.data(), group.indices.size(), group.vertexCount);
      state.PauseTiming();
      meshopt_VertexCacheStatistics cache =
          meshopt_analyzeVertexCache(ordered.data(), ordered.size(), group.vertexCount, 16, 0, 0);
      missed += cache.vertices_transformed;
      triangles += static_cast<double>(ordered.size() / 3);
      state.ResumeTiming();
    }
  }
  state.counters["acmr"] = missed / triangles;
}

void BM_VertexCacheForsyth(benchmark::State& state) { VertexCacheBenchmark(state, false); }
void BM_VertexCacheFifo(benchmark::State& state) { VertexCacheBenchmark(state, true); }

BENCHMARK(BM_Scan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Adjacency)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Optimize)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bounds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VertexCacheForsyth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VertexCacheFifo)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
