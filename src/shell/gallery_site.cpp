#include "shell/gallery_site.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <system_error>

#include "platform/os/atomic_file.h"

namespace {

namespace fs = std::filesystem;

constexpr char kStateFile[] = "gallery-state.tsv";
// The first line of the state; a gallery that writes its files differently changes it.
constexpr char kStateHeader[] = "vondrel-viewer gallery state 1";

constexpr char kStyle[] = R"css(body { font-family: sans-serif; margin: 0; background: #f4f4f2; color: #222; }
header { position: sticky; top: 0; background: #30343b; color: #fff; padding: 8px 12px; display: flex;
  flex-wrap: wrap; gap: 10px; align-items: center; z-index: 1; }
header h1 { font-size: 18px; margin: 0 12px 0 0; }
header input[type=search] { width: 16em; }
#tiles { display: grid; grid-template-columns: repeat(auto-fill, 272px); gap: 12px; padding: 12px; }
.tile { display: flex; flex-direction: column; background: #fff; border: 1px solid #ccc; border-radius: 4px;
  padding: 8px; color: inherit; text-decoration: none; min-height: 290px; }
.tile:hover { border-color: #36c; }
.tile img { width: 256px; height: 192px; background: #000; }
.tile .reason { width: 240px; height: 176px; padding: 8px; background: #fde8e8; color: #900; overflow: auto;
  font-size: 12px; }
.tile .name { font-weight: bold; margin-top: 6px; }
.tile .author, .tile .kind, .tile .path { font-size: 12px; color: #555; }
.tile .path { overflow-wrap: anywhere; }
.badges { margin-top: 4px; }
.badge { display: inline-block; font-size: 12px; border-radius: 8px; padding: 1px 7px; margin-right: 4px; color: #fff; }
.badge.error, .badge.failed { background: #c62828; }
.badge.warning { background: #ef8f00; }
.badge.ok { background: #2e7d32; }
.page { padding: 12px; }
.pictures { display: flex; flex-wrap: wrap; gap: 12px; }
figure { margin: 0; }
pre { background: #fff; border: 1px solid #ccc; padding: 8px; overflow: auto; }
.reason { color: #900; }
)css";

constexpr char kScript[] = R"js(
const grid = document.getElementById('tiles');
const tiles = Array.from(grid.querySelectorAll('.tile'));
const filter = document.getElementById('filter');
const kind = document.getElementById('kind');
const problems = document.getElementById('problems');
const sort = document.getElementById('sort');
const count = document.getElementById('count');
const problemsOf = t => 1000 * Number(t.dataset.failed) + 100 * Number(t.dataset.errors) + Number(t.dataset.warnings);
const byName = (a, b) => a.dataset.name.localeCompare(b.dataset.name, 'ja') || a.dataset.path.localeCompare(b.dataset.path);
const orders = {
  name: byName,
  author: (a, b) => a.dataset.author.localeCompare(b.dataset.author, 'ja') || byName(a, b),
  problems: (a, b) => problemsOf(b) - problemsOf(a) || byName(a, b),
};
function update() {
  const words = filter.value.toLowerCase().split(/\s+/).filter(w => w);
  let shown = 0;
  for (const t of tiles) {
    const text = (t.dataset.name + ' ' + t.dataset.author + ' ' + t.dataset.kind + ' ' + t.dataset.path).toLowerCase();
    const ok = words.every(w => text.includes(w)) && (!kind.value || t.dataset.kind === kind.value) &&
               (!problems.checked || problemsOf(t) > 0);
    t.hidden = !ok;
    if (ok) shown++;
  }
  count.textContent = shown + ' / ' + tiles.length;
}
function order() {
  tiles.sort(orders[sort.value]).forEach(t => grid.appendChild(t));
}
// A link may carry the view: index.html?q=words&kind=Train&problems=1&sort=author
const asked = new URLSearchParams(location.search);
filter.value = asked.get('q') || '';
kind.value = asked.get('kind') || '';
problems.checked = asked.get('problems') === '1';
if (orders[asked.get('sort')]) sort.value = asked.get('sort');
filter.addEventListener('input', update);
kind.addEventListener('change', update);
problems.addEventListener('change', update);
sort.addEventListener('change', order);
order();
update();
)js";

bool WriteText(const std::string& path, const std::string& text, std::string& error) {
  return WriteFileAtomically(path, {reinterpret_cast<const uint8_t*>(text.data()), text.size()}, error);
}

std::string IndexHtml(const std::string& folder, const std::vector<GalleryRecord>& records) {
  std::string title = HtmlEscaped(folder) + " &middot; Vondrel plug-ins";
  std::string html = "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + title +
                     "</title>\n<link rel=\"stylesheet\" href=\"gallery.css\">\n</head>\n<body>\n<header>\n<h1>" +
                     title + "</h1>\n";
  html += "<input id=\"filter\" type=\"search\" placeholder=\"name, author, path\" aria-label=\"filter\">\n";
  html += "<select id=\"kind\" aria-label=\"kind\"><option value=\"\">every kind</option>";
  for (const char* kind : {"Train", "Struct", "Station", "Surface", "model"})
    html += std::string("<option>") + kind + "</option>";
  html += "</select>\n<label><input id=\"problems\" type=\"checkbox\"> has problems</label>\n";
  html += "<label>sort <select id=\"sort\"><option value=\"name\">name</option><option value=\"author\">author"
          "</option><option value=\"problems\">problems</option></select></label>\n";
  html += "<span id=\"count\">" + std::to_string(records.size()) + " plug-ins</span>\n</header>\n<main id=\"tiles\">\n";
  for (const GalleryRecord& record : records) html += record.tile + "\n";
  return html + "</main>\n<script>" + kScript + "</script>\n</body>\n</html>\n";
}

// Pages and pictures are named after their plug-in's id: those of ids no
// longer in the gallery go.
void RemoveStaleFiles(const std::string& outputDirectory, const std::vector<GalleryRecord>& records) {
  std::set<std::string> ids;
  for (const GalleryRecord& record : records) ids.insert(record.id);
  for (const char* folder : {"p", "pictures"}) {
    std::error_code error;
    for (fs::directory_iterator it(fs::path(outputDirectory) / folder, error), end; !error && it != end;
         it.increment(error)) {
      std::string name = it->path().filename().string();
      std::string id = name.substr(0, name.find_first_of("-."));
      std::error_code removeError;
      if (!ids.contains(id)) fs::remove(it->path(), removeError);
    }
  }
}

}  // namespace

std::map<std::string, GalleryRecord> ReadGalleryState(const std::string& outputDirectory) {
  std::map<std::string, GalleryRecord> records;
  std::ifstream state(fs::path(outputDirectory) / kStateFile);
  std::string line;
  if (!std::getline(state, line) || line != kStateHeader) return records;
  GalleryRecord record;
  while (std::getline(state, line))
    if (ParseStateLine(line, record)) records[record.id] = record;
  return records;
}

bool WriteGallerySite(const std::string& outputDirectory, const std::string& title,
                      const std::vector<GalleryRecord>& records, std::string& error) {
  std::string jsonl, state = std::string(kStateHeader) + "\n";
  for (const GalleryRecord& record : records) {
    jsonl += record.json + "\n";
    state += StateLine(record) + "\n";
  }
  std::string out = outputDirectory + "/";
  bool written = WriteText(out + "gallery.css", kStyle, error) &&
                 WriteText(out + "index.html", IndexHtml(title, records), error) &&
                 WriteText(out + "gallery.jsonl", jsonl, error) && WriteText(out + kStateFile, state, error);
  if (written) RemoveStaleFiles(outputDirectory, records);
  return written;
}
