#include "band_scheduler.h"

#include <algorithm>
#include <atomic>

namespace tessarin::detail {

void TProgress::Add(int64_t work) {
  {
    std::lock_guard lock(Mutex_);
    Done_ += work;
    ++TasksDone_;
  }
  Changed_.notify_one();
}

void TProgress::Deliver(int64_t tasks) {
  std::unique_lock lock(Mutex_);
  for (;;) {
    while (Due()) {
      const auto percent = static_cast<int32_t>(NextRow_ * 100 / Size_);
      NextRow_ += 8;
      if (Hook_) {
        lock.unlock();
        Hook_(percent);
        lock.lock();
      }
    }
    if (TasksDone_ >= tasks) return;
    Changed_.wait(lock);
  }
}

int ThreadCount(int requested, int64_t tasks) {
  const int64_t wanted =
      requested > 0 ? requested : std::max(1u, std::thread::hardware_concurrency());
  return static_cast<int>(std::clamp<int64_t>(wanted, 1, std::max<int64_t>(tasks, 1)));
}

void RunTasks(int64_t count, int threads, TProgress& progress,
              const std::function<int64_t(int64_t, int)>& task) {
  std::atomic<int64_t> next{0};
  auto work = [&](int thread, bool caller) {
    for (int64_t i = next.fetch_add(1); i < count; i = next.fetch_add(1)) {
      progress.Add(task(i, thread));
      if (caller) progress.Deliver();
    }
  };
  const int64_t before = progress.TasksDone();
  std::vector<std::jthread> workers;
  for (int t = 1; t < threads; ++t) workers.emplace_back(work, t, false);
  work(0, true);
  progress.Deliver(before + count);
}

}  // namespace tessarin::detail
