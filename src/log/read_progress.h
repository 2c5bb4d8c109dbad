#pragma once

#include <chrono>

#include "log/read_options.h"

namespace dravik {

// Shares of the whole reading that its stages stand for, in progress reports: scanning the lines,
// then parsing them; the rest is the work over the samples read.
inline constexpr double kScanShare = 0.1;
inline constexpr double kParseShare = 0.7;

// Reports the reading's progress to the caller's callback, on the calling thread only, at most
// every 50 ms and never going back.
class Progress {
 public:
  explicit Progress(const ReadProgress& callback) : callback_(callback) {}

  // The first report, 0; later calls do nothing (a reading that starts again goes on from where
  // the reports stand).
  void Start();
  void Report(double fraction);

 private:
  const ReadProgress& callback_;
  bool started_ = false;
  std::chrono::steady_clock::time_point last_;
  double reported_ = 0;
};

}  // namespace dravik
