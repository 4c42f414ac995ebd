// Load time of a large X file through the viewer's own mesh resource, from the
// file on disk to a drawable, optimised mesh: a generated grid of about 200 000 vertices and 400 000 triangles with
// normals, texture coordinates and three materials, as text (about 40 MB),
// binary and compressed files. Reports throughput over the file's bytes, and
// the peak memory of one load against the size of the final mesh.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "gfxutil/d3dx_mesh.h"
#include "graphics/direct3d.h"
#include "grid_files.h"
#include "heap_counter.h"
#include "recording_device.h"
#include "resources/mesh_resource.h"

namespace {

const GridFilePaths& Files() {
  static ScratchGridFiles files("/tmp/xfile_bench_" + std::to_string(getpid()));
  return files;
}

size_t FileSize(const std::string& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  return static_cast<size_t>(file.tellg());
}

// Resident memory figures of /proc/self/status, in bytes.
size_t StatusBytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::stoul(line.substr(std::string(field).size())) * 1024;
  return 0;
}

void ResetResidentPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

size_t MeshBytes(ID3DXMesh* mesh) {
  size_t indexSize = (mesh->GetOptions() & D3DXMESH_32BIT) ? 4 : 2;
  return size_t{mesh->GetNumVertices()} * mesh->GetNumBytesPerVertex() +
         size_t{mesh->GetNumFaces()} * (3 * indexSize + sizeof(DWORD));
}

void LoadBenchmark(benchmark::State& state, const std::string& path) {
  RecordingDevice device;
  Graphics().d3dDevice = &device;
  MeshResource model;
  // One load measured for memory first, from a trimmed heap.
  malloc_trim(0);
  size_t residentBefore = StatusBytes("VmRSS:");
  ResetResidentPeak();
  bool loaded = false;
  double heapPeak = static_cast<double>(heap_counter::PeakAbove([&] { loaded = model.load(path.c_str(), 0, 1); }));
  if (!loaded) {
    state.SkipWithError("the file did not load");
    return;
  }
  double meshBytes = static_cast<double>(MeshBytes(model.mesh));
  double residentPeak = static_cast<double>(StatusBytes("VmHWM:") - residentBefore);
  model.release();

  for (auto _ : state) {
    model.load(path.c_str(), 0, 1);
    benchmark::DoNotOptimize(model.mesh);
    model.release();
  }
  Graphics().d3dDevice = nullptr;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * FileSize(path)));
  state.counters["file_MB"] = static_cast<double>(FileSize(path)) / 1e6;
  state.counters["mesh_MB"] = meshBytes / 1e6;
  state.counters["heap_peak_MB"] = heapPeak / 1e6;
  state.counters["rss_peak_MB"] = residentPeak / 1e6;
  state.counters["heap_peak_per_mesh"] = heapPeak / meshBytes;
}

void BM_LoadText(benchmark::State& state) { LoadBenchmark(state, Files().text); }
void BM_LoadBinary(benchmark::State& state) { LoadBenchmark(state, Files().binary); }
void BM_LoadCompressed(benchmark::State& state) { LoadBenchmark(state, Files().compressed); }

BENCHMARK(BM_LoadText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCompressed)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
