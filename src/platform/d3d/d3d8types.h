// Direct3D 8 shaped types and constants, with their documented numeric values.
// Only what the viewer uses is declared here.
#pragma once
#include <cstdint>

#include "platform/os/windows_types.h"

using D3DCOLOR = uint32_t;

constexpr HRESULT D3D_OK = 0;
constexpr HRESULT D3DERR_INVALIDCALL = static_cast<HRESULT>(0x8876086Cu);
constexpr HRESULT D3DERR_NOTAVAILABLE = static_cast<HRESULT>(0x8876086Au);
constexpr HRESULT D3DERR_DEVICELOST = static_cast<HRESULT>(0x88760868u);
constexpr HRESULT D3DERR_DEVICENOTRESET = static_cast<HRESULT>(0x88760869u);
constexpr HRESULT D3DERR_NOTFOUND = static_cast<HRESULT>(0x88760866u);
constexpr HRESULT D3DERR_OUTOFVIDEOMEMORY = static_cast<HRESULT>(0x8876017Cu);

struct D3DVECTOR {
  float x, y, z;
};

struct D3DCOLORVALUE {
  float r, g, b, a;
};

// An ARGB colour as the four floats r, g, b, a.
inline void ColourOf(D3DCOLOR argb, float out[4]) {
  out[0] = ((argb >> 16) & 0xFF) / 255.0f;
  out[1] = ((argb >> 8) & 0xFF) / 255.0f;
  out[2] = (argb & 0xFF) / 255.0f;
  out[3] = (argb >> 24) / 255.0f;
}

// Row-major 4x4, row vectors: the translation sits in the fourth row.
struct D3DMATRIX {
  union {
    struct {
      float _11, _12, _13, _14;
      float _21, _22, _23, _24;
      float _31, _32, _33, _34;
      float _41, _42, _43, _44;
    };
    float m[4][4];
  };
};

struct D3DMATERIAL8 {
  D3DCOLORVALUE Diffuse;
  D3DCOLORVALUE Ambient;
  D3DCOLORVALUE Specular;
  D3DCOLORVALUE Emissive;
  float Power;
};

enum D3DLIGHTTYPE : uint32_t { D3DLIGHT_POINT = 1, D3DLIGHT_SPOT = 2, D3DLIGHT_DIRECTIONAL = 3 };

struct D3DLIGHT8 {
  D3DLIGHTTYPE Type;
  D3DCOLORVALUE Diffuse;
  D3DCOLORVALUE Specular;
  D3DCOLORVALUE Ambient;
  D3DVECTOR Position;
  D3DVECTOR Direction;
  float Range;
  float Falloff;
  float Attenuation0;
  float Attenuation1;
  float Attenuation2;
  float Theta;
  float Phi;
};

// D3DFORMAT values.
using D3DFORMAT = uint32_t;
constexpr D3DFORMAT D3DFMT_UNKNOWN = 0;
constexpr D3DFORMAT D3DFMT_R8G8B8 = 20;
constexpr D3DFORMAT D3DFMT_A8R8G8B8 = 21;
constexpr D3DFORMAT D3DFMT_X8R8G8B8 = 22;
constexpr D3DFORMAT D3DFMT_R5G6B5 = 23;
constexpr D3DFORMAT D3DFMT_X1R5G5B5 = 24;
constexpr D3DFORMAT D3DFMT_A1R5G5B5 = 25;
constexpr D3DFORMAT D3DFMT_A4R4G4B4 = 26;
constexpr D3DFORMAT D3DFMT_R3G3B2 = 27;
constexpr D3DFORMAT D3DFMT_A8 = 28;
constexpr D3DFORMAT D3DFMT_A8R3G3B2 = 29;
constexpr D3DFORMAT D3DFMT_X4R4G4B4 = 30;
constexpr D3DFORMAT D3DFMT_D16_LOCKABLE = 70;
constexpr D3DFORMAT D3DFMT_D32 = 71;
constexpr D3DFORMAT D3DFMT_D15S1 = 73;
constexpr D3DFORMAT D3DFMT_D24S8 = 75;
constexpr D3DFORMAT D3DFMT_D24X8 = 77;
constexpr D3DFORMAT D3DFMT_D24X4S4 = 79;
constexpr D3DFORMAT D3DFMT_D16 = 80;
constexpr D3DFORMAT D3DFMT_INDEX16 = 101;
constexpr D3DFORMAT D3DFMT_INDEX32 = 102;
constexpr D3DFORMAT D3DFMT_DXT1 = 0x31545844;  // MAKEFOURCC('D','X','T','1')
constexpr D3DFORMAT D3DFMT_DXT3 = 0x33545844;
constexpr D3DFORMAT D3DFMT_DXT5 = 0x35545844;

// Flexible vertex format bits.
constexpr DWORD D3DFVF_POSITION_MASK = 0x00E;
constexpr DWORD D3DFVF_XYZ = 0x002;
constexpr DWORD D3DFVF_XYZRHW = 0x004;
constexpr DWORD D3DFVF_NORMAL = 0x010;
constexpr DWORD D3DFVF_DIFFUSE = 0x040;
constexpr DWORD D3DFVF_TEX1 = 0x100;

// NULLREF (Direct3D 9's value): resources are made, nothing is drawn.
enum D3DDEVTYPE : uint32_t { D3DDEVTYPE_HAL = 1, D3DDEVTYPE_REF = 2, D3DDEVTYPE_NULLREF = 4 };
constexpr UINT D3DADAPTER_DEFAULT = 0;
constexpr DWORD D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x20;
constexpr DWORD D3DCREATE_HARDWARE_VERTEXPROCESSING = 0x40;

constexpr DWORD D3DUSAGE_RENDERTARGET = 0x1;
constexpr DWORD D3DUSAGE_DEPTHSTENCIL = 0x2;
constexpr DWORD D3DUSAGE_WRITEONLY = 0x8;
enum D3DRESOURCETYPE : uint32_t { D3DRTYPE_SURFACE = 1, D3DRTYPE_TEXTURE = 3 };
enum D3DPOOL : uint32_t { D3DPOOL_DEFAULT = 0, D3DPOOL_MANAGED = 1, D3DPOOL_SYSTEMMEM = 2 };
constexpr DWORD D3DLOCK_READONLY = 0x10;
constexpr DWORD D3DLOCK_NOSYSLOCK = 0x800;

constexpr DWORD D3DMULTISAMPLE_NONE = 0;
constexpr DWORD D3DSWAPEFFECT_DISCARD = 1;
constexpr DWORD D3DPRESENT_INTERVAL_DEFAULT = 0;

constexpr DWORD D3DCLEAR_TARGET = 1;
constexpr DWORD D3DCLEAR_ZBUFFER = 2;
constexpr DWORD D3DCLEAR_STENCIL = 4;

enum D3DTRANSFORMSTATETYPE : uint32_t { D3DTS_VIEW = 2, D3DTS_PROJECTION = 3, D3DTS_WORLD = 256 };

enum D3DRENDERSTATETYPE : uint32_t {
  D3DRS_ZENABLE = 7,
  D3DRS_SHADEMODE = 9,
  D3DRS_ZWRITEENABLE = 14,
  D3DRS_SRCBLEND = 19,
  D3DRS_DESTBLEND = 20,
  D3DRS_CULLMODE = 22,
  D3DRS_ZFUNC = 23,
  D3DRS_ALPHABLENDENABLE = 27,
  D3DRS_FOGENABLE = 28,
  D3DRS_SPECULARENABLE = 29,
  D3DRS_LIGHTING = 137,
  D3DRS_AMBIENT = 139,
  D3DRS_NORMALIZENORMALS = 143,
};
constexpr DWORD D3DZB_FALSE = 0;
constexpr DWORD D3DZB_TRUE = 1;
constexpr DWORD D3DSHADE_FLAT = 1;
constexpr DWORD D3DSHADE_GOURAUD = 2;
constexpr DWORD D3DCULL_NONE = 1;
constexpr DWORD D3DCULL_CW = 2;
constexpr DWORD D3DCULL_CCW = 3;
constexpr DWORD D3DBLEND_ZERO = 1;
constexpr DWORD D3DBLEND_ONE = 2;
constexpr DWORD D3DBLEND_SRCCOLOR = 3;
constexpr DWORD D3DBLEND_INVSRCCOLOR = 4;
constexpr DWORD D3DBLEND_SRCALPHA = 5;
constexpr DWORD D3DBLEND_INVSRCALPHA = 6;
constexpr DWORD D3DBLEND_DESTALPHA = 7;
constexpr DWORD D3DBLEND_INVDESTALPHA = 8;
constexpr DWORD D3DBLEND_DESTCOLOR = 9;
constexpr DWORD D3DBLEND_INVDESTCOLOR = 10;
constexpr DWORD D3DCMP_NEVER = 1;
constexpr DWORD D3DCMP_LESS = 2;
constexpr DWORD D3DCMP_EQUAL = 3;
constexpr DWORD D3DCMP_LESSEQUAL = 4;
constexpr DWORD D3DCMP_GREATER = 5;
constexpr DWORD D3DCMP_NOTEQUAL = 6;
constexpr DWORD D3DCMP_GREATEREQUAL = 7;
constexpr DWORD D3DCMP_ALWAYS = 8;

enum D3DTEXTURESTAGESTATETYPE : uint32_t {
  D3DTSS_COLOROP = 1,
  D3DTSS_COLORARG1 = 2,
  D3DTSS_COLORARG2 = 3,
  D3DTSS_ALPHAOP = 4,
  D3DTSS_ALPHAARG1 = 5,
  D3DTSS_ALPHAARG2 = 6,
  D3DTSS_MAGFILTER = 16,
  D3DTSS_MINFILTER = 17,
  D3DTSS_MIPFILTER = 18,
};
constexpr DWORD D3DTOP_DISABLE = 1;
constexpr DWORD D3DTOP_SELECTARG1 = 2;
constexpr DWORD D3DTOP_SELECTARG2 = 3;
constexpr DWORD D3DTOP_MODULATE = 4;
constexpr DWORD D3DTA_DIFFUSE = 0;
constexpr DWORD D3DTA_CURRENT = 1;
constexpr DWORD D3DTA_TEXTURE = 2;
constexpr DWORD D3DTEXF_NONE = 0;
constexpr DWORD D3DTEXF_POINT = 1;
constexpr DWORD D3DTEXF_LINEAR = 2;

enum D3DPRIMITIVETYPE : uint32_t {
  D3DPT_POINTLIST = 1,
  D3DPT_LINELIST = 2,
  D3DPT_LINESTRIP = 3,
  D3DPT_TRIANGLELIST = 4,
};

constexpr DWORD D3DCS_ALL = 0xFFF;
struct D3DCLIPSTATUS8 {
  DWORD ClipUnion;
  DWORD ClipIntersection;
};

constexpr DWORD D3DPRASTERCAPS_FOGVERTEX = 0x80;
constexpr DWORD D3DPRASTERCAPS_FOGTABLE = 0x100;
constexpr DWORD D3DPRASTERCAPS_FOGRANGE = 0x10000;
constexpr DWORD D3DPTEXTURECAPS_ALPHA = 0x4;
constexpr DWORD D3DPTEXTURECAPS_MIPMAP = 0x4000;
constexpr DWORD D3DTEXOPCAPS_BUMPENVMAP = 0x200000;

// The members of D3DCAPS8 the viewer reads.
struct D3DCAPS8 {
  D3DDEVTYPE DeviceType;
  UINT AdapterOrdinal;
  DWORD RasterCaps;
  DWORD TextureCaps;
  DWORD TextureOpCaps;
  DWORD MaxTextureWidth;
  DWORD MaxTextureHeight;
  DWORD MaxSimultaneousTextures;
  DWORD MaxActiveLights;
  DWORD MaxPrimitiveCount;
};

struct D3DDISPLAYMODE {
  UINT Width;
  UINT Height;
  UINT RefreshRate;
  D3DFORMAT Format;
};

struct D3DADAPTER_IDENTIFIER8 {
  char Driver[512];
  char Description[512];
  DWORD VendorId;
  DWORD DeviceId;
};

struct D3DPRESENT_PARAMETERS {
  UINT BackBufferWidth;
  UINT BackBufferHeight;
  D3DFORMAT BackBufferFormat;
  UINT BackBufferCount;
  DWORD MultiSampleType;
  DWORD SwapEffect;
  HWND hDeviceWindow;
  BOOL Windowed;
  BOOL EnableAutoDepthStencil;
  D3DFORMAT AutoDepthStencilFormat;
  DWORD Flags;
  UINT FullScreen_RefreshRateInHz;
  UINT FullScreen_PresentationInterval;
};

struct D3DLOCKED_RECT {
  int Pitch;
  void* pBits;
};

