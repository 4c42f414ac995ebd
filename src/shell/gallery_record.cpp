#include "shell/gallery_record.h"

#include <vector>

#include "platform/os/atomic_file.h"
#include "platform/os/text_encoding.h"
#include "viewer/check_report.h"

// Paths and reasons are bytes as found (a file name on disk, a note quoting a
// model): they are shown as text, UTF-8 when valid, else code page 932.
namespace {

constexpr char kStateSeparator = '\t';

std::string Plural(int count, const char* word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

// The badges of the counts, or the reason a plug-in is not shown.
std::string Badges(const GalleryResult& result) {
  std::string html;
  if (!result.shown) html += "<span class=\"badge failed\">not shown</span>";
  if (result.counts.errors) html += "<span class=\"badge error\">" + Plural(result.counts.errors, "error") + "</span>";
  if (result.counts.warnings)
    html += "<span class=\"badge warning\">" + Plural(result.counts.warnings, "warning") + "</span>";
  if (result.shown && !result.counts.errors && !result.counts.warnings)
    html += "<span class=\"badge ok\">no problems</span>";
  return "<span class=\"badges\">" + html + "</span>";
}

std::string Attribute(const char* name, std::string_view value) {
  return std::string(" ") + name + "=\"" + HtmlEscaped(value) + "\"";
}

std::string ShownName(const GalleryEntry& entry, const GalleryResult& result) {
  return result.checked && !result.name.empty() ? result.name : DisplayText(entry.name);
}

std::string Tile(const GalleryEntry& entry, const GalleryResult& result) {
  std::string name = ShownName(entry, result);
  std::string html = "<a class=\"tile" + std::string(result.shown ? "" : " failed") + "\"";
  html += Attribute("href", PageFile(entry.id)) + Attribute("data-name", name) + Attribute("data-author", result.author) +
          Attribute("data-kind", result.kind) + Attribute("data-path", DisplayText(entry.name)) +
          Attribute("data-errors", std::to_string(result.counts.errors)) +
          Attribute("data-warnings", std::to_string(result.counts.warnings)) +
          Attribute("data-failed", result.shown ? "0" : "1") + ">";
  if (result.shown)
    html += "<img" + Attribute("src", ThumbnailFile(entry.id)) + " alt=\"\" width=\"256\" height=\"192\">";
  else
    html += "<span class=\"reason\">" + HtmlEscaped(DisplayText(result.reason)) + "</span>";
  html += "<span class=\"name\">" + HtmlEscaped(name) + "</span>";
  html += "<span class=\"author\">" + HtmlEscaped(result.author) + "</span>";
  html += "<span class=\"kind\">" + HtmlEscaped(result.kind.empty() ? "?" : result.kind) + "</span>";
  html += "<span class=\"path\">" + HtmlEscaped(DisplayText(entry.name)) + "</span>";
  return html + Badges(result) + "</a>";
}

std::string JsonLine(const GalleryEntry& entry, const GalleryResult& result) {
  auto picture = [&](const std::string& file) { return result.shown ? JsonQuoted(file) : std::string("null"); };
  return "{\"id\": " + JsonQuoted(entry.id) + ", \"plugin\": " + JsonQuoted(DisplayText(entry.name)) +
         ", \"path\": " + JsonQuoted(DisplayText(entry.argument)) + ", \"shown\": " + (result.shown ? "true" : "false") +
         ", \"reason\": " + (result.shown ? "null" : JsonQuoted(DisplayText(result.reason))) +
         ", \"counts\": {\"error\": " + std::to_string(result.counts.errors) +
         ", \"warning\": " + std::to_string(result.counts.warnings) + "}" +
         ", \"page\": " + JsonQuoted(PageFile(entry.id)) + ", \"thumbnail\": " + picture(ThumbnailFile(entry.id)) +
         ", \"day\": " + picture(DayPictureFile(entry.id)) + ", \"night\": " + picture(NightPictureFile(entry.id)) +
         ", \"check\": " + (result.checked ? result.reportJson : "null") + "}";
}

// Inline JSON must not close its script element early.
std::string ScriptSafe(std::string text) {
  for (size_t at = text.find("</"); at != std::string::npos; at = text.find("</", at + 3)) text.replace(at, 2, "<\\/");
  return text;
}

std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t end; (end = line.find(separator, start)) != std::string::npos; start = end + 1)
    parts.push_back(line.substr(start, end - start));
  parts.push_back(line.substr(start));
  return parts;
}

}  // namespace

ProblemCounts CountProblems(const CheckReport& report) {
  SeverityCounts counts = CountBySeverity(report.problems);
  return ProblemCounts{static_cast<int>(counts[static_cast<size_t>(Severity::kError)]),
                       static_cast<int>(counts[static_cast<size_t>(Severity::kWarning)])};
}

std::string ThumbnailFile(const std::string& id) { return "pictures/" + id + "-thumb.png"; }
std::string DayPictureFile(const std::string& id) { return "pictures/" + id + "-day.png"; }
std::string NightPictureFile(const std::string& id) { return "pictures/" + id + "-night.png"; }
std::string PageFile(const std::string& id) { return "p/" + id + ".html"; }

std::string HtmlEscaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      case '\t': out += "&#9;"; break;
      case '\n': out += "&#10;"; break;
      case '\r': out += "&#13;"; break;
      default: out += c;
    }
  }
  return out;
}

GalleryRecord MakeGalleryRecord(const GalleryEntry& entry, const GalleryResult& result) {
  bool problems = result.counts.errors || result.counts.warnings;
  return GalleryRecord{entry.id, entry.fingerprint, result.shown, problems, Tile(entry, result),
                       JsonLine(entry, result)};
}

bool WritePluginPage(const std::string& outputDirectory, const GalleryEntry& entry, const GalleryResult& result,
                     std::string& error) {
  std::string name = HtmlEscaped(ShownName(entry, result));
  std::string html = "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + name +
                     "</title>\n<link rel=\"stylesheet\" href=\"../gallery.css\">\n</head>\n<body class=\"page\">\n";
  html += "<p><a id=\"back\" href=\"../index.html\">&larr; all plug-ins</a></p>\n";
  html += "<h1>" + name + "</h1>\n<p class=\"author\">" + HtmlEscaped(result.author) + "</p>\n";
  html += "<p class=\"kind\">" + HtmlEscaped(result.kind) + " <code id=\"path\">" + HtmlEscaped(DisplayText(entry.argument)) +
          "</code></p>\n<p>" + Badges(result) + "</p>\n";
  if (result.shown) {
    html += "<div class=\"pictures\"><figure><img id=\"day\" src=\"../" + DayPictureFile(entry.id) +
            "\" alt=\"by day\" width=\"640\" height=\"480\"><figcaption>昼 day</figcaption></figure>"
            "<figure><img id=\"night\" src=\"../" + NightPictureFile(entry.id) +
            "\" alt=\"at night\" width=\"640\" height=\"480\"><figcaption>夜 night</figcaption></figure></div>\n";
  } else {
    html += "<p class=\"reason\">" + HtmlEscaped(DisplayText(result.reason)) + "</p>\n";
  }
  if (result.checked) {
    html += "<h2>Report</h2>\n<pre id=\"report\">" + HtmlEscaped(result.reportText) + "</pre>\n";
    html += "<script type=\"application/json\" id=\"check\">" + ScriptSafe(result.reportJson) + "</script>\n";
  }
  html += "</body>\n</html>\n";
  std::string path = outputDirectory + "/" + PageFile(entry.id);
  return WriteFileAtomically(path, {reinterpret_cast<const uint8_t*>(html.data()), html.size()}, error);
}

std::string StateLine(const GalleryRecord& record) {
  std::string separator(1, kStateSeparator);
  return record.id + separator + record.fingerprint + separator + (record.shown ? "1" : "0") + separator +
         (record.problems ? "1" : "0") + separator + record.tile + separator + record.json;
}

bool ParseStateLine(const std::string& line, GalleryRecord& record) {
  std::vector<std::string> parts = Split(line, kStateSeparator);
  if (parts.size() != 6 || parts[0].empty()) return false;
  record = GalleryRecord{parts[0], parts[1], parts[2] == "1", parts[3] == "1", parts[4], parts[5]};
  return true;
}
