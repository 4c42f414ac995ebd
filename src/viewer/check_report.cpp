#include "viewer/check_report.h"

#include <algorithm>
#include <bit>

#include "gfxutil/d3dx_mesh.h"
#include "gfxutil/xfile_form.h"
#include "platform/os/file_source.h"
#include "platform/os/path_lookup.h"
#include "platform/os/text_encoding.h"
#include "plugins/plugin_object.h"
#include "resources/mesh_resource.h"
#include "resources/texture_cache.h"
#include "viewer/check_findings.h"
#include "viewer/launch.h"
#include "viewer/plugin_loading.h"
#include "viewer/problem_lines.h"

namespace {

// The bytes percent-encoded when they are not UTF-8, for a program to open the file; else empty.
std::string BytesIfNotUtf8(const std::string& bytes) { return IsValidUtf8(bytes) ? "" : PercentEncoded(bytes); }

// The current directory, where the launch has gone (in an archive or on disk): as text, and its bytes when they are not UTF-8.
void SetDirectory(CheckReport& report) {
  // Inside an archive the names are text already.
  if (!Files().OnDisk()) {
    report.directory = Files().CurrentDirectory();
    return;
  }
  char directory[PATH_MAX];
  std::string path = getcwd(directory, sizeof directory) ? directory : "";
  if (!path.empty() && path != "/") path += '/';
  report.directory = DisplayText(path);
  report.directoryBytes = BytesIfNotUtf8(path);
}

const char* FileFormatName(D3DXIMAGE_FILEFORMAT format) {
  switch (format) {
    case D3DXIFF_BMP: return "BMP";
    case D3DXIFF_JPG: return "JPEG";
    case D3DXIFF_TGA: return "TGA";
    case D3DXIFF_PNG: return "PNG";
    case D3DXIFF_DDS: return "DDS";
    case D3DXIFF_PPM: return "PPM";
  }
  return "?";
}

const char* FoundBy(PathMatch match) {
  switch (match) {
    case PathMatch::kExact: return "exact";
    case PathMatch::kCaseOrSeparators: return "letter case or separators";
    case PathMatch::kCodePage932: return "code page 932";
    case PathMatch::kTrailingPath: return "trailing path";
    case PathMatch::kModelDirectory: return "model directory";
    case PathMatch::kMissing: return "missing";
  }
  return "missing";
}

std::string FormName(const XFileForm& form) {
  std::string name = form.binary ? "binary" : "text";
  return form.compressed ? "compressed " + name : name;
}

void DescribeMesh(const MeshResource& resource, CheckModel& model) {
  ID3DXMesh* mesh = resource.mesh;
  model.vertices = mesh->GetNumVertices();
  model.fileVertices = resource.loadedVertices;
  model.unusedVertices = resource.loadedVertices > model.vertices ? resource.loadedVertices - model.vertices : 0;
  model.faces = mesh->GetNumFaces();
  model.indexBits = (mesh->GetOptions() & D3DXMESH_32BIT) ? 32 : 16;
  model.boxMin = resource.boxMin;
  model.boxMax = resource.boxMax;
  model.sphereCenter = resource.sphereCenter;
  model.sphereRadius = resource.sphereRadius;
  for (uint32_t i = 0; i < resource.materialCount; ++i) {
    const D3DMATERIAL8& m = resource.dayMaterials[i];
    model.materials.push_back(
        {m.Diffuse, m.Specular, m.Power, m.Emissive, AlphaMeaning(m.Diffuse.a), DisplayText(resource.textureNames[i])});
  }
  DWORD count = 0;
  mesh->GetAttributeTable(nullptr, &count);
  std::vector<D3DXATTRIBUTERANGE> table(count);
  mesh->GetAttributeTable(table.data(), &count);
  for (const D3DXATTRIBUTERANGE& range : table)
    model.subsets.push_back({range.AttribId, range.FaceStart, range.FaceCount, range.VertexStart, range.VertexCount});
}

CheckModel DescribeModel(const MeshResource& resource) {
  CheckModel model;
  model.file = DisplayText(resource.fileName);
  model.loaded = resource.mesh != nullptr;
  XFileForm form;
  std::string error;
  if (ReadXFileForm(resource.fileName.c_str(), form, error)) {
    model.form = FormName(form);
    model.floatBits = form.floatBits;
  }
  if (model.loaded) DescribeMesh(resource, model);
  return model;
}

// Each texture name once, in the order the materials name them.
std::vector<CheckTexture> DescribeTextures(const MeshResource& resource) {
  std::vector<CheckTexture> textures;
  std::vector<const std::string*> names;
  for (uint32_t i = 0; i < resource.textureNames.size(); ++i) {
    const std::string& name = resource.textureNames[i];
    if (name.empty()) continue;
    auto known = std::find_if(names.begin(), names.end(), [&](const std::string* n) { return *n == name; });
    if (known != names.end()) {
      textures[known - names.begin()].materials.push_back(i);
      continue;
    }
    names.push_back(&name);
    CheckTexture& texture = textures.emplace_back();
    texture.name = DisplayText(name);
    texture.materials.push_back(i);
    const ResolvedPath& file = resource.textureFiles[i];
    texture.found = file.match != PathMatch::kMissing;
    texture.path = DisplayText(file.path);
    texture.pathBytes = BytesIfNotUtf8(file.path);
    texture.foundBy = FoundBy(file.match);
    if (const TextureEntry* entry = Textures().Find(name)) {
      texture.loaded = true;
      texture.format = FileFormatName(entry->image.ImageFileFormat);
      texture.width = entry->image.Width;
      texture.height = entry->image.Height;
    }
  }
  return textures;
}

}  // namespace

std::string ProblemMessage(const LoadNote& problem) {
  return problem.line == 0 && !problem.place.empty() ? problem.place + ": " + problem.message : problem.message;
}

const char* AlphaMeaning(float alpha) {
  if (std::bit_cast<uint32_t>(alpha) == std::bit_cast<uint32_t>(0.5f)) return "lit window at night";
  if (alpha == 0.0f) return "hidden by day";
  if (alpha == 1.0f) return "opaque";
  return "translucent";
}

std::string PercentEncoded(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
                 byte == '-' || byte == '.' || byte == '_' || byte == '~' || byte == '/';
    if (plain) {
      text += c;
    } else {
      text.append({'%', kHex[byte >> 4], kHex[byte & 15]});
    }
  }
  return text;
}

Severity SeverityOf(const LoadNote& finding) { return CodeOf(finding.code).severity; }

SeverityCounts CountBySeverity(const std::vector<LoadNote>& findings) {
  SeverityCounts counts{};
  for (const LoadNote& finding : findings) ++counts[static_cast<size_t>(SeverityOf(finding))];
  return counts;
}

std::vector<LoadNote> BySeverity(const std::vector<LoadNote>& findings) {
  std::vector<LoadNote> sorted = findings;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const LoadNote& a, const LoadNote& b) { return SeverityOf(a) < SeverityOf(b); });
  return sorted;
}

std::vector<LoadNote> ErrorsAndWarnings(const std::vector<LoadNote>& findings) {
  std::vector<LoadNote> wrong;
  for (const LoadNote& finding : findings)
    if (SeverityOf(finding) <= Severity::kWarning) wrong.push_back(finding);
  return wrong;
}

void IgnoreCodes(CheckReport& report, const std::vector<FindingCode>& codes) {
  std::erase_if(report.problems, [&](const LoadNote& finding) {
    return std::find(codes.begin(), codes.end(), finding.code) != codes.end();
  });
}

int CheckExitStatus(const CheckReport& report) {
  SeverityCounts counts = CountBySeverity(report.problems);
  return counts[static_cast<size_t>(Severity::kError)] + counts[static_cast<size_t>(Severity::kWarning)] ? 3 : 0;
}

CheckReport GatherCheckReport(const LaunchProbe& probe, const ShownPlugin& shown) {
  CheckReport report;
  bool plugin = probe.target == LaunchTarget::kPlugin;
  report.kind = plugin ? probe.kindName : "model";
  SetDirectory(report);
  if (plugin) report.definitionFile = DisplayText(probe.definitionPath);
  if (const PluginObject* object = shown.object) {
    report.name = DisplayText(object->name);
    report.author = DisplayText(object->author);
    report.scaleFigure = object->scaleFigure;
    report.drawScale = object->drawScale;
    for (const DefinitionField& field : object->definition.fields)
      if (field.stored) report.fields.push_back({field.name, field.line, DisplayText(field.text)});
  }
  if (shown.model) {
    report.model = DescribeModel(*shown.model);
    report.textures = DescribeTextures(*shown.model);
  }
  report.problems = PluginFindings(shown, !plugin);
  return report;
}

CheckReport FailedCheckReport(const LaunchProbe& probe, const std::string& reason,
                              const std::vector<LoadNote>& failureNotes) {
  CheckReport report;
  if (probe.target == LaunchTarget::kBareModel) {
    report.kind = "model";
    report.model.file = DisplayText(probe.modelPath);
  }
  SetDirectory(report);
  report.problems.push_back(LoadNote{FindingCode::kNothingToShow, "", 0, "", "", DisplayText(reason)});
  std::vector<LoadNote> notes = AsDisplayText(failureNotes);
  report.problems.insert(report.problems.end(), notes.begin(), notes.end());
  return report;
}
