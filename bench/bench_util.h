// Small helpers shared by the benchmarks: a wall clock, running a piece of
// work in a child process to measure its peak memory, running a program,
// and the report line.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

extern char** environ;

namespace ulk::bench {

inline double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs `work` in a forked child; returns its peak resident memory in bytes
// and the seconds `work` reports (the part of it that is measured), passed
// back through a pipe.
struct ChildRun {
  double seconds = 0;
  double peakBytes = 0;
};

inline ChildRun RunInChild(const std::function<double()>& work) {
  int fds[2];
  if (::pipe(fds) != 0) std::abort();
  std::fflush(stdout);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    const double seconds = work();
    std::fflush(stdout);
    if (::write(fds[1], &seconds, sizeof seconds) != sizeof seconds) std::_Exit(1);
    std::_Exit(0);
  }
  ::close(fds[1]);
  ChildRun run;
  if (::read(fds[0], &run.seconds, sizeof run.seconds) != sizeof run.seconds) run.seconds = -1;
  ::close(fds[0]);
  int status = 0;
  struct rusage usage {};
  ::wait4(pid, &status, 0, &usage);
  run.peakBytes = static_cast<double>(usage.ru_maxrss) * 1024.0;
  return run;
}

// The resident memory of this process now, and its peak since the last
// ResetPeakMemory, in bytes (from /proc/self/status).
inline double MemoryField(const char* field) {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return 0;
  char line[256];
  double kilobytes = 0;
  const std::size_t length = std::strlen(field);
  while (std::fgets(line, sizeof line, status)) {
    if (std::strncmp(line, field, length) == 0) kilobytes = std::atof(line + length + 1);
  }
  std::fclose(status);
  return kilobytes * 1024.0;
}
inline double ResidentMemory() {
  return MemoryField("VmRSS");
}
inline double PeakMemory() {
  return MemoryField("VmHWM");
}
inline void ResetPeakMemory() {
  if (std::FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", refs);
    std::fclose(refs);
  }
}

// The processor time (user and system) this process has taken so far.
inline double ProcessorSeconds() {
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// A program run to its end: wall time, and processor time (user and
// system), steadier on a busy machine.
struct ProcessTime {
  double wall = 0;
  double cpu = 0;
};

// Runs `args` (the program's path first) with its output sent to
// /dev/null, or to `output` (a pipe's end) when that is not -1. Aborts when
// it fails.
inline ProcessTime RunProcess(const std::vector<std::string>& args, int output = -1) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (output >= 0) {
    posix_spawn_file_actions_adddup2(&actions, output, 1);
  } else {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  }
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  int status = 0;
  struct rusage usage {};
  ProcessTime time;
  time.wall = Seconds([&] {
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) std::abort();
    ::wait4(pid, &status, 0, &usage);
  });
  posix_spawn_file_actions_destroy(&actions);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "failed: %s\n", args[0].c_str());
    std::abort();
  }
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  time.cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  return time;
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

inline void Report(const char* what, double value, const char* unit, double baseline,
                   const char* baselineName, const char* target) {
  std::printf("%-44s %10.3f %-3s  baseline (%s) %10.3f  ratio %6.2f  target: %s\n", what, value,
              unit, baselineName, baseline, baseline > 0 ? value / baseline : 0.0, target);
}

}  // namespace ulk::bench
