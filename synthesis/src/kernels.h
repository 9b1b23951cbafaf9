#pragma once

// The renderer's inner loops, built once for each vector unit and chosen at run time.
#include <cstdint>

#include "tessarin/renderer.h"

namespace tessarin::detail {

enum class TTrig { Cos, Sin };

// Writes out[i] = trig(ZonePlatePhase(a * a * scale + r2base, divisor)) for a = first + i,
// i = 0 .. n - 1. `out` must have room for n rounded up to a multiple of 8. a * a * scale +
// r2base is exact for the scales used (1 and 0.25), so each value matches the per-pixel rule.
using TTrigRowFn = void (*)(TTrig trig, double r2base, double scale, int64_t first, int64_t n,
                            double divisor, double* out);

// Writes out[x] = bits 32 to 39 of the generator state after x + 1 steps from `state`, for
// x = 0 .. n - 1: the low byte of each draw. `out` must have room for n rounded up to 32.
using TDrawRowFn = void (*)(uint64_t state, int64_t n, uint8_t* out);

// Writes out[i] = trunc(sin(phase) + 1) for the same samples as TTrigRowFn: 0 where the sine
// is negative, 1 where it is at least 0 and below 1, 2 where it is 1. `out` must have room
// for n rounded up to a multiple of 8; `scratch` is room for as many doubles.
using TSineCodeRowFn = void (*)(double r2base, double scale, int64_t first, int64_t n,
                                double divisor, double* scratch, uint8_t* out);

// Writes out[i] = source[n - 1 - i] for i = 0 .. n - 1; the two ranges do not overlap.
using TReverseCopyFn = void (*)(const uint8_t* source, int64_t n, uint8_t* out);

struct TKernels {
  TTrigRowFn TrigRow;
  TDrawRowFn DrawRow;
  TReverseCopyFn ReverseCopy;
  TSineCodeRowFn SineCodeRow;
};

// The kernels for the requested vector unit, falling back to what the processor has.
TKernels SelectKernels(TTrigIsa isa);

void TrigRowScalar(TTrig, double, double, int64_t, int64_t, double, double*);
void TrigRowAvx2(TTrig, double, double, int64_t, int64_t, double, double*);
void TrigRowAvx512(TTrig, double, double, int64_t, int64_t, double, double*);
void DrawRowScalar(uint64_t, int64_t, uint8_t*);
void DrawRowAvx512(uint64_t, int64_t, uint8_t*);
void SineCodeRowAvx512(double, double, int64_t, int64_t, double, double*, uint8_t*);
void SineCodeRowScalar(double, double, int64_t, int64_t, double, double*, uint8_t*);
void SineCodeRowAvx2(double, double, int64_t, int64_t, double, double*, uint8_t*);
void ReverseCopyScalar(const uint8_t*, int64_t, uint8_t*);
void ReverseCopyAvx2(const uint8_t*, int64_t, uint8_t*);

}  // namespace tessarin::detail
