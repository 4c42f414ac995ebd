#include "shell/gallery.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "shell/gallery_pool.h"
#include "shell/gallery_site.h"
#include "viewer/problem_lines.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A kept record is good while its plug-in's files and its own files are as they were.
bool CanKeep(const std::map<std::string, GalleryRecord>& state, const GalleryEntry& entry, const fs::path& out) {
  auto found = state.find(entry.id);
  if (found == state.end() || found->second.fingerprint != entry.fingerprint) return false;
  std::error_code error;
  bool pictures = !found->second.shown || fs::exists(out / ThumbnailFile(entry.id), error);
  return pictures && fs::exists(out / PageFile(entry.id), error);
}

// "count/total, rate, time left" over itself, on a terminal only.
class Progress {
 public:
  explicit Progress(size_t total) : total_(total), shown_(isatty(STDERR_FILENO)) {}
  void Step() {
    ++done_;
    if (!shown_) return;
    double seconds = SecondsSince(start_);
    double rate = seconds > 0 ? done_ / seconds : 0;
    int left = rate > 0 ? static_cast<int>((total_ - done_) / rate + 0.5) : 0;
    std::fprintf(stderr, "\r\033[Kgallery: %zu/%zu plug-ins, %.1f/s, %d:%02d left", done_, total_, rate, left / 60,
                 left % 60);
    std::fflush(stderr);
  }
  ~Progress() {
    if (shown_ && done_) std::fputs("\r\033[K", stderr);
  }

 private:
  size_t total_, done_ = 0;
  bool shown_;
  Clock::time_point start_ = Clock::now();
};

// The record and page of a plug-in that cannot be shown, for the reason.
GalleryRecord FailedRecord(const fs::path& out, const GalleryEntry& entry, std::string reason) {
  GalleryResult result;
  result.reason = std::move(reason);
  std::string error;
  if (!WritePluginPage(out.string(), entry, result, error)) PrintProgramLine("-gallery: " + error);
  return MakeGalleryRecord(entry, result);
}

int Workers(int asked) {
  if (asked > 0) return asked;
  long cores = sysconf(_SC_NPROCESSORS_ONLN);
  return cores > 0 ? static_cast<int>(cores) : 1;
}

}  // namespace

int RunGallery(const ProgramOptions& options) {
  Clock::time_point start = Clock::now();
  std::error_code error;
  if (!fs::is_directory(options.galleryFolder, error)) {
    PrintProgramLine("-gallery: " + options.galleryFolder + ": not a folder");
    return 1;
  }
  fs::path out = fs::absolute(options.galleryOutput, error);
  for (const char* folder : {"p", "pictures"}) fs::create_directories(out / folder, error);
  if (error) {
    PrintProgramLine("-gallery: " + out.string() + ": " + error.message());
    return 1;
  }

  std::vector<GalleryEntry> entries = FindGalleryPlugins(options.galleryFolder);
  std::map<std::string, GalleryRecord> state = ReadGalleryState(out.string());
  std::vector<GalleryRecord> records(entries.size());
  std::vector<size_t> jobs;
  size_t kept = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (CanKeep(state, entries[i], out)) {
      records[i] = std::move(state[entries[i].id]);
      ++kept;
    } else if (!entries[i].failure.empty()) {
      records[i] = FailedRecord(out, entries[i], entries[i].failure);
    } else {
      jobs.push_back(i);
    }
  }

  Progress progress(jobs.size());
  RunGalleryPool(entries, jobs, out.string(), Workers(options.jobs),
                 [&](size_t index, const std::string& line, const std::string& failure) {
                   progress.Step();
                   if (!line.empty() && ParseStateLine(line, records[index])) return;
                   records[index] = FailedRecord(
                       out, entries[index], failure.empty() ? "the worker's answer cannot be read" : failure);
                 });

  std::string siteError;
  std::string title = fs::weakly_canonical(fs::absolute(options.galleryFolder, error), error).filename().string();
  if (!WriteGallerySite(out.string(), title, records, siteError)) {
    PrintProgramLine("-gallery: " + siteError);
    return 1;
  }
  size_t shown = 0, problems = 0;
  for (const GalleryRecord& record : records) {
    shown += record.shown;
    problems += record.problems;
  }
  std::printf("gallery: %zu plug-ins, %zu shown, %zu with problems, %zu failed, %.1f s (%zu new or changed, %zu unchanged): %s\n",
              records.size(), shown, problems, records.size() - shown, SecondsSince(start),
              records.size() - kept, kept, (out / "index.html").c_str());
  return 0;
}
