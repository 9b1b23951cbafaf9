#pragma once

// Simulates a full disk: while it lives, writing a file past `bytes` fails with EFBIG
// instead of ending the process.
#include <sys/resource.h>

#include <csignal>

class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &Saved_);
    PreviousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = Saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &Saved_);
    std::signal(SIGXFSZ, PreviousHandler_);
  }
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

 private:
  rlimit Saved_{};
  void (*PreviousHandler_)(int) = nullptr;
};
