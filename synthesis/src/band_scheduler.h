#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "tessarin/renderer.h"

namespace tessarin::detail {

// Delivers a render's progress reports, y * 100 / size for y = 0, 8, 16 ..., on the calling
// thread, each once the matching share of the work is done. Workers only count work.
class TProgress {
 public:
  // Row 0's report is the caller's: it goes out before the render checks its input.
  TProgress(const TProgressHook& hook, int64_t size, int64_t totalWork)
      : Hook_(hook), Size_(size), Total_(totalWork) {}
  int64_t TasksDone() {
    std::lock_guard lock(Mutex_);
    return TasksDone_;
  }
  // A finished task and the work it did; any thread.
  void Add(int64_t work);
  // Calling thread only: sends the reports that are due, then, until `tasks` tasks have
  // finished, waits for workers and sends what they make due.
  void Deliver(int64_t tasks = 0);

 private:
  bool Due() const { return NextRow_ < Size_ && NextRow_ * Total_ <= Done_ * Size_; }

  const TProgressHook& Hook_;
  const int64_t Size_;
  const int64_t Total_;
  std::mutex Mutex_;
  std::condition_variable Changed_;
  int64_t Done_ = 0;
  int64_t TasksDone_ = 0;
  int64_t NextRow_ = 8;
};

// Runs tasks 0 .. count - 1, each once, on `threads` threads of which the caller is one,
// roughly in order, and returns when all are done. task(index, thread) returns the work it
// did, for the progress reports. `progress` must be fresh or have seen only earlier runs.
void RunTasks(int64_t count, int threads, TProgress& progress,
              const std::function<int64_t(int64_t task, int thread)>& task);

// The threads a render uses: the requested count, or one per core, at most one per task.
int ThreadCount(int requested, int64_t tasks);

}  // namespace tessarin::detail
