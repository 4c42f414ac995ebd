#include "scene/scene_node.h"

#include <cmath>

#include "base/debug_log.h"
#include "gfxutil/vector_ops.h"
#include "resources/mesh_resource.h"

namespace {

bool IsUsableScale(float s) { return s != 0.0f && std::isfinite(s); }

void SetRow(D3DXMATRIX& m, int row, const D3DXVECTOR3& v) {
  m.m[row][0] = v.x;
  m.m[row][1] = v.y;
  m.m[row][2] = v.z;
  m.m[row][3] = 0.0f;
}

}  // namespace

SceneNode::SceneNode() { D3DXMatrixIdentity(&local_); }

void SceneNode::Draw() {
  if (!mesh_ || !visible_) return;
  mesh_->draw(WorldMatrix());
}

void SceneNode::Attach(MeshResource* mesh, float x, float y, float z, float s) {
  if (!IsUsableScale(s)) {
    LogPrintf("SceneNode: scale %g refused, 1 used\n", s);
    s = 1.0f;
  }
  D3DXMatrixScaling(&local_, s, s, s);
  SetPosition(D3DXVECTOR3(x, y, z));
  scale_ = s;
  mesh_ = mesh;
  visible_ = 1;
}

bool SceneNode::SetScale(float s) {
  if (!IsUsableScale(s)) {
    LogPrintf("SceneNode: scale %g refused, %g kept\n", s, scale_);
    return false;
  }
  float k = s / scale_;
  D3DXMATRIX scaling;
  D3DXMatrixScaling(&scaling, k, k, k);
  D3DXMatrixMultiply(&local_, &scaling, &local_);
  scale_ = s;
  return true;
}

void SceneNode::SetOrientation(const D3DXVECTOR3& forward, const D3DXVECTOR3& up) {
  D3DXVECTOR3 f = Normalized(forward);
  D3DXVECTOR3 x = Normalized(Cross(up, f));
  D3DXVECTOR3 y = Normalized(Cross(f, x));
  SetRow(local_, 0, x);
  SetRow(local_, 1, y);
  SetRow(local_, 2, f);
  local_._44 = 1.0f;
  float remembered = scale_;
  scale_ = 1.0f;
  SetScale(remembered);
}

void SceneNode::SetPosition(const D3DXVECTOR3& position) {
  local_._41 = position.x;
  local_._42 = position.y;
  local_._43 = position.z;
}

bool SceneNode::SetParent(SceneNode* parent) {
  for (const SceneNode* ancestor = parent; ancestor; ancestor = ancestor->parent_)
    if (ancestor == this) {
      LogPrintf("SceneNode: a node cannot be its own ancestor\n");
      return false;
    }
  parent_ = parent;
  return true;
}

D3DXMATRIX SceneNode::WorldMatrix() const {
  if (!parent_) return local_;
  D3DXMATRIX parentWorld = parent_->WorldMatrix(), world;
  D3DXMatrixMultiply(&world, &local_, &parentWorld);
  return world;
}
