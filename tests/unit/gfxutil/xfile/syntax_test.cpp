// The token and separator rules of text and binary files, templates, unknown
// objects and references.
#include <gtest/gtest.h>

#include <cmath>

#include "taken_notes.h"
#include "xfile_test_support.h"

namespace {

const std::string kHeader = "xof 0303txt 0032\n";
const std::string kVertices = "3;0.0;0.0;0.0;,0.0;1.0;0.0;,1.0;1.0;0.0;;";

// A triangle mesh whose face list is written as given.
std::string MeshWithFaces(const std::string& faces) { return kHeader + "Mesh {" + kVertices + faces + "}"; }

TEST(XFileSeparators, AcceptedForms) {
  for (const char* faces : {"1;3;0,1,2;;", "1;3;0;1;2;", "1,3,0,1,2,", "1;;;;;3;;;;;0;;;;;,1,2;;", "1;3;0,1,2;;,",
                            "1;\n3;\t0 ,\r\n1 ,2 ;;", "1;3;0 // c\n,1 # d\n;2;;", "0000000001;3;00000000000,1,2;;"}) {
    XMeshData mesh;
    std::string error;
    EXPECT_EQ(ReadX(MeshWithFaces(faces), mesh, &error), D3D_OK) << faces << ": " << error;
    EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2})) << faces;
  }
  XMeshData mesh;
  EXPECT_EQ(ReadX(kHeader + "Mesh {4;;;, 0.0;;;, 0.0;;;, 0.0;;;, 0.0;0.0;0.0;,1.0;1.0;0.0;,1.0;1.0;1.0;;1;3;0,1,2;;}",
                  mesh),
            D3D_OK);
  EXPECT_EQ(mesh.VertexCount(), 4u);
}

TEST(XFileSeparators, RejectedForms) {
  for (const char* faces : {"1;3;0,,1,2;;", "1;3;0,;1,2;;", "1;3;0,1,2", "1;3;0 1 2;;", "1;3;0,1,2;;;,,"}) {
    XMeshData mesh;
    std::string error;
    EXPECT_EQ(ReadX(MeshWithFaces(faces), mesh, &error), D3DXFERR_PARSEERROR) << faces;
    EXPECT_EQ(error.rfind("line 2:", 0), 0u) << faces << ": " << error;
  }
}

TEST(XFileSeparators, EmptyArrayIsAccepted) {
  XMeshData mesh;
  EXPECT_EQ(ReadX(MeshWithFaces("1;3;0,1,2;; MeshMaterialList { 0;0;; }"), mesh), D3D_OK);
  EXPECT_EQ(mesh.materials.size(), 1u);
}

TEST(XFileNumbers, ExponentsIntegersAndOldNanSpellings) {
  XMeshData mesh;
  std::string error;
  ASSERT_EQ(ReadX(kHeader + "Mesh {3; 1e0; -2.5E-1; 1.5e+1;, 2; -3; 0;, -1.#IND00; 1.#QNAN0; .5;; 1;3;0,1,2;;}", mesh,
                  &error),
            D3D_OK)
      << error;
  EXPECT_VEC3_NEAR(mesh.Vertex(0).position, 1.0f, -0.25f, 15.0f, 0);
  EXPECT_VEC3_NEAR(mesh.Vertex(1).position, 2.0f, -3.0f, 0.0f, 0);
  EXPECT_VEC3_NEAR(mesh.Vertex(2).position, 0.0f, 0.0f, 0.5f, 0);
}

TEST(XFileNumbers, MalformedNumbersFail) {
  for (const char* first : {"1.0.0", "1e", "0x10", "--1", "1a", "inf", "1e99"}) {
    XMeshData mesh;
    std::string vertices = std::string("3;") + first + ";0.0;0.0;,0.0;1.0;0.0;,1.0;1.0;0.0;;";
    EXPECT_EQ(ReadX(kHeader + "Mesh {" + vertices + "1;3;0,1,2;;}", mesh), D3DXFERR_PARSEERROR) << first;
  }
  XMeshData mesh;
  EXPECT_EQ(ReadX(MeshWithFaces("1;3.0;0,1,2;;"), mesh), D3DXFERR_PARSEERROR) << "a float where a count belongs";
  EXPECT_EQ(ReadX(MeshWithFaces("1;3;0,1,4294967296;;"), mesh), D3DXFERR_PARSEERROR) << "beyond 32 bits";
}

TEST(XFileTokens, CommentsGuidsAndCaseOfIdentifiers) {
  XMeshData mesh;
  std::string error;
  std::string text = kHeader +
                     "# a comment { with braces\n"
                     "// another } one\n"
                     "mESH named { <4A0C5A1F-B6D3-4b4c-9e35-1B8c4F3a6E2d>\n" +
                     kVertices + " // trailing\n1;3;0,1,2;;\n" +
                     "meshmateriallist {1;1;0;; material {1.0;0.0;0.0;1.0;;0.0;0.0;0.0;0.0;;0.0;0.0;0.0;;"
                     " TEXTUREfileNAME { \"a.bmp\"; } } } }";
  ASSERT_EQ(ReadX(text, mesh, &error), D3D_OK) << error;
  ASSERT_EQ(mesh.materials.size(), 1u);
  EXPECT_EQ(mesh.materials[0].textureName, "a.bmp");

  EXPECT_EQ(ReadX(kHeader + "/ Mesh {" + kVertices + "1;3;0,1,2;;}", mesh), D3DXFERR_PARSEERROR);
  EXPECT_EQ(ReadX(kHeader + "Mesh { <4A0C5A1F-B6D3-4b4c-9e35> " + kVertices + "1;3;0,1,2;;}", mesh),
            D3DXFERR_PARSEERROR);
}

TEST(XFileObjects, TemplatesAndUnknownObjectsAreSkipped) {
  XMeshData mesh;
  std::string error;
  std::string text = kHeader +
                     "template Header { <3D82AB43-62DA-11cf-AB39-0020AF71E433> WORD major; WORD minor; DWORD flags; }\n"
                     "template Open { <3D82AB43-62DA-11cf-AB39-0020AF71E434> DWORD n; [...] }\n"
                     "template Closed { <3D82AB43-62DA-11cf-AB39-0020AF71E435> DWORD n; [Mesh <3D82AB44-62DA-11cf-AB39-0020AF71E433>] }\n"
                     "Header { 1; 0; 1; }\n"
                     "AnimationSet walk { Animation { { bone } AnimationKey { 0; 1; 0; 3; -1.#IND00,0,0;;; } } }\n"
                     "UserThing { \"a string with } and { inside\"; Nested { Deeper { 1; } } }\n"
                     "Mesh {" +
                     kVertices + "1;3;0,1,2;; VertexDuplicationIndices { 3; 3; 0,1,2; } DeclData { 1; 2;0;3;0;; 1; 0; } }";
  ASSERT_EQ(ReadX(text, mesh, &error), D3D_OK) << error;
  EXPECT_EQ(mesh.VertexCount(), 3u);
}

// A skipped object ends at its own '}': braces in strings and comments do not
// count, and a '"', '#' or '/' inside a run opens neither.
TEST(XFileObjects, SkippedObjectsEndAtTheirOwnBrace) {
  const char* const kBodies[] = {
      "-1.#IND00 }",                  // '#' in a run
      "a/b; 1.#QNAN0;}",              // '/' in a run
      "x; // } not here\n }",         // a comment after a space
      "\"} {\" # }\n }",              // a string, then a comment
      "\"a\"#}\n }",                  // a comment just after a string
      "ab\"c}",                       // '"' in a run
      "1 / }",                        // a '/' alone
      "{ { \"{\" } /{ } } // {\n }",  // nested blocks
  };
  XMeshData mesh;
  std::string error;
  for (const char* body : kBodies) {
    // Each body twice: within the first 16 bytes and beyond them.
    std::string text = kHeader + "Unknown {" + body + "\nUnknown {" + std::string(21, ' ') + body + "\nMesh {" +
                       kVertices + "1;3;0,1,2;;}";
    ASSERT_EQ(ReadX(text, mesh, &error), D3D_OK) << body << ": " << error;
    EXPECT_EQ(mesh.VertexCount(), 3u) << body;
  }
  EXPECT_EQ(ReadX(kHeader + "Unknown { \"a }\n\n}", mesh, &error), D3DXFERR_PARSEERROR);
  EXPECT_EQ(error, "line 2: unterminated string") << error;
  EXPECT_EQ(ReadX(kHeader + "Unknown { # }\n{ \"}\" a#}\n", mesh, &error), D3DXFERR_PARSEERROR);
  EXPECT_EQ(error, "line 4: missing '}'") << error;
}

TEST(XFileObjects, ReferencesReadEarlierObjectsByNameOrGuid) {
  std::string materials =
      "Material red { <11111111-2222-3333-4444-555555555555> 1.0;0.0;0.0;1.0;;0.0;0.0;0.0;0.0;;0.0;0.0;0.0;; }\n"
      "Material blue {0.0;0.0;1.0;1.0;;0.0;0.0;0.0;0.0;;0.0;0.0;0.0;; TextureFilename { \"blue.png\"; } }\n";
  std::string mesh3 = "Mesh first {" + kVertices + "1;3;0,1,2;; MeshMaterialList {3;1;0;; {red} { blue } "
                      "{ <11111111-2222-3333-4444-555555555555> } } }\n";
  XMeshData mesh;
  std::string error;
  ASSERT_EQ(ReadX(kHeader + materials + mesh3 + "Frame { { first } }", mesh, &error), D3D_OK) << error;
  ASSERT_EQ(mesh.materials.size(), 6u) << "the referenced mesh is read again with its three materials";
  EXPECT_EQ(mesh.VertexCount(), 6u);
  EXPECT_EQ(mesh.materials[0].material.Diffuse.r, 1.0f);
  EXPECT_EQ(mesh.materials[1].textureName, "blue.png");
  EXPECT_EQ(mesh.materials[2].material.Diffuse.r, 1.0f);
  EXPECT_EQ(mesh.attributes, (std::vector<uint32_t>{0, 3}));

  // Only objects that come earlier, and names match case-sensitively.
  EXPECT_EQ(ReadX(kHeader + "Mesh {" + kVertices + "1;3;0,1,2;; MeshMaterialList {1;1;0;; {later} } }\n" + materials,
                  mesh, &error),
            E_FAIL);
  EXPECT_NE(error.find("unknown object 'later'"), std::string::npos) << error;
  EXPECT_EQ(ReadX(kHeader + materials + "Mesh {" + kVertices + "1;3;0,1,2;; MeshMaterialList {1;1;0;; {Red} } }", mesh),
            E_FAIL);
}

TEST(XFileObjects, MaterialsDefinedInsideOneMeshServeTheNext) {
  std::string first = "Mesh {" + kVertices +
                      "1;3;0,1,2;; MeshMaterialList {1;1;0;; Material shared {0.0;1.0;0.0;1.0;;2.0;0.0;0.0;0.0;;"
                      "0.0;0.0;0.0;;} } }\n";
  std::string second = "Mesh {" + kVertices + "1;3;0,1,2;; MeshMaterialList {1;1;0;; {shared} } }";
  XMeshData mesh;
  ASSERT_EQ(ReadX(kHeader + first + second, mesh), D3D_OK);
  ASSERT_EQ(mesh.materials.size(), 2u);
  EXPECT_EQ(mesh.materials[1].material.Power, 2.0f);
}

TEST(XFileObjects, AMaterialListRefersToTheMaterialOfANameFramesAndMeshesShare) {
  const std::string red = "Material x3dc_1 {1.0;0.0;0.0;1.0;;0.0;0.0;0.0;0.0;;0.0;0.0;0.0;;}\n";
  const std::string blue = "Material x3dc_2 {0.0;0.0;1.0;1.0;;0.0;0.0;0.0;0.0;;0.0;0.0;0.0;;}\n";
  // Each frame and its mesh take the name of a material; the second mesh
  // refers to the first material after a frame and a mesh of that name.
  auto framed = [&](const char* name, const char* references) {
    return std::string("Frame ") + name + " { Mesh " + name + " {" + kVertices + "1;3;0,1,2;; MeshMaterialList {" +
           references + "} } }\n";
  };
  XMeshData mesh;
  std::string error;
  ASSERT_EQ(ReadX(kHeader + red + blue + framed("x3dc_1", "1;1;0;; {x3dc_1}") +
                      framed("x3dc_2", "2;1;1;; { x3dc_1 } {x3dc_2}") + "Frame { {x3dc_1} }",
                  mesh, &error),
            D3D_OK)
      << error;
  ASSERT_EQ(mesh.materials.size(), 4u) << "the frame's reference still reads the mesh of that name again";
  for (size_t i : {0u, 1u, 3u}) EXPECT_EQ(mesh.materials[i].material.Diffuse.r, 1.0f) << i;
  EXPECT_EQ(mesh.materials[2].material.Diffuse.b, 1.0f);
  EXPECT_EQ(mesh.VertexCount(), 9u);

  // A name that no material has still means what it names: a frame is no material.
  EXPECT_EQ(ReadX(kHeader + red + framed("x3dc_3", "1;1;0;; {x3dc_1}") + framed("x3dc_4", "1;1;0;; {x3dc_3}"), mesh,
                  &error),
            E_FAIL);
  EXPECT_NE(error.find("names 1 materials but holds 0"), std::string::npos) << error;
}

// What follows the last object of a text file, and what the reader makes of it.
struct Ending {
  std::string text;
  HRESULT result;
  const char* errorOrNote;  // the error of a failed load, else the note
};

TEST(XFileObjects, SurplusClosingBracesAfterTheLastObjectOfATextFileAreANote) {
  const Ending endings[] = {
      {"}", D3D_OK, "memory: line 5: 1 closing '}' more than the file opened, after its last object; passed over"},
      {"\n}\n  } // closes the root frame\n}\n", D3D_OK,
       "memory: line 6: 3 closing '}' more than the file opened, after its last object; passed over"},
      {"", D3D_OK, ""},
      {"} Mesh {" + kVertices + "1;3;0,1,2;;}", D3DXFERR_PARSEERROR, "line 5: unexpected '}'"},
      {"}}\nFrame", D3DXFERR_PARSEERROR, "line 5: unexpected '}'"},
      {"} {", D3DXFERR_PARSEERROR, "line 5: unexpected '}'"},
      {"} / }", D3DXFERR_PARSEERROR, "line 5: "},
  };
  for (const Ending& ending : endings) {
    XMeshData mesh;
    std::string error;
    EXPECT_EQ(ReadX(kHeader + "Frame {\nMesh {" + kVertices + "1;3;0,1,2;;}\n}\n" + ending.text, mesh, &error),
              ending.result)
        << ending.text;
    std::vector<LoadNote> notes = mesh.notes.All();
    if (ending.result == D3D_OK) {
      EXPECT_EQ(mesh.FaceCount(), 1u) << ending.text;
      EXPECT_EQ(notes.empty() ? "" : notes.front().Text(), ending.errorOrNote) << ending.text;
      for (const LoadNote& note : notes) EXPECT_EQ(note.code, FindingCode::kSurplusClosingBraces) << ending.text;
    } else {
      EXPECT_EQ(error.rfind(ending.errorOrNote, 0), 0u) << ending.text << ": " << error;
      EXPECT_TRUE(notes.empty()) << ending.text;
    }
  }
}

// The triangle as a binary file; `faces` writes the face list.
std::vector<uint8_t> BinaryTriangle(void (*faces)(BinaryX&)) {
  BinaryX x;
  x.Name("Mesh").Open().Integers({3}).Floats({0, 0, 0, 0, 1, 0, 1, 1, 0});
  faces(x);
  x.Close();
  return x.bytes();
}

TEST(XFileBinary, ListsFlattenAcrossMembersAndSingleValuesNeedSeparators) {
  auto accepted = {
      +[](BinaryX& x) { x.Integers({1, 3, 0, 1, 2}); },
      +[](BinaryX& x) { x.Integers({1}).Integers({3, 0}).Integers({1, 2}); },
      +[](BinaryX& x) { x.Integer(1).Semicolon().Integer(3).Comma().Integers({0, 1, 2}); },
      +[](BinaryX& x) { x.Integers({}).Integer(1).Semicolon().Semicolon().Comma().Integers({3, 0, 1, 2}); },
  };
  for (auto faces : accepted) {
    XMeshData mesh;
    std::string error;
    EXPECT_EQ(ReadX(BinaryTriangle(faces), mesh, &error), D3D_OK) << error;
    EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2}));
  }
  auto rejected = {
      +[](BinaryX& x) { x.Integers({1, 3, 0, 1, 2}).Semicolon(); },
      +[](BinaryX& x) { x.Integers({1, 3}).Comma().Integers({0, 1, 2}); },
      +[](BinaryX& x) { x.Integer(1).Integer(3).Integers({0, 1, 2}); },
      +[](BinaryX& x) { x.Integers({1, 3, 0, 1, 2, 7}); },
      +[](BinaryX& x) { x.Integers({1, 3, 0, 1}).Floats({2}); },
  };
  for (auto faces : rejected) {
    XMeshData mesh;
    std::string error;
    EXPECT_EQ(ReadX(BinaryTriangle(faces), mesh, &error), D3DXFERR_PARSEERROR);
    EXPECT_EQ(error.rfind("offset ", 0), 0u) << error;
  }
}

TEST(XFileBinary, IntegersServeAsFloatsAndDoublesAreRead) {
  BinaryX x;
  x.Name("Mesh").Open().Integers({3, 0, 0, 0}).Integer(2).Semicolon().Floats({1, 0, 1, 1, 0}).Integers({1, 3, 0, 1, 2}).Close();
  XMeshData mesh;
  std::string error;
  ASSERT_EQ(ReadX(x.bytes(), mesh, &error), D3D_OK) << error;
  EXPECT_VEC3_NEAR(mesh.Vertex(1).position, 2.0f, 1.0f, 0.0f, 0);

  BinaryX wide("xof 0303bin 0064", true);
  wide.Name("Mesh").Open().Integers({3}).Floats({NAN, 0, 0, 0, 1, 0, 1, 1, 0.1f}).Integers({1, 3, 0, 1, 2});
  wide.Name("MeshMaterialList").Open().Integers({1, 1, 0});
  wide.Name("Material").Open().Floats({0.25f, 0.5f, 0.75f, 1, 3, 0, 0, 0, 0, 0, 0});
  wide.Name("TextureFileName").Open().String("wide.png").Close().Close().Close().Close();
  ASSERT_EQ(ReadX(wide.bytes(), mesh, &error), D3D_OK) << error;
  EXPECT_EQ(mesh.Vertex(2).position.z, 0.1f);
  EXPECT_EQ(mesh.Vertex(0).position.x, 0.0f);  // NaN reads as 0
  EXPECT_EQ(mesh.materials[0].material.Diffuse.b, 0.75f);
  EXPECT_EQ(mesh.materials[0].textureName, "wide.png");
}

TEST(XFileBinary, TemplatesAndUnknownObjectsAreSkippedByTokens) {
  BinaryX x;
  x.Token(31).Name("Thing").Open().Token(5).Bytes(std::string(16, '\x7b')).Token(41).Name("n").Semicolon();
  x.Token(52).Token(41).Name("values").Token(14).Name("n").Token(15).Semicolon().Close();
  x.Name("Thing").Open().Integers({2, 123, 125}).String("}{").Name("Inner").Open().Floats({1, 2}).Close().Close();
  x.Name("Mesh").Open().Integers({3}).Floats({0, 0, 0, 0, 1, 0, 1, 1, 0}).Integers({1, 3, 0, 1, 2}).Close();
  XMeshData mesh;
  std::string error;
  ASSERT_EQ(ReadX(x.bytes(), mesh, &error), D3D_OK) << error;
  EXPECT_EQ(mesh.FaceCount(), 1u);
}

TEST(XFileBinary, ASurplusClosingBraceStaysAFault) {
  XMeshData mesh;
  std::string error;
  std::vector<uint8_t> bytes = BinaryTriangle(+[](BinaryX& x) { x.Integers({1, 3, 0, 1, 2}); });
  bytes.insert(bytes.end(), {11, 0});  // '}'
  EXPECT_EQ(ReadX(bytes, mesh, &error), D3DXFERR_PARSEERROR);
  EXPECT_NE(error.find("unexpected '}'"), std::string::npos) << error;
}

}  // namespace
