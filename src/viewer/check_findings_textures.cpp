// The textures' checks: names that work on this machine only, sizes the
// simulator's devices treat differently.
#include <bit>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>

#include "platform/os/text_encoding.h"
#include "resources/mesh_resource.h"
#include "resources/texture_cache.h"
#include "viewer/check_findings.h"

namespace {

constexpr uint32_t kLargestSide = 2048;

const char* HowFound(PathMatch match) {
  switch (match) {
    case PathMatch::kExact: return "found as named";
    case PathMatch::kCaseOrSeparators: return "found by letter case or separators";
    case PathMatch::kCodePage932: return "found by its code page 932 reading";
    case PathMatch::kTrailingPath: return "found by its trailing path in the model's directory";
    case PathMatch::kModelDirectory: return "found in the model's directory";
    case PathMatch::kMissing: return "not found";
  }
  return "not found";
}

// "C:\...", "C:/...", "\\server\...", "\..." or "/...": a path from a root of the author's machine.
bool IsAbsoluteName(const std::string& name) {
  if (name.size() >= 2 && name[1] == ':' && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')))
    return true;
  return !name.empty() && (name[0] == '\\' || name[0] == '/');
}

bool IsInside(const std::string& path, const std::string& directory) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path file = fs::absolute(fs::path(path), error).lexically_normal();
  if (error) return true;
  return file.string().starts_with(fs::path(directory).lexically_normal().string());
}

class TextureChecks {
 public:
  TextureChecks(const std::string& name, const ResolvedPath& file, std::vector<LoadNote>& findings)
      : name_(name), file_(file), findings_(findings) {}

  void Add(FindingCode code, const std::string& message) {
    findings_.push_back(LoadNote{code, DisplayText(name_), 0, "", "", message});
  }

  void Place(const std::string& pluginDirectory) {
    const std::string shown = "\"" + OnOneLine(DisplayText(name_)) + "\"";
    if (IsAbsoluteName(name_))
      Add(FindingCode::kTextureForeignPath, "named by the absolute path " + shown + "; " + HowFound(file_.match));
    if (file_.match != PathMatch::kMissing && !IsInside(file_.path, pluginDirectory))
      Add(FindingCode::kTextureOutsidePlugin,
          "found outside the plug-in's folder, at " + OnOneLine(DisplayText(file_.path)));
    if (IsValidUtf8(name_) && !EncodesInCp932(name_))
      Add(FindingCode::kTextureNameNotCp932, shown + " holds characters that code page 932 cannot encode");
    if (file_.match == PathMatch::kCaseOrSeparators)
      Add(FindingCode::kTextureFoundByCase, "found only by letter case or separators, as " +
                                                 OnOneLine(DisplayText(file_.path)));
    if (file_.match == PathMatch::kCodePage932)
      Add(FindingCode::kTextureFoundByCp932, "found only by its code page 932 reading, as " +
                                                  OnOneLine(DisplayText(file_.path)));
  }

  void Size(uint32_t width, uint32_t height) {
    if (!std::has_single_bit(width) || !std::has_single_bit(height))
      Add(FindingCode::kTextureNotPowerOfTwo,
          NoteMessage("%u x %u: a side is not a power of two; devices that need one get it stretched", width, height));
    if (width > kLargestSide || height > kLargestSide)
      Add(FindingCode::kTextureTooLarge,
          NoteMessage("%u x %u: a side is over %u, more than many devices hold", width, height, kLargestSide));
  }

 private:
  const std::string& name_;
  const ResolvedPath& file_;
  std::vector<LoadNote>& findings_;
};

}  // namespace

std::vector<LoadNote> TextureFindings(const MeshResource& model, const std::string& pluginDirectory) {
  std::vector<LoadNote> findings;
  std::unordered_set<std::string_view> seen;
  for (size_t i = 0; i < model.textureNames.size(); ++i) {
    const std::string& name = model.textureNames[i];
    if (name.empty() || !seen.insert(name).second) continue;
    TextureChecks checks(name, model.textureFiles[i], findings);
    checks.Place(pluginDirectory);
    if (const TextureEntry* entry = Textures().Find(name)) checks.Size(entry->image.Width, entry->image.Height);
  }
  return findings;
}
