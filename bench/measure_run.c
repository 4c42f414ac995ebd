// One run of a program measured as a whole process, with nothing between the
// clock and the program but a fork: wall-clock milliseconds from fork to exit,
// peak RSS in KiB and CPU milliseconds (user and system, all threads), from
// wait4. The measurer is written in C and kept small, since a forked child's
// peak RSS starts at its parent's.
// Usage: bench_measure_run [-u NAME]... program [argument...]
//   prints "ms KiB cpu-ms"; exits 1, printing nothing, when the program fails.
//   -u NAME removes NAME from the program's environment.
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double Milliseconds(const struct timespec* t) { return t->tv_sec * 1e3 + t->tv_nsec / 1e6; }

int main(int argc, char** argv) {
  int first = 1;
  while (first + 1 < argc && strcmp(argv[first], "-u") == 0) {
    unsetenv(argv[first + 1]);
    first += 2;
  }
  if (first >= argc) {
    fprintf(stderr, "usage: bench_measure_run [-u NAME]... program [argument...]\n");
    return 2;
  }
  struct timespec start, end;
  clock_gettime(CLOCK_MONOTONIC, &start);
  pid_t child = fork();
  if (child == 0) {
    int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, 1);
    dup2(quiet, 2);
    execvp(argv[first], argv + first);
    _exit(127);
  }
  int status = 0;
  struct rusage usage;
  if (child < 0 || wait4(child, &status, 0, &usage) != child) return 1;
  clock_gettime(CLOCK_MONOTONIC, &end);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;
  double cpu = Milliseconds(&(struct timespec){usage.ru_utime.tv_sec, usage.ru_utime.tv_usec * 1000}) +
               Milliseconds(&(struct timespec){usage.ru_stime.tv_sec, usage.ru_stime.tv_usec * 1000});
  printf("%.1f %ld %.0f\n", Milliseconds(&end) - Milliseconds(&start), usage.ru_maxrss, cpu);
  return 0;
}
