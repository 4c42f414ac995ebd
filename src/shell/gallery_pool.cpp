#include "shell/gallery_pool.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <deque>

#include "shell/gallery_worker.h"

namespace {

constexpr size_t kNoJob = static_cast<size_t>(-1);

struct Worker {
  pid_t pid = -1;
  int jobs = -1;     // we write job numbers here
  int results = -1;  // and read answers here
  std::string pending;  // an answer read in part
  size_t job = kNoJob;  // the job it is drawing
};

std::string HowItEnded(int status) {
  if (WIFSIGNALED(status)) return "the worker process was ended by signal " + std::to_string(WTERMSIG(status));
  return "the worker process ended with status " + std::to_string(WEXITSTATUS(status)) + " without an answer";
}

class Pool {
 public:
  Pool(const std::vector<GalleryEntry>& entries, const std::vector<size_t>& jobs, const std::string& out,
       const GalleryAnswer& answer)
      : entries_(entries), queue_(jobs.begin(), jobs.end()), out_(out), answer_(answer) {}

  void Run(int count) {
    for (int i = 0; i < count && !queue_.empty(); ++i) Start();
    while (!workers_.empty()) Wait();
    Refuse("no worker process is left");
  }

 private:
  void Start() {
    int jobs[2], results[2];
    if (pipe2(jobs, O_CLOEXEC) != 0) return Refuse("no pipe for a worker");
    if (pipe2(results, O_CLOEXEC) != 0) {
      close(jobs[0]);
      close(jobs[1]);
      return Refuse("no pipe for a worker");
    }
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
      // The other workers' pipes stay with the parent, so that each sees its own end.
      for (const Worker& other : workers_) {
        close(other.jobs);
        close(other.results);
      }
      close(jobs[1]);
      close(results[0]);
      RunGalleryWorker(entries_, out_, jobs[0], results[1]);
      _exit(0);
    }
    close(jobs[0]);
    close(results[1]);
    if (pid < 0) {
      close(jobs[1]);
      close(results[0]);
      return Refuse("no worker process can be started");
    }
    workers_.push_back(Worker{pid, jobs[1], results[0], "", kNoJob});
    Give(workers_.back());
  }

  // Without a worker the jobs left are answered as failed, so the run ends.
  void Refuse(const std::string& reason) {
    if (!workers_.empty()) return;
    while (!queue_.empty()) {
      answer_(queue_.front(), "", reason);
      queue_.pop_front();
    }
  }

  void Give(Worker& worker) {
    if (queue_.empty()) {
      close(worker.jobs);
      worker.jobs = -1;
      return;
    }
    worker.job = queue_.front();
    queue_.pop_front();
    if (!WriteWhole(worker.jobs, std::to_string(worker.job) + "\n")) {
      close(worker.jobs);  // its answer, or its end, follows
      worker.jobs = -1;
    }
  }

  void Wait() {
    std::vector<pollfd> fds;
    for (const Worker& worker : workers_) fds.push_back(pollfd{worker.results, POLLIN, 0});
    if (poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) return;
    for (size_t i = workers_.size(); i-- > 0;)
      if (fds[i].revents) Read(i);
  }

  void Read(size_t i) {
    Worker& worker = workers_[i];
    char buffer[65536];
    ssize_t got = read(worker.results, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) return;
    if (got <= 0) return End(i);
    worker.pending.append(buffer, static_cast<size_t>(got));
    for (size_t newline; (newline = worker.pending.find('\n')) != std::string::npos;) {
      std::string line = worker.pending.substr(0, newline);
      worker.pending.erase(0, newline + 1);
      size_t tab = line.find('\t');
      if (worker.job == kNoJob || tab == std::string::npos) continue;
      size_t job = worker.job;
      worker.job = kNoJob;
      answer_(job, line.substr(tab + 1), "");
      Give(worker);
    }
  }

  void End(size_t i) {
    Worker worker = workers_[i];
    workers_.erase(workers_.begin() + static_cast<ptrdiff_t>(i));
    if (worker.jobs >= 0) close(worker.jobs);
    close(worker.results);
    int status = 0;
    while (waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (worker.job == kNoJob) return;
    answer_(worker.job, "", HowItEnded(status));
    if (!queue_.empty()) Start();
  }

  const std::vector<GalleryEntry>& entries_;
  std::deque<size_t> queue_;
  const std::string& out_;
  const GalleryAnswer& answer_;
  std::vector<Worker> workers_;
};

}  // namespace

void RunGalleryPool(const std::vector<GalleryEntry>& entries, const std::vector<size_t>& jobs,
                    const std::string& outputDirectory, int workers, const GalleryAnswer& answer) {
  Pool(entries, jobs, outputDirectory, answer).Run(std::max(1, workers));
}
