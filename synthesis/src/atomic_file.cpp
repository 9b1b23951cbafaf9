#include "tessarin/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "tessarin/errors.h"

namespace tessarin {
namespace {

constexpr size_t BufferSize = size_t{1} << 22;

// The mode a new file would get, or the existing target's, so replacing a file keeps it.
mode_t ModeFor(const std::string& target) {
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0) return existing.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

TAtomicFile::TAtomicFile(std::string target) : Target_(std::move(target)) {
  if (Target_.empty()) Fail("cannot be created", ENOENT);
  TempName_ = Target_ + ".XXXXXX";
  Fd_ = ::mkstemp(TempName_.data());
  if (Fd_ < 0) {
    const int error = errno;
    TempName_.clear();
    Fail("cannot be created", error);
  }
  ::fchmod(Fd_, ModeFor(Target_));
  Buffer_.resize(BufferSize);
}

TAtomicFile::~TAtomicFile() {
  if (Fd_ >= 0) ::close(Fd_);
  if (!TempName_.empty()) ::unlink(TempName_.c_str());
}

void TAtomicFile::Fail(const std::string& what, int error) const {
  throw EFileError("The file \"" + Target_ + "\" " + what + ": " + std::strerror(error));
}

void TAtomicFile::Write(const void* data, size_t size) {
  auto bytes = static_cast<const unsigned char*>(data);
  if (Used_ + size > Buffer_.size()) {
    Flush();
    if (size >= Buffer_.size()) {
      WriteOut(bytes, size);
      return;
    }
  }
  std::memcpy(Buffer_.data() + Used_, bytes, size);
  Used_ += size;
}

void TAtomicFile::WritePieces(const std::vector<std::pair<const void*, size_t>>& pieces) {
  Flush();
  std::vector<iovec> batch;
  for (size_t next = 0; next < pieces.size();) {
    batch.clear();
    for (; next < pieces.size() && batch.size() < IOV_MAX; ++next) {
      batch.push_back({const_cast<void*>(pieces[next].first), pieces[next].second});
    }
    // writev may stop early; resume inside the piece it stopped in.
    for (size_t first = 0; first < batch.size();) {
      const ssize_t written =
          ::writev(Fd_, batch.data() + first, static_cast<int>(batch.size() - first));
      if (written < 0) {
        if (errno == EINTR) continue;
        Fail("cannot be written", errno);
      }
      auto left = static_cast<size_t>(written);
      while (first < batch.size() && left >= batch[first].iov_len) left -= batch[first++].iov_len;
      if (first < batch.size()) {
        batch[first].iov_base = static_cast<char*>(batch[first].iov_base) + left;
        batch[first].iov_len -= left;
      }
    }
  }
}

void TAtomicFile::Flush() {
  WriteOut(Buffer_.data(), Used_);
  Used_ = 0;
}

void TAtomicFile::WriteOut(const unsigned char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(Fd_, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail("cannot be written", errno);
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
}

void TAtomicFile::Commit() {
  Flush();
  if (::fsync(Fd_) != 0) Fail("cannot be written", errno);
  const int fd = Fd_;
  Fd_ = -1;
  if (::close(fd) != 0) Fail("cannot be written", errno);
  if (::rename(TempName_.c_str(), Target_.c_str()) != 0) Fail("cannot be replaced", errno);
  TempName_.clear();
}

}  // namespace tessarin
