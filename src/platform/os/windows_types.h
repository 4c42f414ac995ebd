// The basic Windows types and result codes that every platform service uses.
#pragma once
#include <cstdint>

using HRESULT = int32_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using BOOL = int32_t;
using HWND = struct HWND__*;

struct RECT {
  int32_t left, top, right, bottom;
};

// The values of BOOL; macros, as in C headers that define them too.
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
inline bool FAILED(HRESULT hr) { return hr < 0; }
