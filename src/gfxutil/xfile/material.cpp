#include "gfxutil/xfile/material.h"

XMaterial DefaultXMaterial() {
  XMaterial result;
  result.material.Diffuse = {0.5f, 0.5f, 0.5f, 0.0f};
  result.material.Specular = {0.5f, 0.5f, 0.5f, 0.0f};
  return result;
}

XMaterial MaterialFromFile(const float (&values)[11]) {
  XMaterial result;
  D3DMATERIAL8& m = result.material;
  m.Diffuse = {values[0], values[1], values[2], values[3]};
  m.Power = values[4];
  m.Specular = {values[5], values[6], values[7], 1.0f};
  m.Emissive = {values[8], values[9], values[10], 1.0f};
  m.Ambient = {0.0f, 0.0f, 0.0f, 1.0f};
  return result;
}

void SetTextureName(XMaterial& material, std::string_view name) {
  material.hasTexture = true;
  material.textureName.assign(name.substr(0, name.find('\0')));
}
