// Compiled for AVX-512; called only on processors that have it.
#include <immintrin.h>
#include <sleef.h>

#include "trig_kernels.h"

namespace tessarin::detail {

void TrigRowAvx512(TTrig trig, double r2base, double scale, int64_t n, double divisor,
                   double* out) {
  const __m512d pi = _mm512_set1_pd(3.141592653589793);
  const __m512d d = _mm512_set1_pd(divisor);
  const __m512d sc = _mm512_set1_pd(scale);
  const __m512d base = _mm512_set1_pd(r2base);
  const __m512d step = _mm512_set1_pd(8.0);
  __m512d a = _mm512_set_pd(7.0, 6.0, 5.0, 4.0, 3.0, 2.0, 1.0, 0.0);
  for (int64_t i = 0; i < n; i += 8) {
    const __m512d r2 = _mm512_add_pd(_mm512_mul_pd(_mm512_mul_pd(a, a), sc), base);
    const __m512d theta = _mm512_div_pd(_mm512_mul_pd(r2, pi), d);
    const __m512d v = trig == TTrig::Cos ? Sleef_cosd8_u10(theta) : Sleef_sind8_u10(theta);
    _mm512_storeu_pd(out + i, v);
    a = _mm512_add_pd(a, step);
  }
}

}  // namespace tessarin::detail
