// The object level of an X file: templates are passed over, Frames and their
// transforms walked depth-first, Meshes and their children read, references
// ({ Name }) resolved to objects read earlier, and every other object skipped.
// Each Mesh goes to the builder with the transform accumulated so far.
#pragma once
#include <string>

#include "gfxutil/load_notes.h"

class XMeshBuilder;

struct XParseOutcome {
  bool ok = false;
  bool invalidData = false;  // the syntax was right but the data made no sense
  std::string objectPath;    // on failure: the objects the reader stood in (see LoadNote)
  LoadNotes notes;           // what was repaired on the way
  size_t meshesReadAhead = 0;  // meshes a second reader read (meshes_ahead.h)
};

// Reader is XTextReader or XBinaryReader; on failure the reader holds the error.
template <class Reader>
XParseOutcome ParseXObjects(Reader& reader, XMeshBuilder& builder, const std::string& fileName);
