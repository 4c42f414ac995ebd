// The structure made from a bare model file, without a definition file.
#include <cstdio>

#include "plugins/struct_plugin.h"

namespace {
constexpr char kDirectoryName[] = "XFILE";
constexpr char kName[] = "D3DRM-Mesh";
constexpr char kAuthor[] = "ZOVA X-File Viewer";
// Scale figure per unit of bounding-sphere radius: the sphere is drawn with radius 10.
constexpr float kScaleFigurePerRadius = 0.05f;
}  // namespace

StructPlugin::StructPlugin(const char* modelPath) : PluginObject("") {
  if (!mesh.load(modelPath, 0, 1)) return;
  modelLoaded = true;
  std::snprintf(dirName, sizeof dirName, "%s", kDirectoryName);
  std::snprintf(name, sizeof name, "%s", kName);
  std::snprintf(author, sizeof author, "%s", kAuthor);
  scaleFigure = mesh.sphereRadius * kScaleFigurePerRadius;
  definition.fileName = modelPath;
  if (!ComputeDrawScale())
    definition.AddProblem(FindingCode::kModelSizeUnusable, 0, "bounding sphere radius %g; drawScale 1.0 instead",
                          mesh.sphereRadius);
}
