#include "shell/gallery_worker.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "base/debug_log.h"
#include "base/program_state.h"
#include "graphics/overlay_text.h"
#include "shell/shot.h"
#include "viewer/check_report.h"
#include "viewer/frame_routines.h"
#include "viewer/plugin_loading.h"

namespace {

constexpr int kPictureWidth = 640, kPictureHeight = 480;
constexpr int kThumbnailWidth = 256, kThumbnailHeight = 192;

void TakeReport(const LaunchProbe& probe, GalleryResult& result) {
  CheckReport report = GatherCheckReport(probe, CurrentPlugin());
  result.checked = true;
  result.kind = report.kind;
  result.name = report.name;
  result.author = report.author;
  result.counts = CountProblems(report);
  result.reportText = CheckReportText(report);
  result.reportJson = CheckReportJson(report);
  while (!result.reportJson.empty() && result.reportJson.back() == '\n') result.reportJson.pop_back();
}

// Day, with its thumbnail, then night.
bool WritePictures(const GalleryEntry& entry, const std::string& out, std::string& reason) {
  Program().nightMode = false;
  bool written = WriteFramePictures({{out + "/" + DayPictureFile(entry.id), kPictureWidth, kPictureHeight},
                                     {out + "/" + ThumbnailFile(entry.id), kThumbnailWidth, kThumbnailHeight}},
                                    reason);
  Program().nightMode = true;
  written = written && WriteFramePictures({{out + "/" + NightPictureFile(entry.id), kPictureWidth, kPictureHeight}},
                                          reason);
  Program().nightMode = false;
  return written;
}

GalleryRecord Draw(const GalleryEntry& entry, const std::string& out, bool deviceReady, const std::string& noDevice) {
  GalleryResult result;
  if (!deviceReady) {
    result.reason = noDevice;
  } else {
    // The probe looks in the current directory when the argument is no
    // directory; the last plug-in's must not answer for this one.
    if (chdir(out.c_str()) != 0) LogPrintf("gallery: cannot enter %s\n", out.c_str());
    LaunchProbe probe;
    bool drawable = LoadForPicture(entry.argument.c_str(), probe, result.reason);
    // A plug-in whose model failed is still reported, as -check reports it.
    if (CurrentPlugin().object) TakeReport(probe, result);
    result.shown = drawable && WritePictures(entry, out, result.reason);
    ViewerShutdown();
  }
  std::string error;
  if (!WritePluginPage(out, entry, result, error)) LogPrintf("gallery: %s\n", error.c_str());
  return MakeGalleryRecord(entry, result);
}

}  // namespace

bool WriteWhole(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t wrote = write(fd, text.data() + done, text.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<size_t>(wrote);
  }
  return true;
}

void RunGalleryWorker(const std::vector<GalleryEntry>& entries, const std::string& outputDirectory, int jobs,
                      int results) {
  InitDebugStream(false);
  SetOverlayTexts(OverlayTexts::kNone);
  WantOverlayFont(false);
  std::string noDevice;
  bool deviceReady = OpenPictureDevice(noDevice);
  FILE* input = fdopen(jobs, "r");
  char* line = nullptr;
  size_t capacity = 0;
  while (input && getline(&line, &capacity, input) > 0) {
    char* end = nullptr;
    unsigned long index = std::strtoul(line, &end, 10);
    if (end == line || index >= entries.size()) continue;
    GalleryRecord record = Draw(entries[index], outputDirectory, deviceReady, noDevice);
    if (!WriteWhole(results, std::to_string(index) + "\t" + StateLine(record) + "\n")) break;
  }
  std::free(line);
  if (input) std::fclose(input);
  if (deviceReady) ClosePictureDevice();
}
