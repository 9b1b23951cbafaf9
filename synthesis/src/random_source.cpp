#include "tessarin/random_source.h"

namespace tessarin {

uint64_t TRandomSource::StateAfter(uint64_t state, uint64_t steps) {
  // Composes the affine map s -> a*s + c with itself by repeated squaring.
  uint64_t a = Multiplier;
  uint64_t c = Increment;
  uint64_t accA = 1;
  uint64_t accC = 0;
  while (steps != 0) {
    if (steps & 1) {
      accA = accA * a;
      accC = accC * a + c;
    }
    c = c * a + c;
    a = a * a;
    steps >>= 1;
  }
  return accA * state + accC;
}

TRandomSource& TheRandomSource() {
  static TRandomSource source;
  return source;
}

}  // namespace tessarin
