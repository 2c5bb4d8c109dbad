#include "common/parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <latch>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace dravik {

int ThreadCount(int requested) {
  if (requested > 0) {
    return requested;
  }
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

void RunTasks(int64_t count, int threads, const std::function<void(int64_t)>& task,
              const std::function<void(int64_t)>& report) {
  std::atomic<int64_t> next{0};
  std::atomic<int64_t> finished{0};
  std::exception_ptr failure;
  std::mutex failure_mutex;
  const auto work = [&](bool calling_thread) {
    for (int64_t i = next++; i < count; i = next++) {
      try {
        task(i);
      } catch (...) {
        const std::lock_guard<std::mutex> lock(failure_mutex);
        if (!failure) {
          failure = std::current_exception();
        }
      }
      const int64_t done = ++finished;
      if (calling_thread && report) {
        report(done);
      }
    }
  };
  std::vector<std::thread> helpers;
  const int64_t helper_count = std::min<int64_t>(threads, count) - 1;
  for (int64_t h = 0; h < helper_count; ++h) {
    try {
      helpers.emplace_back(work, false);
    } catch (const std::system_error&) {
      break;  // no more threads to be had: the threads there are do the work
    }
  }
  work(true);
  for (std::thread& helper : helpers) {
    helper.join();
  }
  if (failure) {
    std::rethrow_exception(failure);
  }
}

bool CanStartThreads(int count) {
  std::latch all_started(count);
  std::vector<std::thread> threads;
  try {
    while (static_cast<int>(threads.size()) < count) {
      threads.emplace_back([&all_started] { all_started.arrive_and_wait(); });
    }
  } catch (const std::system_error&) {
    all_started.count_down(count - static_cast<int>(threads.size()));
  }
  const bool can = static_cast<int>(threads.size()) == count;
  for (std::thread& thread : threads) {
    thread.join();
  }
  return can;
}

std::vector<int64_t> SampleRanges(int64_t samples, int threads, int64_t range_samples) {
  constexpr int64_t kMinRange = int64_t{1} << 16;
  const int64_t ranges =
      range_samples > 0
          ? std::max<int64_t>(1, (samples + range_samples - 1) / range_samples)
          : std::clamp<int64_t>(samples / kMinRange, 1, static_cast<int64_t>(threads) * 4);
  std::vector<int64_t> bounds(ranges + 1);
  for (int64_t r = 0; r <= ranges; ++r) {
    bounds[r] = samples * r / ranges;
  }
  return bounds;
}

}  // namespace dravik
