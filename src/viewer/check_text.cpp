// The -check report as aligned plain text.
#include <cstdio>

#include "platform/os/text_encoding.h"
#include "viewer/check_report.h"
#include "viewer/text_table.h"

namespace {

std::string Number(double value, const char* format = "%g") {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Colour(const D3DCOLORVALUE& c) {
  return Number(c.r, "%.2f") + " " + Number(c.g, "%.2f") + " " + Number(c.b, "%.2f");
}

std::string Vector(const D3DXVECTOR3& v) {
  std::string text = "(";
  text.append(Number(v.x, "%.3g")).append(", ").append(Number(v.y, "%.3g")).append(", ").append(Number(v.z, "%.3g"));
  return text.append(")");
}

std::string Range(uint32_t start, uint32_t count) {
  if (count == 0) return "none";
  return std::to_string(start) + "-" + std::to_string(start + count - 1) + " (" + std::to_string(count) + ")";
}

std::string Heading(const CheckReport& report) {
  std::string what = report.kind == "model" ? "Bare model" : report.kind + " plug-in";
  return what + " \"" + OnOneLine(report.name) + "\" by " + OnOneLine(report.author) + "\n";
}

std::string DefinitionSection(const CheckReport& report) {
  std::string text = "\nDefinition file " + OnOneLine(report.definitionFile) + "\n";
  std::vector<TextRow> rows{{"line", "item", "as read"}};
  for (const DefinitionField& field : report.fields) rows.push_back({std::to_string(field.line), field.name, field.text});
  text += FormatTable(rows, 2, {0});
  text += "  draw scale " + Number(report.drawScale) + " (0.5 / scale figure)\n";
  return text;
}

std::string MaterialTable(const CheckModel& model) {
  std::vector<TextRow> rows{{"material", "diffuse", "alpha", "meaning", "specular", "power", "emissive", "texture"}};
  for (size_t i = 0; i < model.materials.size(); ++i) {
    const CheckMaterial& m = model.materials[i];
    rows.push_back({std::to_string(i), Colour(m.diffuse), Number(m.diffuse.a, "%.2f"), m.alphaMeaning,
                    Colour(m.specular), Number(m.power), Colour(m.emissive), m.texture});
  }
  return FormatTable(rows, 2, {0});
}

std::string SubsetTable(const CheckModel& model) {
  std::vector<TextRow> rows{{"subset", "material", "faces", "vertices"}};
  for (size_t i = 0; i < model.subsets.size(); ++i) {
    const CheckSubset& s = model.subsets[i];
    rows.push_back({std::to_string(i), std::to_string(s.material), Range(s.faceStart, s.faceCount),
                    Range(s.vertexStart, s.vertexCount)});
  }
  return FormatTable(rows, 2, {0, 1});
}

std::string ModelSection(const CheckModel& model) {
  std::string text = "\nModel " + OnOneLine(model.file);
  if (!model.form.empty()) text += " (" + model.form + ", " + std::to_string(model.floatBits) + "-bit floats)";
  text += "\n";
  if (!model.loaded) return text + "  not loaded\n";
  std::string vertices = std::to_string(model.vertices);
  if (model.unusedVertices)
    vertices += " (" + std::to_string(model.fileVertices) + " in the file, " + std::to_string(model.unusedVertices) +
                " used by no face)";
  text += FormatTable({{"vertices", vertices},
                       {"faces", std::to_string(model.faces)},
                       {"indices", std::to_string(model.indexBits) + "-bit"},
                       {"bounds", Vector(model.boxMin) + " to " + Vector(model.boxMax)},
                       {"sphere", "radius " + Number(model.sphereRadius, "%.3g") + " around " + Vector(model.sphereCenter)}},
                      2);
  text += "  alpha 0.5 = lit window at night, 0 = hidden by day (opaque at night)\n";
  return text + MaterialTable(model) + SubsetTable(model);
}

std::string TextureSection(const std::vector<CheckTexture>& textures) {
  std::string text = "\nTextures\n";
  if (textures.empty()) return text + "  none\n";
  std::vector<TextRow> rows{{"name", "materials", "found by", "file", "format", "size"}};
  for (const CheckTexture& t : textures) {
    std::string materials;
    for (uint32_t m : t.materials) {
      if (!materials.empty()) materials += ',';
      materials += std::to_string(m);
    }
    std::string size = t.loaded ? std::to_string(t.width) + " x " + std::to_string(t.height) : "";
    std::string format = t.loaded ? t.format : t.found ? "not loaded" : "";
    rows.push_back({t.name, materials, t.foundBy, t.found ? t.path : "-", format, size});
  }
  return text + FormatTable(rows, 2);
}

// "1 error", "2 warnings", "2 info"
std::string Counted(size_t count, Severity severity) {
  bool plural = count != 1 && severity != Severity::kInfo;
  return std::to_string(count) + " " + SeverityName(severity) + (plural ? "s" : "");
}

constexpr const char* kHeadings[kSeverityCount] = {"Errors", "Warnings", "Info", "Hints"};

// "  file:line: message (in Frame x/Mesh y) [CODE]"
std::string ProblemLine(const LoadNote& p) {
  std::string text = "  ";
  if (!p.file.empty()) {
    text += OnOneLine(p.file);
    if (p.line) text.append(":").append(std::to_string(p.line));
    text += ": ";
  }
  text += OnOneLine(ProblemMessage(p));
  if (!p.objectPath.empty()) text += " (in " + OnOneLine(p.objectPath) + ")";
  return text + " [" + CodeOf(p.code).name + "]\n";
}

// The findings grouped by severity, errors first, each group under its count.
std::string ProblemSection(const std::vector<LoadNote>& problems) {
  if (problems.empty()) return "\nNo problems found.\n";
  SeverityCounts counts = CountBySeverity(problems);
  std::string text = "\nProblems (" + std::to_string(problems.size()) + "):";
  for (size_t s = 0; s < kSeverityCount; ++s) text += (s ? ", " : " ") + Counted(counts[s], static_cast<Severity>(s));
  text += "\n";
  std::vector<LoadNote> sorted = BySeverity(problems);
  for (size_t i = 0; i < sorted.size(); ++i) {
    Severity severity = SeverityOf(sorted[i]);
    if (i == 0 || SeverityOf(sorted[i - 1]) != severity) {
      size_t s = static_cast<size_t>(severity);
      text += std::string("\n") + kHeadings[s] + " (" + std::to_string(counts[s]) + ")\n";
    }
    text += ProblemLine(sorted[i]);
  }
  return text;
}

}  // namespace

std::string CheckReportText(const CheckReport& report) {
  std::string text = Heading(report);
  text += FormatTable({{"directory", report.directory}, {"definition file", report.definitionFile.empty() ? "none (a bare model)" : report.definitionFile}}, 2);
  if (!report.definitionFile.empty()) text += DefinitionSection(report);
  text += ModelSection(report.model);
  text += TextureSection(report.textures);
  text += ProblemSection(report.problems);
  return text;
}
