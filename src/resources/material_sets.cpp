#include "resources/material_sets.h"

#include <bit>

const D3DMATERIAL8 kNightLightMaterial = {
    {1.0f, 0.8f, 0.5f, 0.7f},  // diffuse
    {1.0f, 0.8f, 0.5f, 0.7f},  // ambient
    {1.0f, 0.8f, 0.5f, 1.0f},  // specular
    {1.0f, 0.8f, 0.5f, 1.0f},  // emissive
    1.0f,
};

D3DMATERIAL8 DayMaterial(const D3DMATERIAL8& fileMaterial) {
  D3DMATERIAL8 day = fileMaterial;
  day.Ambient = day.Diffuse;
  return day;
}

D3DMATERIAL8 NightMaterial(const D3DMATERIAL8& dayMaterial) {
  if (std::bit_cast<uint32_t>(dayMaterial.Diffuse.a) == std::bit_cast<uint32_t>(0.5f)) return kNightLightMaterial;
  D3DMATERIAL8 night = dayMaterial;
  if (night.Diffuse.a == 0.0f) {
    night.Diffuse.a = 1.0f;
    night.Ambient.a = 1.0f;
  }
  return night;
}

void SortByDiffuseAlpha(const D3DMATERIAL8* materials, uint32_t* order, uint32_t count) {
  for (uint32_t i = 1; i < count; ++i) {
    uint32_t moving = order[i];
    float alpha = materials[moving].Diffuse.a;
    uint32_t gap = i;
    for (; gap > 0 && materials[order[gap - 1]].Diffuse.a < alpha; --gap) order[gap] = order[gap - 1];
    order[gap] = moving;
  }
}
