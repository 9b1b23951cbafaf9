#pragma once

#include <cstdint>

#include "tessarin/renderer.h"

namespace tessarin::detail {

enum class TTrig { Cos, Sin };

// Writes out[a] = trig(ZonePlatePhase(a * a * scale + r2base, divisor)) for a = 0 .. n - 1.
// `out` must have room for n rounded up to a multiple of 8. a * a * scale + r2base is exact
// for the scales used (1 and 0.25), so each value matches the per-pixel rule.
using TTrigRowFn = void (*)(TTrig trig, double r2base, double scale, int64_t n, double divisor,
                            double* out);

void TrigRowScalar(TTrig, double, double, int64_t, double, double*);
void TrigRowAvx2(TTrig, double, double, int64_t, double, double*);
void TrigRowAvx512(TTrig, double, double, int64_t, double, double*);

// The row function for the requested vector unit, falling back to what the processor has.
TTrigRowFn SelectTrigRow(TTrigIsa isa);

}  // namespace tessarin::detail
