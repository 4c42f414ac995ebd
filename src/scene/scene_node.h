// Places one loaded model in the world and draws it: a local transform with
// a uniform scale, under an optional parent node.
#pragma once
#include <cstdint>

#include "gfxutil/d3dx_math.h"

class MeshResource;

class SceneNode {
 public:
  SceneNode();
  virtual ~SceneNode() = default;
  // Draws the mesh with WorldMatrix(); nothing while no mesh is attached.
  virtual void Draw();

  // Replaces the whole local transform: scale s, translation (x, y, z). The
  // mesh is not owned and may be null. A scale of 0 or not finite is refused and 1 used.
  void Attach(MeshResource* mesh, float x, float y, float z, float s);
  // Rescales the axes to s, keeping the translation. 0 and non-finite scales
  // are refused (false, scale kept): a zero scale could never be undone.
  bool SetScale(float s);
  // Axes from forward and up (forward must not be parallel to up), keeping translation and scale.
  void SetOrientation(const D3DXVECTOR3& forward, const D3DXVECTOR3& up);
  void SetPosition(const D3DXVECTOR3& position);
  // False, parent unchanged, if the node would become its own ancestor.
  bool SetParent(SceneNode* parent);

  // local for a root node, else local x the parent's world matrix.
  D3DXMATRIX WorldMatrix() const;

  const D3DXMATRIX& Local() const { return local_; }
  float Scale() const { return scale_; }
  bool IsVisible() const { return visible_ != 0; }
  MeshResource* Mesh() const { return mesh_; }
  SceneNode* Parent() const { return parent_; }

 private:
  MeshResource* mesh_ = nullptr;  // not owned
  SceneNode* parent_ = nullptr;   // not owned
  D3DXMATRIX local_;              // rows 1-3 the scaled axes, row 4 the translation
  float scale_ = 1.0f;
  int32_t visible_ = 0;
};
