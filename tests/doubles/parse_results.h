// What one parse of a text gave, to check that a read with a second reader
// gives exactly what one reader gives.
#pragma once
#include <string>
#include <vector>

#include "gfxutil/xfile/mesh_data.h"
#include "gfxutil/xfile/text_reader.h"

struct XParseResult {
  bool ok = false;
  bool invalidData = false;
  std::string error;
  unsigned line = 0;
  std::string objectPath;
  XMeshData mesh;
  std::vector<std::string> notes;
  size_t valuesTakenAhead = 0;
  size_t meshesReadAhead = 0;
};

// Parses what `reader` reads as the file `name` and builds the model.
XParseResult ParseText(XTextReader& reader, const char* name);
// Expects the same model, notes and error from both.
void ExpectSameParse(const XParseResult& actual, const XParseResult& expected);
