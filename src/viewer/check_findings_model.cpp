// The model's checks: materials hidden by day, geometry, the size as drawn.
#include <algorithm>
#include <cmath>
#include <string>

#include "gfxutil/d3dx_mesh.h"
#include "platform/os/text_encoding.h"
#include "resources/mesh_resource.h"
#include "viewer/check_findings.h"

namespace {

// Bounds as drawn, in metres: under the one or over the other is likely the wrong unit.
constexpr float kSmallestSize = 0.05f;
constexpr float kLargestSize = 2000.0f;

// The mesh's arrays, locked for reading while the view lives.
class MeshView {
 public:
  explicit MeshView(ID3DXMesh* mesh)
      : mesh_(mesh), wideIndices_(mesh->GetOptions() & D3DXMESH_32BIT), stride_(mesh->GetNumBytesPerVertex()) {
    if (FAILED(mesh_->LockVertexBuffer(D3DLOCK_READONLY, &vertices_))) vertices_ = nullptr;
    if (FAILED(mesh_->LockIndexBuffer(D3DLOCK_READONLY, &indices_))) indices_ = nullptr;
  }
  ~MeshView() {
    if (vertices_) mesh_->UnlockVertexBuffer();
    if (indices_) mesh_->UnlockIndexBuffer();
  }
  MeshView(const MeshView&) = delete;
  MeshView& operator=(const MeshView&) = delete;

  bool Readable() const { return vertices_ && indices_; }
  uint32_t Index(size_t corner) const {
    if (wideIndices_) return reinterpret_cast<const uint32_t*>(indices_)[corner];
    return reinterpret_cast<const uint16_t*>(indices_)[corner];
  }
  // The position, then (when the format has one) the normal, of a vertex.
  const D3DXVECTOR3& Position(uint32_t vertex) const { return *Element(vertex, 0); }
  const D3DXVECTOR3& Normal(uint32_t vertex) const { return *Element(vertex, sizeof(D3DXVECTOR3)); }

 private:
  const D3DXVECTOR3* Element(uint32_t vertex, size_t offset) const {
    return reinterpret_cast<const D3DXVECTOR3*>(vertices_ + size_t{vertex} * stride_ + offset);
  }

  ID3DXMesh* mesh_;
  // Read once: the loops below visit every face and vertex.
  bool wideIndices_;
  DWORD stride_;
  uint8_t* vertices_ = nullptr;
  uint8_t* indices_ = nullptr;
};

float LengthSquared(const D3DXVECTOR3& v) { return v.x * v.x + v.y * v.y + v.z * v.z; }

// Zero area: a corner repeated, or corners on one line (the cross product
// tiny against the longest edge).
bool IsDegenerate(const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c) {
  D3DXVECTOR3 ab{b.x - a.x, b.y - a.y, b.z - a.z}, ac{c.x - a.x, c.y - a.y, c.z - a.z};
  D3DXVECTOR3 bc{c.x - b.x, c.y - b.y, c.z - b.z};
  D3DXVECTOR3 cross{ab.y * ac.z - ab.z * ac.y, ab.z * ac.x - ab.x * ac.z, ab.x * ac.y - ab.y * ac.x};
  float longest = std::max({LengthSquared(ab), LengthSquared(ac), LengthSquared(bc)});
  // |cross| <= 1e-6 * longest, squared on both sides (in double, where the fourth power neither over- nor underflows).
  double area = LengthSquared(cross), edge = longest;
  return area <= 1e-12 * edge * edge;
}

class ModelChecks {
 public:
  ModelChecks(const MeshResource& model, std::vector<LoadNote>& findings) : model_(model), findings_(findings) {}

  void Add(FindingCode code, std::string message) {
    findings_.push_back(LoadNote{code, DisplayText(model_.fileName), 0, "", "", std::move(message)});
  }

  void InvisibleByDay() {
    if (model_.materialCount == 0) return;
    for (const D3DMATERIAL8& material : model_.dayMaterials)
      if (material.Diffuse.a != 0.0f) return;
    Add(FindingCode::kModelInvisibleByDay,
        NoteMessage("all %u materials have alpha 0: the model is hidden by day and drawn only at night",
                    model_.materialCount));
  }

  void Scale(float drawScale) {
    const D3DXVECTOR3 &low = model_.boxMin, &high = model_.boxMax;
    float across = std::max({high.x - low.x, high.y - low.y, high.z - low.z});
    float drawn = across * drawScale;
    if (!(drawn < kSmallestSize || drawn > kLargestSize)) return;
    Add(FindingCode::kModelScale,
        NoteMessage("the model is %.3g m across as drawn (%.3g in the file, draw scale %g): under %g m or over %g m "
                    "is likely the wrong unit",
                    drawn, across, drawScale, kSmallestSize, kLargestSize));
  }

  void UnusedVertices() {
    uint32_t kept = model_.mesh->GetNumVertices();
    if (model_.loadedVertices <= kept) return;
    Add(FindingCode::kUnusedVertices, NoteMessage("%u of the %u vertices are used by no face (left out when drawn)",
                                                  model_.loadedVertices - kept, model_.loadedVertices));
  }

  void Geometry() {
    ID3DXMesh* mesh = model_.mesh;
    MeshView view(mesh);
    if (!view.Readable()) return;
    uint32_t degenerate = 0, faces = mesh->GetNumFaces();
    for (uint32_t f = 0; f < faces; ++f) {
      uint32_t a = view.Index(3 * f), b = view.Index(3 * f + 1), c = view.Index(3 * f + 2);
      if (a == b || b == c || a == c || IsDegenerate(view.Position(a), view.Position(b), view.Position(c)))
        ++degenerate;
    }
    if (degenerate)
      Add(FindingCode::kDegenerateFaces, NoteMessage("%u of the %u faces have no area", degenerate, faces));
    if (!(mesh->GetFVF() & D3DFVF_NORMAL)) {
      Add(FindingCode::kNoNormals, "the model has no normals: it is lit flat");
      return;
    }
    uint32_t zero = 0, vertices = mesh->GetNumVertices();
    for (uint32_t v = 0; v < vertices; ++v) {
      float length = LengthSquared(view.Normal(v));
      if (!(length > 1e-12f) || !std::isfinite(length)) ++zero;
    }
    if (zero)
      Add(FindingCode::kZeroNormals, NoteMessage("%u of the %u vertices have a normal of zero length", zero, vertices));
  }

  void UnusedMaterials() {
    DWORD count = 0;
    model_.mesh->GetAttributeTable(nullptr, &count);
    std::vector<D3DXATTRIBUTERANGE> table(count);
    model_.mesh->GetAttributeTable(table.data(), &count);
    std::vector<bool> used(model_.materialCount, false);
    for (const D3DXATTRIBUTERANGE& range : table)
      if (range.AttribId < used.size() && range.FaceCount > 0) used[range.AttribId] = true;
    std::string unused;
    size_t total = 0;
    for (size_t m = 0; m < used.size(); ++m) {
      if (used[m]) continue;
      if (total++ < 16) unused += (unused.empty() ? "" : ", ") + std::to_string(m);
    }
    if (total == 0) return;
    if (total > 16) unused += ", ...";
    Add(FindingCode::kUnusedMaterial,
        NoteMessage("%zu of the %u materials are used by no face: %s", total, model_.materialCount, unused.c_str()));
  }

 private:
  const MeshResource& model_;
  std::vector<LoadNote>& findings_;
};

}  // namespace

std::vector<LoadNote> ModelFindings(const MeshResource& model, float drawScale) {
  std::vector<LoadNote> findings;
  if (!model.mesh) return findings;
  ModelChecks checks(model, findings);
  checks.InvisibleByDay();
  if (drawScale > 0.0f) checks.Scale(drawScale);
  checks.Geometry();
  checks.UnusedVertices();
  checks.UnusedMaterials();
  return findings;
}
