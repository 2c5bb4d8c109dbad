// Loaded into the dravik program by the benchmark (LD_PRELOAD), never part of the program: when
// the main window has finished its first paint, writes the milliseconds since the moment in
// DRAVIK_PROBE_T0_NS (CLOCK_MONOTONIC, set by the benchmark just before it started the program)
// and the peak memory to the file DRAVIK_PROBE_OUT, and ends the process.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <time.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

double MillisecondsSinceStart() {
  const char* start = std::getenv("DRAVIK_PROBE_T0_NS");
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const double now_ns = static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
  return start == nullptr ? 0 : (now_ns - std::strtod(start, nullptr)) / 1e6;
}

long PeakKilobytes() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  long peak = 0;
  char line[256];
  while (status != nullptr && std::fgets(line, sizeof line, status) != nullptr) {
    if (std::strncmp(line, "VmHWM:", 6) == 0) {
      peak = std::strtol(line + 6, nullptr, 10);
    }
  }
  if (status != nullptr) {
    std::fclose(status);
  }
  return peak;
}

class FirstPaint : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      auto* widget = qobject_cast<QWidget*>(watched);
      if (widget != nullptr && widget->window()->inherits("dravik::MainWindow")) {
        seen_ = true;
        // The whole window is painted within this one event; the timer runs right after it.
        QTimer::singleShot(0, [] {
          const double ms = MillisecondsSinceStart();
          if (const char* out = std::getenv("DRAVIK_PROBE_OUT")) {
            if (std::FILE* file = std::fopen(out, "w")) {
              std::fprintf(file, "%.3f %ld\n", ms, PeakKilobytes());
              std::fclose(file);
            }
          }
          std::fflush(nullptr);
          _exit(0);
        });
      }
    }
    return false;
  }

 private:
  bool seen_ = false;
};

void InstallProbe() {
  QCoreApplication::instance()->installEventFilter(new FirstPaint(QCoreApplication::instance()));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
