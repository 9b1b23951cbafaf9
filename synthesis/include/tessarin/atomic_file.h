#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace tessarin {

// Writes a file so that it appears whole or not at all: the bytes go to a temporary file
// beside the target, which replaces the target only in Commit(), once every byte is written
// and flushed to the disk. Destroyed without Commit(), it removes the temporary file and
// leaves any existing target untouched. Writes are gathered into large blocks.
class TAtomicFile {
 public:
  explicit TAtomicFile(std::string target);
  ~TAtomicFile();
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  void Write(const void* data, size_t size);
  // Writes the pieces in order, straight from where they lie, without copying them first.
  void WritePieces(const std::vector<std::pair<const void*, size_t>>& pieces);
  void Commit();

 private:
  [[noreturn]] void Fail(const std::string& what, int error) const;
  void Flush();
  void WriteOut(const unsigned char* data, size_t size);

  std::string Target_;
  std::string TempName_;
  int Fd_ = -1;
  std::vector<unsigned char> Buffer_;
  size_t Used_ = 0;
};

}  // namespace tessarin
