#pragma once

#include <stdexcept>
#include <string>

namespace tessarin {

// Every failure of the synthesis library derives from std::runtime_error, so a caller that
// reports errors needs only one handler.

// The floating-point faults of a render: raised from explicit checks before the first pixel.
class EMathError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
class EZeroDivide : public EMathError {
 public:
  using EMathError::EMathError;
};
class EInvalidOp : public EMathError {
 public:
  using EMathError::EMathError;
};

// A bitmap that cannot exist: a negative side or storage that cannot be had.
class EBitmapError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file that could not be written; the message names the file and the system's reason.
class EFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tessarin
