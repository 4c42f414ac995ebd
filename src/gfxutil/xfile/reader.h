// Reads an X file (text, binary or compressed) into one merged mesh.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "gfxutil/xfile/errors.h"
#include "gfxutil/xfile/mesh_data.h"
#include "gfxutil/xfile/read_error.h"

// D3D_OK, or a failure code with the reason in `error`, which names the line
// (text) or byte offset (binary) where reading stopped. `name` stands for the
// file in log lines.
HRESULT ReadXFileMemory(std::span<const uint8_t> file, XMeshData& mesh, XReadError& error,
                        const std::string& name = "memory");
HRESULT ReadXFile(const char* path, XMeshData& mesh, XReadError& error);
