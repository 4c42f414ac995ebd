// What the gallery keeps of one plug-in: drawn and checked by a worker,
// written into the site by the gallery run.
#pragma once
#include <string>
#include <string_view>

#include "shell/gallery_walk.h"

struct CheckReport;

struct ProblemCounts {
  int errors = 0;
  int warnings = 0;
};

// The errors and warnings of a -check report, as its `counts` give them.
ProblemCounts CountProblems(const CheckReport& report);

// What a worker found about a plug-in.
struct GalleryResult {
  bool shown = false;      // its pictures are written
  std::string reason;      // why not, when not
  bool checked = false;    // it loaded: the fields below hold its report
  std::string kind, name, author;
  ProblemCounts counts;
  std::string reportText;  // -check's text report
  std::string reportJson;  // -check's JSON report, on one line
};

// A plug-in's line of the site: its tile in the index, its line of
// gallery.jsonl, and what the summary counts. One line of the state file.
struct GalleryRecord {
  std::string id;
  std::string fingerprint;
  bool shown = false;
  bool problems = false;  // errors or warnings
  std::string tile;       // HTML, on one line
  std::string json;       // JSON, on one line
};

// The files of a plug-in in the output directory, relative to it.
std::string ThumbnailFile(const std::string& id);
std::string DayPictureFile(const std::string& id);
std::string NightPictureFile(const std::string& id);
std::string PageFile(const std::string& id);

GalleryRecord MakeGalleryRecord(const GalleryEntry& entry, const GalleryResult& result);
// The page of the plug-in, written into the output directory; false with the reason.
bool WritePluginPage(const std::string& outputDirectory, const GalleryEntry& entry, const GalleryResult& result,
                     std::string& error);

// The record as a state line (tab-separated, no line break) and back.
std::string StateLine(const GalleryRecord& record);
bool ParseStateLine(const std::string& line, GalleryRecord& record);

// Text for HTML: '&', '<', '>', quotes, tabs and line breaks as references.
std::string HtmlEscaped(std::string_view text);
