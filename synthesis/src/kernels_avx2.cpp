// Compiled for AVX2; called only on processors that have it.
#include <immintrin.h>
#include <sleef.h>

#include "kernels.h"

namespace tessarin::detail {

void TrigRowAvx2(TTrig trig, double r2base, double scale, int64_t first, int64_t n, double divisor,
                 double* out) {
  const __m256d pi = _mm256_set1_pd(3.141592653589793);
  const __m256d d = _mm256_set1_pd(divisor);
  const __m256d sc = _mm256_set1_pd(scale);
  const __m256d base = _mm256_set1_pd(r2base);
  const __m256d step = _mm256_set1_pd(4.0);
  const auto f = static_cast<double>(first);
  __m256d a = _mm256_set_pd(f + 3, f + 2, f + 1, f);
  for (int64_t i = 0; i < n; i += 4) {
    const __m256d r2 = _mm256_add_pd(_mm256_mul_pd(_mm256_mul_pd(a, a), sc), base);
    const __m256d theta = _mm256_div_pd(_mm256_mul_pd(r2, pi), d);
    const __m256d v = trig == TTrig::Cos ? Sleef_cosd4_u10(theta) : Sleef_sind4_u10(theta);
    _mm256_storeu_pd(out + i, v);
    a = _mm256_add_pd(a, step);
  }
}

}  // namespace tessarin::detail

namespace tessarin::detail {

void ReverseCopyAvx2(const uint8_t* source, int64_t n, uint8_t* out) {
  const __m256i reverse = _mm256_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 15,
                                           14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
  int64_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + n - 32 - i));
    const __m256i inLanes = _mm256_shuffle_epi8(v, reverse);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                        _mm256_permute2x128_si256(inLanes, inLanes, 1));
  }
  for (; i < n; ++i) out[i] = source[n - 1 - i];
}

}  // namespace tessarin::detail
