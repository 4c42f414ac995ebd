// What -check found about a plug-in, as plain data: gathered from the
// viewer's own loading and the checks of check_findings.h, written out as
// text or as JSON (the form of docs/check-report.schema.json).
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gfxutil/d3dx_math.h"
#include "gfxutil/load_notes.h"
#include "plugins/definition_reader.h"
#include "viewer/check_codes.h"

// The "schemaVersion" of the JSON report: raised when a key changes meaning or
// goes away; keys may be added within a version.
constexpr int kCheckSchemaVersion = 1;

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
  uint32_t fileVertices = 0;         // as the reference loader counts them: normals split, unused ones kept
  uint32_t unusedVertices = 0;       // of fileVertices, those no face uses
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
  std::string path;       // the file found, for display; empty when missing
  std::string pathBytes;  // the path's bytes percent-encoded when they are not UTF-8; else empty
  // "exact", "letter case or separators", "code page 932", "trailing path", "model directory", "missing"
  const char* foundBy = "";
  bool loaded = false;
  const char* format = "";  // "PNG", "JPEG", "BMP", "TGA", "DDS", "PPM"; empty when not loaded
  uint32_t width = 0, height = 0;
};

struct CheckReport {
  std::string kind;            // "Train", "Struct", "Station", "Surface", or "model" for a bare model
  std::string directory;       // where the plug-in was loaded from, with its trailing '/'
  std::string directoryBytes;  // its bytes percent-encoded when they are not UTF-8; else empty
  std::string definitionFile;  // empty for a bare model
  std::string name, author;    // for display
  float scaleFigure = 0.0f, drawScale = 0.0f;
  std::vector<DefinitionField> fields;  // texts for display
  CheckModel model;
  std::vector<CheckTexture> textures;
  // Every finding: the definition file's, the loads', then the checks'; each
  // as display text. Their severities come from their codes.
  std::vector<LoadNote> problems;
};

using SeverityCounts = std::array<size_t, kSeverityCount>;  // indexed by Severity

Severity SeverityOf(const LoadNote& finding);
SeverityCounts CountBySeverity(const std::vector<LoadNote>& findings);
// The findings in order of severity, errors first; in file order within one.
std::vector<LoadNote> BySeverity(const std::vector<LoadNote>& findings);
// The findings of severity error or warning, in order.
std::vector<LoadNote> ErrorsAndWarnings(const std::vector<LoadNote>& findings);
// Leaves out the findings of the codes.
void IgnoreCodes(CheckReport& report, const std::vector<FindingCode>& codes);
// 3 when an error or a warning is left, else 0.
int CheckExitStatus(const CheckReport& report);

// The bytes with every one outside RFC 3986's unreserved set and '/' as %XX:
// urllib.parse.unquote_to_bytes gives them back.
std::string PercentEncoded(std::string_view bytes);

// What a material's diffuse alpha means to the viewer: "lit window at night"
// (exactly 0.5), "hidden by day" (0: drawn opaque at night), "opaque" (1),
// or "translucent".
const char* AlphaMeaning(float alpha);

// A problem's message, led by its place when that is no line ("offset 345: ...").
std::string ProblemMessage(const LoadNote& problem);

// The report of what LoadLaunchArgument loaded, with every finding.
CheckReport GatherCheckReport(const LaunchProbe& probe, const ShownPlugin& shown);
// The report of an argument that shows nothing: the model not loaded, the
// reason as a NOTHING_TO_SHOW error, then the failed load's notes.
CheckReport FailedCheckReport(const LaunchProbe& probe, const std::string& reason,
                              const std::vector<LoadNote>& failureNotes);

std::string CheckReportText(const CheckReport& report);
// One JSON document; its keys are listed in the README.
std::string CheckReportJson(const CheckReport& report);
// Text as a JSON string, quotes included, as the report writes its strings.
std::string JsonQuoted(std::string_view text);
