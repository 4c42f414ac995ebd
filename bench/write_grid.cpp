// Writes the grid of the load benchmarks for bench/peers.sh, which measures
// whole programs on it: write_grid <stem> writes <stem>_text.x,
// <stem>_binary.x and <stem>_compressed.x and prints the bytes of the mesh
// the viewer makes of them (vertices of 32 bytes, 32-bit indices and one
// attribute per triangle).
#include <cstdio>

#include "grid_files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <stem>\n", argv[0]);
    return 1;
  }
  WriteGridFiles(argv[1]);
  XTestModel grid = BenchGridModel();
  size_t meshBytes = grid.positions.size() * 32 + grid.polygonSizes.size() * (3 * 4 + 4);
  std::printf("%zu\n", meshBytes);
  return 0;
}
