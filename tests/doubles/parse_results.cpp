#include "parse_results.h"

#include <gtest/gtest.h>

#include "gfxutil/xfile/mesh_builder.h"
#include "gfxutil/xfile/objects.h"

XParseResult ParseText(XTextReader& reader, const char* name) {
  XMeshBuilder builder;
  XParseOutcome outcome = ParseXObjects(reader, builder, name);
  XParseResult result;
  result.ok = outcome.ok && builder.Finish(result.mesh);
  result.invalidData = outcome.invalidData;
  result.error = reader.Error().Text();
  result.line = reader.Error().line;
  result.objectPath = outcome.objectPath;
  for (const LoadNote& note : outcome.notes.All()) result.notes.push_back(note.Text());
  result.valuesTakenAhead = reader.ValuesTakenAhead();
  result.meshesReadAhead = outcome.meshesReadAhead;
  return result;
}

void ExpectSameParse(const XParseResult& actual, const XParseResult& expected) {
  EXPECT_EQ(actual.ok, expected.ok);
  EXPECT_EQ(actual.invalidData, expected.invalidData);
  EXPECT_EQ(actual.error, expected.error);
  EXPECT_EQ(actual.line, expected.line);
  EXPECT_EQ(actual.objectPath, expected.objectPath);
  EXPECT_EQ(actual.notes, expected.notes);
  EXPECT_EQ(actual.mesh.fvf, expected.mesh.fvf);
  EXPECT_EQ(actual.mesh.vertexBytes, expected.mesh.vertexBytes);
  EXPECT_EQ(actual.mesh.indices, expected.mesh.indices);
  EXPECT_EQ(actual.mesh.attributes, expected.mesh.attributes);
  ASSERT_EQ(actual.mesh.materials.size(), expected.mesh.materials.size());
  for (size_t m = 0; m < expected.mesh.materials.size(); ++m)
    EXPECT_EQ(actual.mesh.materials[m].textureName, expected.mesh.materials[m].textureName) << "material " << m;
}
