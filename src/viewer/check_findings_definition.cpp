// The definition file's checks: numbers read in part, platforms too short to count.
#include <cstdlib>
#include <string>

#include "platform/os/text_encoding.h"
#include "plugins/station_plugin.h"
#include "viewer/check_findings.h"
#include "viewer/plugin_loading.h"

namespace {

LoadNote DefinitionFinding(FindingCode code, const DefinitionRecord& record, unsigned line, std::string message) {
  return LoadNote{code, DisplayText(record.fileName), line, line ? "line " + std::to_string(line) : "", "",
                  std::move(message)};
}

// "1x.5" taken as 1, "時速95" taken as nothing.
void NumberFindings(const DefinitionRecord& record, std::vector<LoadNote>& findings) {
  for (const DefinitionField& field : record.fields) {
    if (field.stored && field.untaken.empty()) continue;
    std::string name = field.name.empty() ? "an item" : field.name;
    std::string word = OnOneLine(DisplayText(field.text + field.untaken));
    std::string message = field.stored
                              ? name + " \"" + word + "\" is read only in part: taken as " +
                                    NoteMessage("%g", std::strtod(field.text.c_str(), nullptr))
                              : name + " \"" + word + "\" is not a number: nothing is taken, and reading stops there";
    findings.push_back(DefinitionFinding(FindingCode::kDefinitionNumber, record, field.line, std::move(message)));
  }
}

// The line of a platform's first item; 0 when it has none.
unsigned PlatformLine(const DefinitionRecord& record, size_t platform) {
  const std::string name = "platform " + std::to_string(platform + 1) + " start x";
  for (const DefinitionField& field : record.fields)
    if (field.name == name) return field.line;
  return 0;
}

void PlatformFindings(const StationPlugin& station, std::vector<LoadNote>& findings) {
  for (size_t i = 0; i < station.platforms.size(); ++i) {
    float length = StationPlugin::Length(station.platforms[i]);
    if (length >= StationPlugin::kShortestPlatform) continue;
    findings.push_back(DefinitionFinding(
        FindingCode::kPlatformNotCounted, station.definition, PlatformLine(station.definition, i),
        NoteMessage("platform %zu is %.3g long as drawn, under the %g a platform needs to count: "
                    "\"ホーム数\" shows %d of the %d platforms read",
                    i + 1, length, StationPlugin::kShortestPlatform, station.platformCount,
                    station.platformCountRead)));
  }
}

}  // namespace

std::vector<LoadNote> DefinitionFindings(const PluginObject& object, PluginKind kind) {
  std::vector<LoadNote> findings;
  NumberFindings(object.definition, findings);
  if (kind == kStationKind) PlatformFindings(static_cast<const StationPlugin&>(object), findings);
  return findings;
}
