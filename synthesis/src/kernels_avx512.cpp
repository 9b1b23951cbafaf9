// Compiled for AVX-512; called only on processors that have it.
#include <immintrin.h>
#include <sleef.h>

#include "kernels.h"

namespace tessarin::detail {

void TrigRowAvx512(TTrig trig, double r2base, double scale, int64_t first, int64_t n,
                   double divisor, double* out) {
  const __m512d pi = _mm512_set1_pd(3.141592653589793);
  const __m512d d = _mm512_set1_pd(divisor);
  const __m512d sc = _mm512_set1_pd(scale);
  const __m512d base = _mm512_set1_pd(r2base);
  const __m512d step = _mm512_set1_pd(8.0);
  const auto f = static_cast<double>(first);
  __m512d a = _mm512_set_pd(f + 7, f + 6, f + 5, f + 4, f + 3, f + 2, f + 1, f);
  for (int64_t i = 0; i < n; i += 8) {
    const __m512d r2 = _mm512_add_pd(_mm512_mul_pd(_mm512_mul_pd(a, a), sc), base);
    const __m512d theta = _mm512_div_pd(_mm512_mul_pd(r2, pi), d);
    const __m512d v = trig == TTrig::Cos ? Sleef_cosd8_u10(theta) : Sleef_sind8_u10(theta);
    _mm512_storeu_pd(out + i, v);
    a = _mm512_add_pd(a, step);
  }
}

}  // namespace tessarin::detail

namespace tessarin::detail {

void SineCodeRowAvx512(double r2base, double scale, int64_t first, int64_t n, double divisor,
                       double*, uint8_t* out) {
  const __m512d pi = _mm512_set1_pd(3.141592653589793);
  const __m512d d = _mm512_set1_pd(divisor);
  const __m512d sc = _mm512_set1_pd(scale);
  const __m512d base = _mm512_set1_pd(r2base);
  const __m512d one = _mm512_set1_pd(1.0);
  const __m512d step = _mm512_set1_pd(8.0);
  const auto f = static_cast<double>(first);
  __m512d a = _mm512_set_pd(f + 7, f + 6, f + 5, f + 4, f + 3, f + 2, f + 1, f);
  for (int64_t i = 0; i < n; i += 8) {
    const __m512d r2 = _mm512_add_pd(_mm512_mul_pd(_mm512_mul_pd(a, a), sc), base);
    const __m512d theta = _mm512_div_pd(_mm512_mul_pd(r2, pi), d);
    const __m512d shifted = _mm512_add_pd(Sleef_sind8_u10(theta), one);
    const __m128i codes = _mm512_cvtepi64_epi8(_mm512_cvttpd_epi64(shifted));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), codes);
    a = _mm512_add_pd(a, step);
  }
}

void DrawRowAvx512(uint64_t state, int64_t n, uint8_t* out) {
  // Four vectors of eight generators, each 32 steps apart: the 64-bit multiply is slow to
  // deliver its result, so independent chains keep it busy.
  constexpr int Chains = 4;
  alignas(64) uint64_t first[8 * Chains];
  for (int j = 0; j < 8 * Chains; ++j) first[j] = TRandomSource::StateAfter(state, j + 1);
  const uint64_t jumpC = TRandomSource::StateAfter(0, 8 * Chains);
  const uint64_t jumpA = TRandomSource::StateAfter(1, 8 * Chains) - jumpC;
  const __m512i a = _mm512_set1_epi64(static_cast<long long>(jumpA));
  const __m512i c = _mm512_set1_epi64(static_cast<long long>(jumpC));
  __m512i lanes[Chains];
  for (int k = 0; k < Chains; ++k) lanes[k] = _mm512_load_si512(first + 8 * k);
  for (int64_t x = 0; x < n; x += 8 * Chains) {
    for (int k = 0; k < Chains; ++k) {
      const __m128i bytes = _mm512_cvtepi64_epi8(_mm512_srli_epi64(lanes[k], 32));
      _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x + 8 * k), bytes);
      lanes[k] = _mm512_add_epi64(_mm512_mullo_epi64(lanes[k], a), c);
    }
  }
}

}  // namespace tessarin::detail
