#include "viewer/check_findings.h"

#include <unistd.h>

#include <climits>

#include "plugins/plugin_object.h"
#include "resources/mesh_resource.h"
#include "viewer/plugin_loading.h"
#include "viewer/problem_lines.h"

namespace {

// The directory the plug-in's names start from: the launch has made it current.
std::string PluginDirectory() {
  char directory[PATH_MAX];
  if (!getcwd(directory, sizeof directory)) return "/";
  std::string path = directory;
  return path.ends_with('/') ? path : path + "/";
}

void Append(std::vector<LoadNote>& to, const std::vector<LoadNote>& findings) {
  to.insert(to.end(), findings.begin(), findings.end());
}

}  // namespace

std::vector<LoadNote> PluginFindings(const ShownPlugin& shown, bool bare) {
  std::vector<LoadNote> findings = PluginProblems(shown);
  if (shown.object) Append(findings, DefinitionFindings(*shown.object, shown.kind));
  if (shown.model) {
    Append(findings, ModelFindings(*shown.model, shown.object && !bare ? shown.object->drawScale : 0.0f));
    Append(findings, TextureFindings(*shown.model, PluginDirectory()));
  }
  return findings;
}
