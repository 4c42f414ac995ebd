#include "graphics/device_setup.h"

namespace {

int Bit(DWORD bits, DWORD mask) { return (bits & mask) != 0; }

}  // namespace

DeviceCapabilities LogCapabilities(IDirect3DDevice8* device) {
  D3DCAPS8 caps{};
  device->GetDeviceCaps(&caps);
  DeviceCapabilities c{};
  c.maxPrimitiveCount = static_cast<int>(caps.MaxPrimitiveCount);
  c.maxActiveLights = static_cast<int>(caps.MaxActiveLights);
  c.vertexFog = Bit(caps.RasterCaps, D3DPRASTERCAPS_FOGVERTEX);
  c.pixelFog = Bit(caps.RasterCaps, D3DPRASTERCAPS_FOGTABLE);
  c.rangeFog = Bit(caps.RasterCaps, D3DPRASTERCAPS_FOGRANGE);
  c.availableTextureMemKB = static_cast<int>(device->GetAvailableTextureMem() >> 10);
  c.maxTextureWidth = static_cast<int>(caps.MaxTextureWidth);
  c.maxTextureHeight = static_cast<int>(caps.MaxTextureHeight);
  c.maxSimultaneousTextures = static_cast<int>(caps.MaxSimultaneousTextures);
  c.textureAlpha = Bit(caps.TextureCaps, D3DPTEXTURECAPS_ALPHA);
  c.mipmap = Bit(caps.TextureCaps, D3DPTEXTURECAPS_MIPMAP);
  c.bumpEnvMap = Bit(caps.TextureOpCaps, D3DTEXOPCAPS_BUMPENVMAP);
  // One report, written in two lines of the log: in UTF-8 it is longer than one log line holds.
  LogPrintf("最大プリミティブ = %d\n最大ライト = %d\nフォグ{\n\t頂点 = %d\n\tピクセル = %d\n\t範囲 = %d\n}\n",
            c.maxPrimitiveCount, c.maxActiveLights, c.vertexFog, c.pixelFog, c.rangeFog);
  LogPrintf(
      "テクスチャー{\n\t利用可能メモリ = %d KB\n\t最大サイズ = %d x %d\n\t最大ステージ = %d\n"
      "\tアルファブレンド = %d\n\tミップマップ = %d\n\tバンプマップ = %d\n}\n",
      c.availableTextureMemKB, c.maxTextureWidth, c.maxTextureHeight, c.maxSimultaneousTextures, c.textureAlpha,
      c.mipmap, c.bumpEnvMap);
  return c;
}
