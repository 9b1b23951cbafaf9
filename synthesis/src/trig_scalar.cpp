#include <cmath>

#include "trig_kernels.h"

namespace tessarin::detail {

void TrigRowScalar(TTrig trig, double r2base, double scale, int64_t n, double divisor,
                   double* out) {
  for (int64_t a = 0; a < n; ++a) {
    const double ad = static_cast<double>(a);
    const double theta = ZonePlatePhase(ad * ad * scale + r2base, divisor);
    out[a] = trig == TTrig::Cos ? std::cos(theta) : std::sin(theta);
  }
}

TTrigRowFn SelectTrigRow(TTrigIsa isa) {
  __builtin_cpu_init();
  const bool has512 = __builtin_cpu_supports("avx512f");
  const bool has2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  if ((isa == TTrigIsa::Auto || isa == TTrigIsa::Avx512) && has512) return TrigRowAvx512;
  if (isa != TTrigIsa::Scalar && has2) return TrigRowAvx2;
  return TrigRowScalar;
}

}  // namespace tessarin::detail
