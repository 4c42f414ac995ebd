// Result codes of the X-file reader and the mesh operations, with the values
// of their D3DX namesakes.
#pragma once
#include "platform/d3d/d3d8types.h"

constexpr HRESULT D3DXERR_LOADEDMESHASNODATA = static_cast<HRESULT>(0x88760B5Au);
constexpr HRESULT D3DXFERR_BADFILETYPE = static_cast<HRESULT>(0x8876038Cu);
constexpr HRESULT D3DXFERR_BADFILEVERSION = static_cast<HRESULT>(0x8876038Du);
constexpr HRESULT D3DXFERR_BADFILEFLOATSIZE = static_cast<HRESULT>(0x8876038Eu);
constexpr HRESULT D3DXFERR_PARSEERROR = static_cast<HRESULT>(0x88760390u);
