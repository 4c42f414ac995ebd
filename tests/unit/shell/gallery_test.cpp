#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "image_test_support.h"
#include "platform/os/text_encoding.h"
#include "shell/gallery_record.h"
#include "shell/gallery_site.h"
#include "shell/gallery_walk.h"
#include "viewer/check_report.h"
#include "zip_bytes.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

GalleryEntry Entry(const std::string& name) { return GalleryEntry{name, "/plugins/" + name, HashHex(name), "f1", ""}; }

GalleryResult Shown(int errors, int warnings) {
  GalleryResult result;
  result.shown = true;
  result.checked = true;
  result.kind = "Train";
  result.name = "旧形電車<モハ30>";
  result.author = "工房 & 仲間";
  result.counts = {errors, warnings};
  result.reportText = "Train plug-in\n";
  result.reportJson = R"({"kind": "Train", "name": "</script>"})";
  return result;
}

TEST(Gallery, HtmlEscapesMarkupQuotesAndLineBreaks) {
  struct Case {
    const char* text;
    const char* html;
  } cases[] = {{"a & b", "a &amp; b"},     {"<b>", "&lt;b&gt;"}, {"\"'", "&quot;&#39;"},
               {"a\tb\nc\r", "a&#9;b&#10;c&#13;"}, {"車体", "車体"}};
  for (const Case& c : cases) EXPECT_EQ(HtmlEscaped(c.text), c.html) << c.text;
}

TEST(Gallery, BadgesCountTheErrorsAndWarningsOfTheReport) {
  CheckReport report;
  EXPECT_EQ(CountProblems(report).errors + CountProblems(report).warnings, 0);
  auto finding = [](FindingCode code) { return LoadNote{code, "Struct.txt", 3, "line 3", "", "m"}; };
  report.problems = {finding(FindingCode::kScaleFigureMissing), finding(FindingCode::kDefinitionWordCut),
                     finding(FindingCode::kDefinitionTooLong), finding(FindingCode::kSurplusClosingBraces)};
  ProblemCounts counts = CountProblems(report);
  EXPECT_EQ(counts.errors, 1);
  EXPECT_EQ(counts.warnings, 2);  // the info is no badge
}

TEST(Gallery, RecordsShowBadgesPicturesAndReasons) {
  struct Case {
    GalleryResult result;
    std::vector<const char*> inTile;
    std::vector<const char*> inJson;
    bool problems;
  } cases[] = {
      {Shown(0, 0), {"badge ok", "-thumb.png", "旧形電車&lt;モハ30&gt;", "工房 &amp; 仲間", "data-failed=\"0\""},
       {"\"shown\": true", "\"counts\": {\"error\": 0, \"warning\": 0}", "\"check\": {\"kind\": \"Train\""}, false},
      {Shown(1, 2), {"1 error<", "2 warnings<", "data-errors=\"1\"", "data-warnings=\"2\""},
       {"\"counts\": {\"error\": 1, \"warning\": 2}", "-night.png"}, true},
  };
  GalleryResult failed;
  failed.reason = "pack.zip: not a readable zip archive";
  for (Case& c : cases) {
    GalleryRecord record = MakeGalleryRecord(Entry("Train"), c.result);
    for (const char* text : c.inTile) EXPECT_NE(record.tile.find(text), std::string::npos) << text << "\n" << record.tile;
    for (const char* text : c.inJson) EXPECT_NE(record.json.find(text), std::string::npos) << text << "\n" << record.json;
    EXPECT_TRUE(record.shown);
    EXPECT_EQ(record.problems, c.problems);
  }
  GalleryRecord record = MakeGalleryRecord(Entry("pack.zip"), failed);
  EXPECT_NE(record.tile.find("class=\"tile failed\""), std::string::npos) << record.tile;
  EXPECT_NE(record.tile.find("not a readable zip archive"), std::string::npos);
  EXPECT_EQ(record.tile.find("<img"), std::string::npos);
  EXPECT_NE(record.json.find("\"shown\": false, \"reason\": \"pack.zip: not a readable zip archive\""),
            std::string::npos);
  EXPECT_NE(record.json.find("\"thumbnail\": null"), std::string::npos);
  EXPECT_NE(record.json.find("\"check\": null"), std::string::npos);
  EXPECT_FALSE(record.shown);
}

TEST(Gallery, BytesFromDiskAndFromModelsAreShownAsText) {
  // A folder named in code page 932 (表示) and a note quoting a byte of a broken model.
  GalleryEntry entry = Entry("\x95\x5C\x8E\xA6/Model.x");
  GalleryResult result;
  result.reason = "Model.x: line 6: reference to an unknown object '\xF5'";
  GalleryRecord record = MakeGalleryRecord(entry, result);
  EXPECT_TRUE(IsValidUtf8(record.json)) << record.json;
  EXPECT_TRUE(IsValidUtf8(record.tile)) << record.tile;
  EXPECT_NE(record.json.find("\"plugin\": \"表示/Model.x\""), std::string::npos) << record.json;
  TempDir dir;
  fs::create_directories(fs::path(dir.path()) / "p");
  std::string error;
  ASSERT_TRUE(WritePluginPage(dir.path(), entry, result, error)) << error;
  EXPECT_TRUE(IsValidUtf8(ReadText(fs::path(dir.path()) / PageFile(entry.id))));
}

TEST(Gallery, StateLinesComeBackAsWritten) {
  GalleryRecord record = MakeGalleryRecord(Entry("a\tb"), Shown(1, 0));
  GalleryRecord read;
  ASSERT_TRUE(ParseStateLine(StateLine(record), read));
  EXPECT_EQ(read.id, record.id);
  EXPECT_EQ(read.fingerprint, record.fingerprint);
  EXPECT_EQ(read.tile, record.tile);
  EXPECT_EQ(read.json, record.json);
  EXPECT_EQ(read.problems, record.problems);
  for (const char* broken : {"", "id\tf\t1\t0\ttile", "\tf\t1\t0\ttile\tjson", "id\tf\t1\t0\ttile\tjson\textra"})
    EXPECT_FALSE(ParseStateLine(broken, read)) << broken;
}

TEST(Gallery, PagesCarryTheReportAndNeverCloseTheirScriptEarly) {
  TempDir dir;
  fs::create_directories(fs::path(dir.path()) / "p");
  std::string error;
  ASSERT_TRUE(WritePluginPage(dir.path(), Entry("Train"), Shown(0, 1), error)) << error;
  std::string page = ReadText(fs::path(dir.path()) / PageFile(HashHex("Train")));
  for (const char* text : {"<pre id=\"report\">Train plug-in", "-day.png", "-night.png", "/plugins/Train",
                           "{\"kind\": \"Train\", \"name\": \"<\\/script>\"}", "../index.html"})
    EXPECT_NE(page.find(text), std::string::npos) << text;
}

TEST(Gallery, SiteStateIsReadBackAndStaleFilesGo) {
  TempDir dir;
  fs::path out = dir.path();
  fs::create_directories(out / "p");
  fs::create_directories(out / "pictures");
  std::vector<GalleryRecord> records = {MakeGalleryRecord(Entry("A"), Shown(0, 0)),
                                        MakeGalleryRecord(Entry("B"), Shown(2, 0))};
  std::ofstream(out / PageFile(records[0].id)) << "kept";
  std::ofstream(out / "p" / "0123456789abcdef.html") << "stale";
  std::ofstream(out / "pictures" / "0123456789abcdef-day.png") << "stale";
  std::string error;
  ASSERT_TRUE(WriteGallerySite(out.string(), "plugins", records, error)) << error;
  EXPECT_TRUE(fs::exists(out / PageFile(records[0].id)));
  EXPECT_FALSE(fs::exists(out / "p" / "0123456789abcdef.html"));
  EXPECT_FALSE(fs::exists(out / "pictures" / "0123456789abcdef-day.png"));
  std::map<std::string, GalleryRecord> state = ReadGalleryState(out.string());
  ASSERT_EQ(state.size(), 2u);
  EXPECT_EQ(state[records[1].id].json, records[1].json);
  std::string index = ReadText(out / "index.html");
  EXPECT_NE(index.find(records[0].tile), std::string::npos);
  EXPECT_NE(index.find("id=\"filter\""), std::string::npos);
  EXPECT_EQ(ReadText(out / "gallery.jsonl"), records[0].json + "\n" + records[1].json + "\n");
  // A state of another form is not trusted.
  std::ofstream(out / "gallery-state.tsv") << "some other state\n" << StateLine(records[0]) << "\n";
  EXPECT_TRUE(ReadGalleryState(out.string()).empty());
}

TEST(Gallery, WalkFindsDirectoriesModelsAndEachPluginOfAnArchive) {
  TempDir dir;
  fs::path root = dir.path();
  dir.Write("A/Train.txt", {'n'});
  dir.Write("A/Model.x", {'x'});
  dir.Write("A/parts/Other.x", {'x'});  // inside a plug-in: its own file, not another plug-in
  dir.Write("deep/models/car.x", {'x'});
  dir.Write("deep/models/paint.tga", {'t'});
  dir.Write("NoModel/struct.TXT", {'n'});
  dir.Write("bad.zip", {'n', 'o'});
  dir.Write("readme.txt", {'r'});
  ASSERT_TRUE(WriteZip((root / "pack.zip").string(),
                       {{"P/Struct.txt", ""}, {"P/Model.x", ""}, {"Q/Surface.txt", ""}, {"Q/Model.x", ""}}));
  ASSERT_TRUE(WriteZip((root / "empty.zip").string(), {{"notes.txt", ""}}));
  std::vector<GalleryEntry> entries = FindGalleryPlugins(root.string());
  std::vector<std::string> names;
  for (const GalleryEntry& entry : entries) names.push_back(entry.name);
  EXPECT_EQ(names, (std::vector<std::string>{"A", "NoModel", "bad.zip", "deep/models/car.x", "empty.zip",
                                             "pack.zip!/P", "pack.zip!/Q"}));
  ASSERT_EQ(entries.size(), 7u);
  EXPECT_EQ(entries[0].argument, (root / "A").string());
  EXPECT_EQ(entries[5].argument, (root / "pack.zip").string() + "!/P");
  EXPECT_NE(entries[2].failure.find("not a readable zip archive"), std::string::npos);
  EXPECT_NE(entries[4].failure.find("holds no plug-in"), std::string::npos);
  EXPECT_EQ(entries[1].failure, "");  // the loading tells why it cannot be shown
  EXPECT_NE(entries[5].id, entries[6].id);
  EXPECT_EQ(entries[5].fingerprint, entries[6].fingerprint);  // one archive

  // A file of the plug-in changed changes its fingerprint and no other.
  dir.Write("A/parts/Other.x", {'x', 'y'});
  std::vector<GalleryEntry> again = FindGalleryPlugins(root.string());
  EXPECT_NE(again[0].fingerprint, entries[0].fingerprint);
  for (size_t i = 1; i < entries.size(); ++i) EXPECT_EQ(again[i].fingerprint, entries[i].fingerprint) << names[i];
}

}  // namespace
