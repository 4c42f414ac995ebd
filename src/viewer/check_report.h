// What -check found about a loaded plug-in, as plain data: gathered from the
// viewer's own loading, written out as text or JSON.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gfxutil/d3dx_math.h"
#include "gfxutil/load_notes.h"
#include "plugins/definition_reader.h"

struct LaunchProbe;
struct ShownPlugin;

struct CheckMaterial {
  D3DCOLORVALUE diffuse{};
  D3DCOLORVALUE specular{};
  float power = 0.0f;
  D3DCOLORVALUE emissive{};
  const char* alphaMeaning = "";  // what the diffuse alpha does here (AlphaMeaning)
  std::string texture;            // the texture name, for display; empty for none
};

struct CheckSubset {
  uint32_t material = 0;
  uint32_t faceStart = 0, faceCount = 0;
  uint32_t vertexStart = 0, vertexCount = 0;
};

struct CheckModel {
  std::string file;  // as loaded, for display
  bool loaded = false;
  std::string form;  // "text", "binary", "compressed text", "compressed binary"; empty when unreadable
  unsigned floatBits = 0;
  uint32_t vertices = 0, faces = 0;  // as loaded: normals split, unused vertices dropped
  unsigned indexBits = 0;
  D3DXVECTOR3 boxMin, boxMax, sphereCenter;
  float sphereRadius = 0.0f;
  std::vector<CheckMaterial> materials;
  std::vector<CheckSubset> subsets;
};

struct CheckTexture {
  std::string name;                 // as stored in the model, for display
  std::vector<uint32_t> materials;  // that use it
  bool found = false;
  std::string path;     // the file found, for display; empty when missing
  const char* foundBy = "";  // "exact", "letter case or separators", "trailing path", "model directory", "missing"
  bool loaded = false;
  const char* format = "";  // "PNG", "JPEG", "BMP", "TGA", "DDS", "PPM"; empty when not loaded
  uint32_t width = 0, height = 0;
};

struct CheckReport {
  std::string kind;            // "Train", "Struct", "Station", "Surface", or "model" for a bare model
  std::string directory;       // where the plug-in was loaded from, with its trailing '/'
  std::string definitionFile;  // empty for a bare model
  std::string name, author;    // for display
  float scaleFigure = 0.0f, drawScale = 0.0f;
  std::vector<DefinitionField> fields;  // texts for display
  CheckModel model;
  std::vector<CheckTexture> textures;
  std::vector<LoadNote> problems;  // the definition file's, then the loads', in order
  std::vector<LoadNote> notes;     // how the loads read what was not as the format has it; no problem
};

// What a material's diffuse alpha means to the viewer: "lit window at night"
// (exactly 0.5), "hidden by day" (0: drawn opaque at night), "opaque" (1),
// or "translucent".
const char* AlphaMeaning(float alpha);

// A problem's message, led by its place when that is no line ("offset 345: ...").
std::string ProblemMessage(const LoadNote& problem);

// The report of what LoadLaunchArgument loaded, with the notes of its loads.
CheckReport GatherCheckReport(const LaunchProbe& probe, const ShownPlugin& shown, const std::vector<LoadNote>& notes);

std::string CheckReportText(const CheckReport& report);
// One JSON document; its keys are listed in the README.
std::string CheckReportJson(const CheckReport& report);
// Text as a JSON string, quotes included, as the report writes its strings.
std::string JsonQuoted(std::string_view text);
