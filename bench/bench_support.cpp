#include "bench_support.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "log_generator.h"

extern char** environ;

namespace dravik::bench {

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

long PeakKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) {
      return std::strtol(line.c_str() + 6, nullptr, 10);
    }
  }
  return 0;
}

double Median(std::vector<double> values) {
  if (values.empty()) {
    return 0;
  }
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Run(const std::vector<std::string>& argv, const std::vector<std::string>& extra_env,
        int timeout_s, const std::string& stdout_path) {
  std::vector<char*> args;
  for (const std::string& a : argv) {
    args.push_back(const_cast<char*>(a.c_str()));
  }
  args.push_back(nullptr);
  std::vector<std::string> env_store(extra_env);
  for (char** e = environ; *e != nullptr; ++e) {
    env_store.emplace_back(*e);
  }
  std::vector<char*> env;
  for (std::string& e : env_store) {
    env.push_back(e.data());
  }
  env.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!stdout_path.empty()) {
    posix_spawn_file_actions_addopen(&actions, 1, stdout_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
  }
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) {
    return -1;
  }
  const Clock::time_point start = Clock::now();
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (MsSince(start) > timeout_s * 1000.0) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    usleep(2000);
  }
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string TempPath(const Options& options, const std::string& name) {
  return (std::filesystem::path(options.dir) / name).string();
}

std::optional<std::string> EnsureLog(const Options& options, int64_t rows, int items) {
  const std::string generator = options.gen_log.empty() ? "builtin" : "genlog";
  const std::string path = TempPath(options, "log_" + std::to_string(rows) + "x" +
                                                 std::to_string(items) + "_" + generator + ".csv");
  if (std::filesystem::exists(path)) {
    return path;
  }
  std::printf("  writing %s ...\n", path.c_str());
  std::fflush(stdout);
  const std::string partial = path + ".partial";
  bool written = false;
  if (options.gen_log.empty()) {
    written = WriteGeneratedLog(partial, rows, items);
  } else {
    written = Run({"/usr/bin/env", "python3", options.gen_log, "--rows", std::to_string(rows),
                   "--items", std::to_string(items), "--out", partial},
                  {}, 3600) == 0;
  }
  if (!written) {
    std::printf("  cannot write %s\n", partial.c_str());
    return std::nullopt;
  }
  std::filesystem::rename(partial, path);
  return path;
}

ChartView ViewAt(int magnification, int64_t position, int64_t last_sample) {
  ChartView view;
  ChangeMagnification(view, kMagnifications[0], last_sample);
  ChangeMagnification(view, magnification, last_sample);
  view.scroll_position = std::clamp<int64_t>(position, 0, view.scroll_maximum);
  return view;
}

#if defined(DRAVIK_BENCH_QT)
std::unique_ptr<QGuiApplication> StartGuiApplication() {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  static int argc = 1;
  static char name[] = "dravik_bench";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}
#endif

}  // namespace dravik::bench
