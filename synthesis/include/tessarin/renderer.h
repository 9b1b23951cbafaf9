#pragma once

#include <cstdint>
#include <functional>

#include "tessarin/indexed_bitmap.h"
#include "tessarin/random_source.h"
#include "tessarin/settings.h"

namespace tessarin {

// Receives the percentage of rows done, y * 100 / Size, for every row y that is a multiple
// of 8, in order, on the thread that called RenderZonePlate.
using TProgressHook = std::function<void(int32_t)>;

// Which vector unit evaluates the sines and cosines. Auto takes the widest the processor
// has; a wider choice than it has falls back to the widest it has.
enum class TTrigIsa { Auto, Scalar, Avx2, Avx512 };

struct TRenderOptions {
  int Threads = 0;  // 0: one per processor core
  TTrigIsa Isa = TTrigIsa::Auto;
};

// Renders the zone plate of `settings` into `bitmap`, which must be Size x Size, pf8bit for
// the greyscale rendering and pf1bit for the others, with its palette set. The random formats
// take one draw of `random` per pixel in raster order, whatever the number of threads.
//
// Raises EZeroDivide for a cycle period of 0, EInvalidOp when the phase of the first pixel is
// not a number or 2^53 or more in magnitude; then OnProgress has had 0, row 0's significant
// bytes are 0 in pf1bit, and no draw was taken. A bitmap that does not fit the settings
// raises EBitmapError before anything is written.
void RenderZonePlate(const TZonePlateSettings& settings, TIndexedBitmap& bitmap,
                     const TProgressHook& OnProgress, TRandomSource& random,
                     const TRenderOptions& options = {});

// The same, drawing from the run's single generator.
void RenderZonePlate(const TZonePlateSettings& settings, TIndexedBitmap& bitmap,
                     const TProgressHook& OnProgress, const TRenderOptions& options = {});

// The phase of the sample at squared distance r2 from the centre, for a divisor of
// (Size * CyclePeriod) * 0.5, exactly as every pixel of the picture forms it.
inline double ZonePlatePhase(double r2, double divisor) {
  constexpr double Pi = 3.141592653589793;
  return (r2 * Pi) / divisor;
}

}  // namespace tessarin
