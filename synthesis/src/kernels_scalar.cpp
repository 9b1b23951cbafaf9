#include <cmath>

#include "kernels.h"

namespace tessarin::detail {

void TrigRowScalar(TTrig trig, double r2base, double scale, int64_t first, int64_t n,
                   double divisor, double* out) {
  for (int64_t i = 0; i < n; ++i) {
    const auto a = static_cast<double>(first + i);
    const double theta = ZonePlatePhase(a * a * scale + r2base, divisor);
    out[i] = trig == TTrig::Cos ? std::cos(theta) : std::sin(theta);
  }
}

void DrawRowScalar(uint64_t state, int64_t n, uint8_t* out) {
  // Eight interleaved generators, each eight steps apart, keep the multiplier busy.
  constexpr int Lanes = 8;
  uint64_t lane[Lanes];
  for (int j = 0; j < Lanes; ++j) lane[j] = TRandomSource::StateAfter(state, j + 1);
  const uint64_t jumpC = TRandomSource::StateAfter(0, Lanes);
  const uint64_t jumpA = TRandomSource::StateAfter(1, Lanes) - jumpC;
  for (int64_t x = 0; x < n; x += Lanes) {
    for (int j = 0; j < Lanes; ++j) {
      out[x + j] = static_cast<uint8_t>(lane[j] >> 32);
      lane[j] = lane[j] * jumpA + jumpC;
    }
  }
}

void ReverseCopyScalar(const uint8_t* source, int64_t n, uint8_t* out) {
  for (int64_t i = 0; i < n; ++i) out[i] = source[n - 1 - i];
}

// Codes from the sines of any row function.
template <TTrigRowFn Trig>
void SineCodes(double r2base, double scale, int64_t first, int64_t n, double divisor,
               double* scratch, uint8_t* out) {
  Trig(TTrig::Sin, r2base, scale, first, n, divisor, scratch);
  for (int64_t i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(scratch[i] + 1);
}

void SineCodeRowScalar(double r2base, double scale, int64_t first, int64_t n, double divisor,
                       double* scratch, uint8_t* out) {
  SineCodes<TrigRowScalar>(r2base, scale, first, n, divisor, scratch, out);
}

void SineCodeRowAvx2(double r2base, double scale, int64_t first, int64_t n, double divisor,
                     double* scratch, uint8_t* out) {
  SineCodes<TrigRowAvx2>(r2base, scale, first, n, divisor, scratch, out);
}

TKernels SelectKernels(TTrigIsa isa) {
  __builtin_cpu_init();
  const bool has512 = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq");
  const bool has2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  if ((isa == TTrigIsa::Auto || isa == TTrigIsa::Avx512) && has512) {
    return {TrigRowAvx512, DrawRowAvx512, ReverseCopyAvx2, SineCodeRowAvx512};
  }
  if (isa != TTrigIsa::Scalar && has2) {
    return {TrigRowAvx2, DrawRowScalar, ReverseCopyAvx2, SineCodeRowAvx2};
  }
  return {TrigRowScalar, DrawRowScalar, ReverseCopyScalar, SineCodeRowScalar};
}

}  // namespace tessarin::detail
