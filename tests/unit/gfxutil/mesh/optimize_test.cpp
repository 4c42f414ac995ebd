// ID3DXMesh::Optimize: face and vertex order, remaps, adjacency and the
// attribute table.
#include <gtest/gtest.h>
#include <meshoptimizer.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "gfxutil/d3dx_mesh.h"
#include "gfxutil/mesh/adjacency.h"
#include "gfxutil/mesh/vertex_cache.h"
#include "recording_device.h"
#include "xfile_test_support.h"

namespace {

// A mesh of position-only vertices at (i, 2i, 3i) with the given faces.
ID3DXMesh* MakeMesh(RecordingDevice& device, size_t vertexCount, const std::vector<uint32_t>& indices,
                    const std::vector<DWORD>& attributes, DWORD options = 0) {
  ID3DXMesh* mesh = nullptr;
  EXPECT_EQ(D3DXCreateMeshFVF(static_cast<DWORD>(attributes.size()), static_cast<DWORD>(vertexCount), options,
                              D3DFVF_XYZ, &device, &mesh),
            D3D_OK);
  uint8_t* bytes;
  mesh->LockVertexBuffer(0, &bytes);
  for (size_t v = 0; v < vertexCount; ++v) {
    float position[3] = {float(v), float(2 * v), float(3 * v)};
    std::memcpy(bytes + v * 12, position, 12);
  }
  mesh->LockIndexBuffer(0, &bytes);
  for (size_t i = 0; i < indices.size(); ++i) {
    if (mesh->GetOptions() & D3DXMESH_32BIT)
      reinterpret_cast<uint32_t*>(bytes)[i] = indices[i];
    else
      reinterpret_cast<uint16_t*>(bytes)[i] = static_cast<uint16_t>(indices[i]);
  }
  DWORD* attributeData;
  mesh->LockAttributeBuffer(0, &attributeData);
  std::copy(attributes.begin(), attributes.end(), attributeData);
  return mesh;
}

std::vector<uint32_t> Indices(ID3DXMesh* mesh) {
  uint8_t* bytes;
  mesh->LockIndexBuffer(D3DLOCK_READONLY, &bytes);
  std::vector<uint32_t> indices(mesh->GetNumFaces() * 3);
  for (size_t i = 0; i < indices.size(); ++i)
    indices[i] = (mesh->GetOptions() & D3DXMESH_32BIT) ? reinterpret_cast<uint32_t*>(bytes)[i]
                                                       : reinterpret_cast<uint16_t*>(bytes)[i];
  return indices;
}

std::vector<DWORD> Attributes(ID3DXMesh* mesh) {
  DWORD* data;
  mesh->LockAttributeBuffer(D3DLOCK_READONLY, &data);
  return std::vector<DWORD>(data, data + mesh->GetNumFaces());
}

std::vector<D3DXATTRIBUTERANGE> Table(ID3DXMesh* mesh) {
  DWORD size = 0;
  mesh->GetAttributeTable(nullptr, &size);
  std::vector<D3DXATTRIBUTERANGE> table(size);
  mesh->GetAttributeTable(table.data(), &size);
  return table;
}

std::vector<DWORD> Remap(ID3DXBuffer* buffer) {
  auto* data = static_cast<DWORD*>(buffer->GetBufferPointer());
  return std::vector<DWORD>(data, data + buffer->GetBufferSize() / sizeof(DWORD));
}

constexpr DWORD kNone = kNoAdjacentFace;

TEST(MeshOptimize, AttributeSortKeepsFileOrderAndPermutesAdjacency) {
  RecordingDevice device;
  const std::vector<uint32_t> indices{3, 0, 2, 3, 2, 5, 3, 5, 6, 3, 6, 4, 3, 4, 1, 3, 1, 0};
  ID3DXMesh* mesh = MakeMesh(device, 7, indices, {1, 2, 1, 2, 1, 2});
  std::vector<DWORD> adjacency = ComputeAdjacency(indices.data(), 6, 7);
  EXPECT_EQ(adjacency, (std::vector<DWORD>{5, kNone, 1, 0, kNone, 2, 1, kNone, 3, 2, kNone, 4, 3, kNone, 5, 4,
                                           kNone, 0}));
  std::vector<DWORD> adjacencyOut(18), faceRemap(6);
  ID3DXBuffer* vertexRemap = nullptr;
  ID3DXMesh* optimized = nullptr;
  ASSERT_EQ(mesh->Optimize(D3DXMESHOPT_IGNOREVERTS | D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_DONOTSPLIT, adjacency.data(),
                           adjacencyOut.data(), faceRemap.data(), &vertexRemap, &optimized),
            D3D_OK);
  EXPECT_EQ(faceRemap, (std::vector<DWORD>{0, 2, 4, 1, 3, 5}));
  EXPECT_EQ(Remap(vertexRemap), (std::vector<DWORD>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(adjacencyOut, (std::vector<DWORD>{5, kNone, 3, 3, kNone, 4, 4, kNone, 5, 0, kNone, 1, 1, kNone, 2, 2,
                                              kNone, 0}));
  EXPECT_EQ(Attributes(optimized), (std::vector<DWORD>{1, 1, 1, 2, 2, 2}));
  auto table = Table(optimized);
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ((std::vector<DWORD>{table[0].AttribId, table[0].FaceStart, table[0].FaceCount, table[0].VertexStart,
                                table[0].VertexCount}),
            (std::vector<DWORD>{1, 0, 3, 0, 7}));
  EXPECT_EQ((std::vector<DWORD>{table[1].AttribId, table[1].FaceStart, table[1].FaceCount, table[1].VertexStart,
                                table[1].VertexCount}),
            (std::vector<DWORD>{2, 3, 3, 0, 7}));
  EXPECT_EQ(Table(mesh).size(), 0u) << "the source mesh is left as it was";
  vertexRemap->Release();
  optimized->Release();
  mesh->Release();
  EXPECT_EQ(device.ExtraReferences(), 0);
}

TEST(MeshOptimize, RefusedFlagCombinations) {
  RecordingDevice device;
  const std::vector<uint32_t> indices{0, 1, 2, 2, 1, 3};
  ID3DXMesh* mesh = MakeMesh(device, 4, indices, {0, 0});
  std::vector<DWORD> adjacency = ComputeAdjacency(indices.data(), 2, 4);
  ID3DXMesh* out = reinterpret_cast<ID3DXMesh*>(1);
  EXPECT_EQ(mesh->Optimize(0, adjacency.data(), nullptr, nullptr, nullptr, &out), D3DERR_INVALIDCALL);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(mesh->Optimize(D3DXMESHOPT_VERTEXCACHE | D3DXMESHOPT_STRIPREORDER, adjacency.data(), nullptr, nullptr,
                           nullptr, &out),
            D3DERR_INVALIDCALL);
  EXPECT_EQ(mesh->Optimize(D3DXMESHOPT_COMPACT, nullptr, nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
  uint8_t* bytes;
  mesh->LockIndexBuffer(0, &bytes);
  reinterpret_cast<uint16_t*>(bytes)[5] = 4;  // beyond the four vertices
  EXPECT_EQ(mesh->Optimize(D3DXMESHOPT_COMPACT, nullptr, nullptr, nullptr, nullptr, &out), D3DERR_INVALIDCALL);
  mesh->Release();
}

TEST(MeshOptimize, CompactDropsUnusedVerticesAndKeepsTheOrder) {
  RecordingDevice device;
  ID3DXMesh* mesh = MakeMesh(device, 6, {4, 1, 5, 5, 1, 4}, {0, 0});
  ID3DXBuffer* remap = nullptr;
  ID3DXMesh* optimized = nullptr;
  std::vector<DWORD> adjacencyOut(6);
  ASSERT_EQ(mesh->Optimize(D3DXMESHOPT_COMPACT, nullptr, adjacencyOut.data(), nullptr, &remap, &optimized), D3D_OK);
  EXPECT_EQ(optimized->GetNumVertices(), 3u);
  EXPECT_EQ(Remap(remap), (std::vector<DWORD>{1, 4, 5, kNone, kNone, kNone}));
  EXPECT_EQ(Indices(optimized), (std::vector<uint32_t>{1, 0, 2, 2, 0, 1}));
  EXPECT_EQ(adjacencyOut, (std::vector<DWORD>{1, 1, 1, 0, 0, 0})) << "computed when none is given";
  uint8_t* bytes;
  optimized->LockVertexBuffer(D3DLOCK_READONLY, &bytes);
  EXPECT_EQ(reinterpret_cast<float*>(bytes)[3], 4.0f) << "new vertex 1 is old vertex 4";
  EXPECT_EQ(Table(optimized).size(), 0u) << "no attribute table without sorting";
  remap->Release();
  optimized->Release();
  mesh->Release();
}

// The grid's faces in a scrambled order, in three bands of attributes.
struct ScrambledGrid {
  std::vector<uint32_t> indices;
  std::vector<DWORD> attributes;
  size_t vertexCount;
};

ScrambledGrid MakeScrambledGrid(uint32_t size, size_t unusedVertices) {
  XTestModel grid = GridModel(size, size, 1);
  ScrambledGrid result{{}, {}, grid.positions.size() + unusedVertices};
  size_t faces = grid.polygonSizes.size();
  std::vector<size_t> order(faces);
  std::iota(order.begin(), order.end(), 0);
  std::shuffle(order.begin(), order.end(), std::mt19937(7));
  for (size_t f : order) {
    result.indices.insert(result.indices.end(), grid.corners.begin() + f * 3, grid.corners.begin() + f * 3 + 3);
    result.attributes.push_back(static_cast<DWORD>(f * 3 / faces * 2));
  }
  return result;
}

TEST(MeshOptimize, VertexCacheOrderKeepsTheTrianglesAndImprovesReuse) {
  RecordingDevice device;
  ScrambledGrid grid = MakeScrambledGrid(40, 5);
  const size_t faces = grid.attributes.size();
  ID3DXMesh* mesh = MakeMesh(device, grid.vertexCount, grid.indices, grid.attributes);
  std::vector<DWORD> adjacency = ComputeAdjacency(grid.indices.data(), faces, grid.vertexCount);
  std::vector<DWORD> faceRemap(faces), adjacencyOut(faces * 3);
  ID3DXBuffer* vertexRemap = nullptr;
  ID3DXMesh* optimized = nullptr;
  ASSERT_EQ(mesh->Optimize(D3DXMESHOPT_COMPACT | D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_VERTEXCACHE, adjacency.data(),
                           adjacencyOut.data(), faceRemap.data(), &vertexRemap, &optimized),
            D3D_OK);
  std::vector<uint32_t> indices = Indices(optimized);
  std::vector<DWORD> attributes = Attributes(optimized);
  std::vector<DWORD> oldOfNew = Remap(vertexRemap);

  // No unused vertex is left, and the remap names the old vertex of each new one.
  ASSERT_EQ(optimized->GetNumVertices(), grid.vertexCount - 5);
  std::vector<bool> used(optimized->GetNumVertices());
  for (uint32_t v : indices) used[v] = true;
  EXPECT_TRUE(std::all_of(used.begin(), used.end(), [](bool u) { return u; }));
  EXPECT_TRUE(std::all_of(oldOfNew.end() - 5, oldOfNew.end(), [](DWORD v) { return v == kNone; }));
  uint8_t* bytes;
  optimized->LockVertexBuffer(D3DLOCK_READONLY, &bytes);
  for (size_t v = 0; v < optimized->GetNumVertices(); ++v)
    ASSERT_EQ(reinterpret_cast<float*>(bytes)[v * 3], float(oldOfNew[v])) << v;

  // Each new face is its old face, corner for corner, with its attribute.
  for (size_t f = 0; f < faces; ++f) {
    EXPECT_EQ(attributes[f], grid.attributes[faceRemap[f]]);
    for (int k = 0; k < 3; ++k) ASSERT_EQ(oldOfNew[indices[f * 3 + k]], grid.indices[faceRemap[f] * 3 + k]);
  }
  std::vector<DWORD> sortedRemap(faceRemap);
  std::sort(sortedRemap.begin(), sortedRemap.end());
  for (size_t f = 0; f < faces; ++f) ASSERT_EQ(sortedRemap[f], f);
  EXPECT_TRUE(std::is_sorted(attributes.begin(), attributes.end()));

  // The adjacency follows the faces.
  std::vector<DWORD> newOfOld(faces);
  for (size_t f = 0; f < faces; ++f) newOfOld[faceRemap[f]] = static_cast<DWORD>(f);
  for (size_t f = 0; f < faces; ++f) {
    for (int k = 0; k < 3; ++k) {
      DWORD old = adjacency[faceRemap[f] * 3 + k];
      ASSERT_EQ(adjacencyOut[f * 3 + k], old == kNone ? kNone : newOfOld[old]);
    }
  }

  // The table covers each attribute's faces and the vertices they use.
  auto table = Table(optimized);
  ASSERT_EQ(table.size(), 3u);
  DWORD nextFace = 0;
  for (const D3DXATTRIBUTERANGE& range : table) {
    EXPECT_EQ(range.FaceStart, nextFace);
    uint32_t low = UINT32_MAX, high = 0;
    for (DWORD f = range.FaceStart; f < range.FaceStart + range.FaceCount; ++f) {
      EXPECT_EQ(attributes[f], range.AttribId);
      for (int k = 0; k < 3; ++k) low = std::min(low, indices[f * 3 + k]), high = std::max(high, indices[f * 3 + k]);
    }
    EXPECT_EQ(range.VertexStart, low);
    EXPECT_EQ(range.VertexCount, high - low + 1);
    nextFace += range.FaceCount;
  }
  EXPECT_EQ(nextFace, faces);

  // Far fewer vertex shader runs with a 16-entry cache than in the scrambled order.
  auto before = meshopt_analyzeVertexCache(grid.indices.data(), grid.indices.size(), grid.vertexCount, 16, 0, 0);
  auto after = meshopt_analyzeVertexCache(indices.data(), indices.size(), optimized->GetNumVertices(), 16, 0, 0);
  EXPECT_LT(after.acmr, before.acmr * 0.5f) << before.acmr << " -> " << after.acmr;

  vertexRemap->Release();
  optimized->Release();
  mesh->Release();
}

std::vector<uint8_t> VertexBytes(ID3DXMesh* mesh) {
  uint8_t* bytes;
  mesh->LockVertexBuffer(D3DLOCK_READONLY, &bytes);
  return std::vector<uint8_t>(bytes, bytes + size_t{mesh->GetNumVertices()} * mesh->GetNumBytesPerVertex());
}

// In place, each reordering leaves the mesh as the copying Optimize makes it,
// with the same remaps, and no adjacency is needed to order for the cache.
TEST(MeshOptimize, InPlaceGivesWhatTheCopyGives) {
  const DWORD kFlagSets[] = {
      D3DXMESHOPT_ATTRSORT,
      D3DXMESHOPT_COMPACT,
      D3DXMESHOPT_COMPACT | D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_VERTEXCACHE,
      D3DXMESHOPT_STRIPREORDER,
      D3DXMESHOPT_IGNOREVERTS | D3DXMESHOPT_ATTRSORT,
      D3DXMESHOPT_VERTEXCACHE | D3DXMESHOPT_IGNOREVERTS | D3DXMESHOPT_COMPACT,
  };
  RecordingDevice device;
  ScrambledGrid grid = MakeScrambledGrid(12, 3);
  const size_t faces = grid.attributes.size();
  for (DWORD flags : kFlagSets) {
    SCOPED_TRACE(flags);
    ID3DXMesh* source = MakeMesh(device, grid.vertexCount, grid.indices, grid.attributes);
    std::vector<DWORD> copyFaces(faces), inPlaceFaces(faces);
    ID3DXBuffer *copyVertices = nullptr, *inPlaceVertices = nullptr;
    ID3DXMesh* copy = nullptr;
    ASSERT_EQ(source->Optimize(flags, nullptr, nullptr, copyFaces.data(), &copyVertices, &copy), D3D_OK);
    ASSERT_EQ(source->OptimizeInplace(flags, nullptr, nullptr, inPlaceFaces.data(), &inPlaceVertices), D3D_OK);
    EXPECT_EQ(source->GetNumVertices(), copy->GetNumVertices());
    EXPECT_EQ(VertexBytes(source), VertexBytes(copy));
    EXPECT_EQ(Indices(source), Indices(copy));
    EXPECT_EQ(Attributes(source), Attributes(copy));
    EXPECT_EQ(inPlaceFaces, copyFaces);
    EXPECT_EQ(Remap(inPlaceVertices), Remap(copyVertices));
    ID3DXMesh* untracked = MakeMesh(device, grid.vertexCount, grid.indices, grid.attributes);
    ASSERT_EQ(untracked->OptimizeInplace(flags, nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(Indices(untracked), Indices(copy)) << "the same order when no remap is asked for";
    EXPECT_EQ(VertexBytes(untracked), VertexBytes(copy));
    untracked->Release();
    auto table = Table(source), copyTable = Table(copy);
    ASSERT_EQ(table.size(), copyTable.size());
    for (size_t i = 0; i < table.size(); ++i)
      EXPECT_EQ(std::memcmp(&table[i], &copyTable[i], sizeof table[i]), 0) << i;
    copyVertices->Release();
    inPlaceVertices->Release();
    copy->Release();
    source->Release();
  }
}

TEST(MeshOptimize, RefusedInPlaceLeavesTheMesh) {
  RecordingDevice device;
  const std::vector<uint32_t> indices{2, 1, 0, 0, 1, 3};
  ID3DXMesh* narrow = MakeMesh(device, 4, indices, {1, 0});
  ID3DXMesh* mesh = MakeMesh(device, 70000, indices, {1, 0});
  for (ID3DXMesh* refused : {narrow, mesh}) {
    EXPECT_EQ(refused->OptimizeInplace(D3DXMESHOPT_VERTEXCACHE | D3DXMESHOPT_STRIPREORDER, nullptr, nullptr, nullptr,
                                       nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(refused->OptimizeInplace(0, nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(Indices(refused), indices);
    EXPECT_EQ(Attributes(refused), (std::vector<DWORD>{1, 0}));
  }
  narrow->Release();
  EXPECT_EQ(mesh->GetNumVertices(), 70000u);
  // Compacted to four vertices, the 32-bit indices that 70000 vertices needed become 16-bit.
  ASSERT_EQ(mesh->OptimizeInplace(D3DXMESHOPT_COMPACT | D3DXMESHOPT_ATTRSORT, nullptr, nullptr, nullptr, nullptr),
            D3D_OK);
  EXPECT_EQ(mesh->GetNumVertices(), 4u);
  EXPECT_EQ(mesh->GetOptions() & D3DXMESH_32BIT, 0u);
  EXPECT_EQ(Indices(mesh), (std::vector<uint32_t>{0, 1, 3, 2, 1, 0}));
  EXPECT_EQ(Attributes(mesh), (std::vector<DWORD>{0, 1}));
  mesh->Release();
}

TEST(MeshOptimize, IdenticalFacesAreAllKept) {
  RecordingDevice device;
  std::vector<uint32_t> indices;
  for (int i = 0; i < 50; ++i) indices.insert(indices.end(), {0, 1, 2});
  indices.insert(indices.end(), {2, 1, 3});
  ID3DXMesh* mesh = MakeMesh(device, 4, indices, std::vector<DWORD>(51, 0));
  std::vector<DWORD> adjacency = ComputeAdjacency(indices.data(), 51, 4);
  std::vector<DWORD> faceRemap(51);
  ID3DXMesh* optimized = nullptr;
  ASSERT_EQ(mesh->Optimize(D3DXMESHOPT_VERTEXCACHE, adjacency.data(), nullptr, faceRemap.data(), nullptr, &optimized),
            D3D_OK);
  std::sort(faceRemap.begin(), faceRemap.end());
  for (DWORD f = 0; f < 51; ++f) EXPECT_EQ(faceRemap[f], f);
  optimized->Release();
  mesh->Release();
}

TEST(MeshOptimize, IndexWidthFollowsTheVertexCount) {
  RecordingDevice device;
  ID3DXMesh* small = MakeMesh(device, 65535, {0, 1, 65534}, {0});
  EXPECT_EQ(small->GetOptions() & D3DXMESH_32BIT, 0u);
  ID3DXMesh* large = MakeMesh(device, 65536, {0, 1, 65535}, {0});
  EXPECT_EQ(large->GetOptions() & D3DXMESH_32BIT, D3DXMESH_32BIT);
  EXPECT_EQ(Indices(large), (std::vector<uint32_t>{0, 1, 65535}));
  ID3DXMesh* optimized = nullptr;
  ASSERT_EQ(large->Optimize(D3DXMESHOPT_ATTRSORT, nullptr, nullptr, nullptr, nullptr, &optimized), D3D_OK);
  EXPECT_EQ(optimized->GetOptions() & D3DXMESH_32BIT, D3DXMESH_32BIT) << "65536 vertices kept without compaction";
  optimized->Release();
  ASSERT_EQ(large->Optimize(D3DXMESHOPT_COMPACT, nullptr, nullptr, nullptr, nullptr, &optimized), D3D_OK);
  EXPECT_EQ(optimized->GetOptions() & D3DXMESH_32BIT, 0u) << "three vertices left";
  EXPECT_EQ(Indices(optimized), (std::vector<uint32_t>{0, 1, 2}));
  optimized->Release();
  large->Release();
  small->Release();
}

// The pieces may be ordered on two threads; the result is the order of
// each piece of each run taken one after the other.
TEST(VertexCacheOrder, RunsInPiecesGiveEachPiecesOwnOrder) {
  constexpr size_t kVertices = 40000, kFaces = 200000, kPiece = kVertexCacheFacesPerPiece;
  std::mt19937 random(7);
  std::vector<uint32_t> indices(kFaces * 3);
  for (uint32_t& index : indices) index = random() % kVertices;
  const std::vector<std::pair<size_t, size_t>> runs = {{0, 150000}, {150000, 150001}, {150001, kFaces}};
  for (bool forStrips : {false, true}) {
    SCOPED_TRACE(forStrips);
    std::vector<uint32_t> expected = indices, ordered = indices;
    VertexCacheOrderer orderer(kVertices, forStrips);
    for (auto [first, end] : runs)
      for (size_t start = first; start < end; start += kPiece)
        orderer.OrderPieceInPlace(expected.data() + start * 3, std::min(kPiece, end - start));
    OrderRunsInPlace(ordered.data(), runs, kVertices, forStrips);
    EXPECT_EQ(ordered, expected);
    EXPECT_NE(ordered, indices);
  }
}

}  // namespace
