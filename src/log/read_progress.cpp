#include "log/read_progress.h"

#include <algorithm>

namespace dravik {

void Progress::Start() {
  if (callback_ && !started_) {
    started_ = true;
    last_ = std::chrono::steady_clock::now();
    callback_(0.0);
  }
}

void Progress::Report(double fraction) {
  if (!callback_) {
    return;
  }
  const auto now = std::chrono::steady_clock::now();
  if (now - last_ < std::chrono::milliseconds(50)) {
    return;
  }
  last_ = now;
  reported_ = std::max(reported_, std::min(fraction, 1.0));
  callback_(reported_);
}

}  // namespace dravik
