// The -check report as one JSON document.
#include <cmath>
#include <cstdio>

#include "viewer/check_report.h"

namespace {

// Strings are valid UTF-8 (the report decodes what it takes from files), so
// only quotes, backslashes and control characters need escapes.
std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", c);
          out += escape;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

// JSON has no infinities and no NaN: they are written as null.
std::string Number(double value) {
  if (!std::isfinite(value)) return "null";
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

std::string Count(uint64_t value) { return std::to_string(value); }
std::string OrNull(const std::string& text) { return text.empty() ? "null" : Quoted(text); }
std::string Bool(bool value) { return value ? "true" : "false"; }

// Members are written one after another; each call adds "key": value.
class JsonObject {
 public:
  JsonObject& Add(const char* key, const std::string& json) {
    text_ += (text_.empty() ? "{" : ", ") + Quoted(key) + ": " + json;
    return *this;
  }
  std::string Close() const { return text_.empty() ? "{}" : text_ + "}"; }

 private:
  std::string text_;
};

template <typename T, typename Write>
std::string Array(const std::vector<T>& items, Write write) {
  std::string text = "[";
  for (size_t i = 0; i < items.size(); ++i) text += (i ? ", " : "") + write(items[i]);
  return text + "]";
}

std::string Triple(double a, double b, double c) {
  std::string text = "[";
  text.append(Number(a)).append(", ").append(Number(b)).append(", ").append(Number(c));
  return text.append("]");
}
std::string Rgb(const D3DCOLORVALUE& c) { return Triple(c.r, c.g, c.b); }
std::string Xyz(const D3DXVECTOR3& v) { return Triple(v.x, v.y, v.z); }

std::string MaterialJson(const CheckMaterial& m) {
  return JsonObject()
      .Add("diffuse", Rgb(m.diffuse))
      .Add("alpha", Number(m.diffuse.a))
      .Add("alphaMeaning", Quoted(m.alphaMeaning))
      .Add("specular", Rgb(m.specular))
      .Add("power", Number(m.power))
      .Add("emissive", Rgb(m.emissive))
      .Add("texture", m.texture.empty() ? "null" : Quoted(m.texture))
      .Close();
}

std::string SubsetJson(const CheckSubset& s) {
  return JsonObject()
      .Add("material", Count(s.material))
      .Add("faceStart", Count(s.faceStart))
      .Add("faceCount", Count(s.faceCount))
      .Add("vertexStart", Count(s.vertexStart))
      .Add("vertexCount", Count(s.vertexCount))
      .Close();
}

std::string ModelJson(const CheckModel& model) {
  JsonObject json;
  json.Add("file", Quoted(model.file))
      .Add("loaded", Bool(model.loaded))
      .Add("form", model.form.empty() ? "null" : Quoted(model.form))
      .Add("floatBits", model.form.empty() ? "null" : Count(model.floatBits));
  if (!model.loaded) return json.Add("vertices", "0").Add("faces", "0").Add("materials", "[]").Add("subsets", "[]").Close();
  return json.Add("vertices", Count(model.vertices))
      .Add("fileVertices", Count(model.fileVertices))
      .Add("unusedVertices", Count(model.unusedVertices))
      .Add("faces", Count(model.faces))
      .Add("indexBits", Count(model.indexBits))
      .Add("bounds", JsonObject().Add("min", Xyz(model.boxMin)).Add("max", Xyz(model.boxMax)).Close())
      .Add("sphere", JsonObject().Add("center", Xyz(model.sphereCenter)).Add("radius", Number(model.sphereRadius)).Close())
      .Add("materials", Array(model.materials, MaterialJson))
      .Add("subsets", Array(model.subsets, SubsetJson))
      .Close();
}

std::string TextureJson(const CheckTexture& t) {
  JsonObject json;
  json.Add("name", Quoted(t.name))
      .Add("materials", Array(t.materials, [](uint32_t m) { return Count(m); }))
      .Add("found", Bool(t.found))
      .Add("foundBy", Quoted(t.foundBy))
      .Add("path", t.found ? Quoted(t.path) : "null")
      .Add("pathBytes", OrNull(t.pathBytes))
      .Add("loaded", Bool(t.loaded));
  if (t.loaded) json.Add("format", Quoted(t.format)).Add("width", Count(t.width)).Add("height", Count(t.height));
  return json.Close();
}

std::string FieldJson(const DefinitionField& f) {
  return JsonObject().Add("name", Quoted(f.name)).Add("line", Count(f.line)).Add("text", Quoted(f.text)).Close();
}

std::string ProblemJson(const LoadNote& p) {
  const CheckCode& code = CodeOf(p.code);
  return JsonObject()
      .Add("code", Quoted(code.name))
      .Add("severity", Quoted(SeverityName(code.severity)))
      .Add("file", Quoted(p.file))
      .Add("line", p.line ? Count(p.line) : "null")
      .Add("objectPath", OrNull(p.objectPath))
      .Add("message", Quoted(ProblemMessage(p)))
      .Close();
}

std::string CountsJson(const std::vector<LoadNote>& problems) {
  SeverityCounts counts = CountBySeverity(problems);
  JsonObject json;
  for (size_t s = 0; s < kSeverityCount; ++s) json.Add(SeverityName(static_cast<Severity>(s)), Count(counts[s]));
  return json.Close();
}

}  // namespace

std::string CheckReportJson(const CheckReport& report) {
  bool bare = report.definitionFile.empty();
  return JsonObject()
             .Add("schemaVersion", Count(kCheckSchemaVersion))
             .Add("kind", OrNull(report.kind))
             .Add("directory", Quoted(report.directory))
             .Add("directoryBytes", OrNull(report.directoryBytes))
             .Add("definitionFile", bare ? "null" : Quoted(report.definitionFile))
             .Add("name", Quoted(report.name))
             .Add("author", Quoted(report.author))
             .Add("scaleFigure", Number(report.scaleFigure))
             .Add("drawScale", Number(report.drawScale))
             .Add("fields", Array(report.fields, FieldJson))
             .Add("model", ModelJson(report.model))
             .Add("textures", Array(report.textures, TextureJson))
             .Add("counts", CountsJson(report.problems))
             .Add("problems", Array(report.problems, ProblemJson))
             .Close() +
         "\n";
}

std::string JsonQuoted(std::string_view text) { return Quoted(text); }
