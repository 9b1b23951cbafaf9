// Compiled for AVX2; called only on processors that have it.
#include <immintrin.h>
#include <sleef.h>

#include "trig_kernels.h"

namespace tessarin::detail {

void TrigRowAvx2(TTrig trig, double r2base, double scale, int64_t n, double divisor,
                 double* out) {
  const __m256d pi = _mm256_set1_pd(3.141592653589793);
  const __m256d d = _mm256_set1_pd(divisor);
  const __m256d sc = _mm256_set1_pd(scale);
  const __m256d base = _mm256_set1_pd(r2base);
  const __m256d step = _mm256_set1_pd(4.0);
  __m256d a = _mm256_set_pd(3.0, 2.0, 1.0, 0.0);
  for (int64_t i = 0; i < n; i += 4) {
    const __m256d r2 = _mm256_add_pd(_mm256_mul_pd(_mm256_mul_pd(a, a), sc), base);
    const __m256d theta = _mm256_div_pd(_mm256_mul_pd(r2, pi), d);
    const __m256d v = trig == TTrig::Cos ? Sleef_cosd4_u10(theta) : Sleef_sind4_u10(theta);
    _mm256_storeu_pd(out + i, v);
    a = _mm256_add_pd(a, step);
  }
}

}  // namespace tessarin::detail
