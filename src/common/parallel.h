#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace dravik {

// Threads to use for a request of `requested`: the request when positive, else one per hardware
// thread (at least 1).
int ThreadCount(int requested);

// Runs task(0), ..., task(count - 1) on up to `threads` threads, the calling thread among them,
// each thread taking the next task not yet taken. Between its tasks the calling thread calls
// report(tasks finished) when `report` is set. Where no further thread can be made, the threads
// there are do the work. The first exception of a task is rethrown once all threads stopped; the
// other tasks still run.
void RunTasks(int64_t count, int threads, const std::function<void(int64_t)>& task,
              const std::function<void(int64_t)>& report = {});

// Whether `count` more threads can run at once beside the calling one (a limit on the user's
// processes may leave fewer). They are started, wait until all are there, and end.
bool CanStartThreads(int count);

// Boundaries of the ranges that work over `samples` samples is shared out in: ranges of
// `range_samples` when positive, else ranges of at least 65,536 samples, up to four per thread.
// The first entry is 0, the last `samples`.
std::vector<int64_t> SampleRanges(int64_t samples, int threads, int64_t range_samples = 0);

}  // namespace dravik
