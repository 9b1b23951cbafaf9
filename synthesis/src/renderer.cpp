// The zone plate renderer.
//
// A sample's value depends only on its squared distance from the centre pixel (c, c), and
// (x - c)^2 + (y - c)^2 is the same for x and 2c - x, for y and 2c - y, and with x and y
// swapped. The renderer evaluates each distinct distance once and copies the bit-identical
// value to its mirror images, so it takes the same pixels as a plain per-pixel loop while
// computing a fraction of the sines and cosines. Rows are spread over worker threads; the
// random formats jump the generator to each row's first pixel, so every pixel takes the
// same draw as in a plain raster-order loop, whatever the number of threads.
#include "tessarin/renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "band_scheduler.h"
#include "kernels.h"
#include "tessarin/errors.h"

namespace tessarin {
namespace {

using detail::TTrig;

constexpr double MaxUsablePhase = 9007199254740992.0;  // 2^53

std::string Describe(double value, const char* format) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

double Divisor(const TZonePlateSettings& settings) {
  return (static_cast<double>(settings.Size) * static_cast<double>(settings.CyclePeriod)) * 0.5;
}

// The render's two failures can only occur at the first pixel: it shares the divisor with
// every other pixel and has the largest phase of the picture.
void CheckFirstPixel(const TZonePlateSettings& settings) {
  const int64_t c = settings.Size / 2;
  const double r2 = static_cast<double>(2 * c * c);
  const double divisor = Divisor(settings);
  if (divisor == 0.0) {
    if (r2 == 0.0) {
      throw EInvalidOp(
          "Invalid floating point operation: the phase of the only pixel is 0 / 0 "
          "because the cycle period is 0");
    }
    throw EZeroDivide("Floating point division by zero: the cycle period is 0");
  }
  const double phase = ZonePlatePhase(r2, divisor);
  const std::string period = Describe(settings.CyclePeriod, "%.9g");
  if (std::isnan(phase)) {
    throw EInvalidOp("Invalid floating point operation: the cycle period " + period +
                     " gives no phase");
  }
  if (std::fabs(phase) >= MaxUsablePhase) {
    throw EInvalidOp("Invalid floating point operation: the cycle period " + period +
                     " gives the first pixel a phase of " + Describe(phase, "%.3g") +
                     ", beyond the range of sine and cosine");
  }
}

void CheckBitmap(const TZonePlateSettings& settings, const TIndexedBitmap& bitmap) {
  const bool fits = bitmap.Width() == settings.Size && bitmap.Height() == settings.Size &&
                    (bitmap.PixelFormat() == pf8bit || settings.OutputFormat != zfGreyscale);
  if (!fits) {
    throw EBitmapError("The bitmap (" + std::to_string(bitmap.Width()) + " x " +
                       std::to_string(bitmap.Height()) +
                       (bitmap.PixelFormat() == pf8bit ? ", 8-bit" : ", 1-bit") +
                       ") does not fit a zone plate of size " + std::to_string(settings.Size));
  }
}

uint8_t GreyLevel(double cosine) {
  return static_cast<uint8_t>(static_cast<int>(cosine * 127 + 128));
}

// Packs one byte a pixel (0 or 1) into a 1-bit row, leftmost pixel in the top bit.
void PackBits(const uint8_t* pixels, int64_t count, uint8_t* row) {
  const int64_t whole = count / 8;
  for (int64_t i = 0; i < whole; ++i) {
    // The multiply moves byte j's low bit to bit 63 - j without carries between the terms.
    uint64_t eight;
    std::memcpy(&eight, pixels + 8 * i, 8);
    row[i] = static_cast<uint8_t>((eight * 0x8040201008040201ull) >> 56);
  }
  if (count % 8 != 0) {
    uint8_t last = 0;
    for (int64_t x = whole * 8; x < count; ++x) last |= pixels[x] << (7 - x % 8);
    row[whole] = last;
  }
}

// Each pixel takes 1 where its level reaches the low byte of its draw; `draws` becomes the
// pixels. Written so that the compiler can vectorise it: no pointer aliases another.
void DecideHalfTone(const uint8_t* __restrict levels, int64_t count, uint8_t* __restrict draws) {
  for (int64_t x = 0; x < count; ++x) draws[x] = levels[x] >= draws[x];
}

// Each pixel takes 1 where its four samples' codes and the low bit of its draw add up to
// more than 2; `draws` becomes the pixels.
void DecideAntiAliased(const uint8_t* __restrict upper, const uint8_t* __restrict lower,
                       int64_t count, uint8_t* __restrict draws) {
  for (int64_t x = 0; x < count; ++x) {
    const auto sum = static_cast<uint8_t>(upper[x] + lower[x] + (draws[x] & 1));
    draws[x] = sum > 2;
  }
}

// What every format's render shares: geometry, kernels, generator, threads and progress.
class TRenderBase {
 public:
  TRenderBase(const TZonePlateSettings& settings, TIndexedBitmap& bitmap, uint64_t randomBase,
              const TRenderOptions& options)
      : Bitmap_(bitmap),
        Size_(settings.Size),
        C_(settings.Size / 2),
        HalfLength_(std::max(C_, Size_ - 1 - C_) + 1),
        Divisor_(Divisor(settings)),
        RandomBase_(randomBase),
        Kernels_(detail::SelectKernels(options.Isa)),
        RequestedThreads_(options.Threads) {}

 protected:
  uint8_t* Line(int64_t y) const { return Bitmap_.ScanLine(static_cast<int32_t>(y)); }

  uint64_t RowState(int64_t y) const {
    return TRandomSource::StateAfter(RandomBase_,
                                     static_cast<uint64_t>(y) * static_cast<uint64_t>(Size_));
  }

  // Renders units 0 .. units - 1 in tasks of `perTask` consecutive units, so that a thread can
  // reuse what one unit computed for the next. Each thread works in its own scratch, made
  // before any starts; render(scratch, unit) returns the rows it completed.
  template <typename TScratch, typename Render>
  void RunUnits(detail::TProgress& progress, int64_t units, int64_t perTask, Render render) {
    const int64_t tasks = (units + perTask - 1) / perTask;
    const int threads = detail::ThreadCount(RequestedThreads_, tasks);
    std::vector<TScratch> scratch;
    for (int t = 0; t < threads; ++t) scratch.emplace_back(HalfLength_, Size_);
    detail::RunTasks(tasks, threads, progress, [&](int64_t task, int thread) {
      int64_t rows = 0;
      const int64_t end = std::min(units, (task + 1) * perTask);
      for (int64_t unit = task * perTask; unit < end; ++unit) {
        rows += render(scratch[thread], unit);
      }
      return rows;
    });
  }

  // Vector kernels may write up to 31 values past the end.
  static size_t Padded(int64_t n) { return static_cast<size_t>(n + 32); }

  TIndexedBitmap& Bitmap_;
  const int64_t Size_;
  const int64_t C_;
  const int64_t HalfLength_;  // distinct values of |x - c|
  const double Divisor_;
  const uint64_t RandomBase_;
  const detail::TKernels Kernels_;
  const int RequestedThreads_;
};

// Greyscale. Values for (|x - c|, |y - c|) = (a, b) live in the top-left quadrant, row c - b,
// column c - a, which holds every pair. First each band of b computes the pairs with a at
// or beyond the band; then each band copies the pairs with a before it from the transposed
// places, which the first pass filled, and mirrors its rows to the right and to the bottom.
class TGreyscaleRender : TRenderBase {
 public:
  using TRenderBase::TRenderBase;

  void Run(detail::TProgress& progress) {
    const int64_t bands = (C_ + Band) / Band;
    const int threads = detail::ThreadCount(RequestedThreads_, bands);
    std::vector<std::vector<double>> values(threads, std::vector<double>(Padded(HalfLength_)));
    detail::RunTasks(bands, threads, progress, [&](int64_t band, int thread) {
      return ComputeBand(band * Band, values[thread].data());
    });
    detail::RunTasks(bands, threads, progress,
                     [&](int64_t band, int) { return CompleteBand(band * Band); });
  }

  // Progress counts values computed and rows completed, weighted roughly by their cost.
  static int64_t TotalWork(int64_t size) {
    const int64_t c = size / 2;
    int64_t total = 0;
    for (int64_t first = 0; first <= c; first += Band) {
      const int64_t rows = std::min(Band, c + 1 - first);
      total += rows * (c + 1 - first) + rows * size / CopyCost;
    }
    return total;
  }

 private:
  static constexpr int64_t Band = 64;
  static constexpr int64_t CopyCost = 16;

  int64_t BandEnd(int64_t first) const { return std::min(first + Band, C_ + 1); }

  int64_t ComputeBand(int64_t first, double* values) {
    const int64_t n = C_ + 1 - first;
    for (int64_t b = first; b < BandEnd(first); ++b) {
      Kernels_.TrigRow(TTrig::Cos, static_cast<double>(b * b), 1.0, first, n, Divisor_, values);
      uint8_t* corner = Line(C_ - b) + C_ - first;  // column c - a for a = first
      for (int64_t i = 0; i < n; ++i) corner[-i] = GreyLevel(values[i]);
    }
    return (BandEnd(first) - first) * n;
  }

  int64_t CompleteBand(int64_t first) {
    const int64_t end = BandEnd(first);
    // Pairs (a, b) with a < first: row c - b, column c - a takes row c - a, column c - b.
    // Whole tiles go through a local block, so that the compiler sees no aliasing.
    const int64_t rows = end - first;
    for (int64_t tile = 0; tile < first; tile += Band) {
      uint8_t block[Band][Band];  // [a - tile][end - 1 - b]
      for (int64_t i = 0; i < Band; ++i) {
        std::memcpy(block[i], Line(C_ - tile - i) + C_ - (end - 1), static_cast<size_t>(rows));
      }
      for (int64_t j = 0; j < rows; ++j) {
        uint8_t line[Band];  // [Band - 1 - (a - tile)]
        for (int64_t i = 0; i < Band; ++i) line[Band - 1 - i] = block[i][j];
        std::memcpy(Line(C_ - (end - 1 - j)) + C_ - tile - (Band - 1), line, Band);
      }
    }
    for (int64_t b = first; b < end; ++b) {
      uint8_t* row = Line(C_ - b);
      // Column c + a takes column c - a.
      Kernels_.ReverseCopy(row + 2 * C_ + 1 - Size_, Size_ - 1 - C_, row + C_ + 1);
      if (b > 0 && C_ + b < Size_) std::memcpy(Line(C_ + b), row, static_cast<size_t>(Size_));
    }
    return (end - first) * Size_ / CopyCost;
  }
};

// Pure two-tone and random half-tone: rows c - b and c + b hold the same values (not the same
// draws), so each distance b is computed once for both.
class TMirroredRender : TRenderBase {
 public:
  TMirroredRender(const TZonePlateSettings& settings, TIndexedBitmap& bitmap, uint64_t randomBase,
                  const TRenderOptions& options)
      : TRenderBase(settings, bitmap, randomBase, options), Format_(settings.OutputFormat) {}

  void Run(detail::TProgress& progress) {
    RunUnits<TScratch>(progress, C_ + 1, UnitsPerTask,
                       [this](TScratch& s, int64_t b) { return RenderUnit(s, b); });
  }

  static int64_t TotalWork(int64_t size) { return size; }

 private:
  static constexpr int64_t UnitsPerTask = 8;
  struct TScratch {
    TScratch(int64_t halfLength, int64_t size)
        : Values(Padded(halfLength)),
          Half(Padded(halfLength)),
          Row(Padded(size)),
          Draws(Padded(size)) {}
    std::vector<double> Values;
    std::vector<uint8_t> Half, Row, Draws;
  };

  int64_t RenderUnit(TScratch& s, int64_t b) {
    const bool pure = Format_ == zfTwoTonePure;
    Kernels_.TrigRow(pure ? TTrig::Sin : TTrig::Cos, static_cast<double>(b * b), 1.0, 0,
                     HalfLength_, Divisor_, s.Values.data());
    for (int64_t a = 0; a < HalfLength_; ++a) {
      s.Half[a] = pure ? s.Values[a] >= 0.0 : GreyLevel(s.Values[a]);
    }
    // Spreads the half row, indexed by |x - c|, over the whole row.
    Kernels_.ReverseCopy(s.Half.data() + 1, C_, s.Row.data());
    std::memcpy(s.Row.data() + C_, s.Half.data(), static_cast<size_t>(Size_ - C_));
    int64_t rows = 0;
    for (const int64_t y : {C_ - b, C_ + b}) {
      if (y < 0 || y >= Size_ || (rows == 1 && b == 0)) continue;
      if (pure) {
        PackBits(s.Row.data(), Size_, Line(y));
      } else {
        Kernels_.DrawRow(RowState(y), Size_, s.Draws.data());
        DecideHalfTone(s.Row.data(), Size_, s.Draws.data());
        PackBits(s.Draws.data(), Size_, Line(y));
      }
      ++rows;
    }
    return rows;
  }

  const TOutputFormat Format_;
};

// Anti-aliassed two-tone. Sample u = x + j / 2 lies at k = 2u - 2c = 2(x - c) + j, and
// likewise m = 2v - 2c for the rows; a sample's sine depends on (|k|, |m|). Pixel rows c + d
// (m = 2d, 2d + 1) and c - 1 - d (m = -2d - 2, -2d - 1) share |m| = 2d + 1, and consecutive
// d share one more, so each sample row is computed once per task.
//
// A sample adds trunc(sin + 1) to the pixel's sum: 0, 1, or 2 where the sine is exactly 1.
// Adding these up differs from truncating the running double sum only when a sine lies
// within a few ulps of 0 or 1, which are decision boundaries of the format anyway.
class TAntiAliasedRender : TRenderBase {
 public:
  using TRenderBase::TRenderBase;

  void Run(detail::TProgress& progress) {
    RunUnits<TScratch>(progress, Size_ - C_, UnitsPerTask,
                       [this](TScratch& s, int64_t d) { return RenderUnit(s, d); });
  }

  static int64_t TotalWork(int64_t size) { return size; }

 private:
  static constexpr int64_t UnitsPerTask = 16;
  struct TScratch {
    TScratch(int64_t halfLength, int64_t size)
        : Sines(Padded(2 * halfLength)), Codes(Padded(2 * halfLength)), Draws(Padded(size)) {
      for (auto& pairs : PairSums) pairs.resize(Padded(size));
    }
    std::vector<double> Sines;
    std::vector<uint8_t> Codes;
    // For three sample rows |m|: pixel x's two samples' codes added, by x.
    std::vector<uint8_t> PairSums[3];
    int64_t Key[3] = {-1, -1, -1};
    std::vector<uint8_t> Draws;
  };

  const uint8_t* PairSums(TScratch& s, int64_t m) const {
    int slot = 0;
    for (int i = 0; i < 3; ++i) {
      if (s.Key[i] == m) return s.PairSums[i].data();
      if (s.Key[i] < s.Key[slot]) slot = i;  // the lowest key is the one no longer needed
    }
    uint8_t* codes = s.Codes.data();
    Kernels_.SineCodeRow(static_cast<double>(m * m) * 0.25, 0.25, 0, 2 * HalfLength_, Divisor_,
                         s.Sines.data(), codes);
    // Pixel x has k = 2(x - c) and 2(x - c) + 1: |k| = 2j, 2j + 1 for x = c + j, and
    // 2j, 2j - 1 for x = c - j.
    uint8_t* pairs = s.PairSums[slot].data();
    for (int64_t x = C_; x < Size_; ++x) {
      const int64_t j = x - C_;
      pairs[x] = static_cast<uint8_t>(codes[2 * j] + codes[2 * j + 1]);
    }
    for (int64_t x = 0; x < C_; ++x) {
      const int64_t j = C_ - x;
      pairs[x] = static_cast<uint8_t>(codes[2 * j] + codes[2 * j - 1]);
    }
    s.Key[slot] = m;
    return pairs;
  }

  int64_t RenderUnit(TScratch& s, int64_t d) {
    int64_t rows = 0;
    for (const int64_t y : {C_ + d, C_ - 1 - d}) {
      if (y < 0 || y >= Size_) continue;
      const uint8_t* upper = PairSums(s, y > C_ - 1 ? 2 * d : 2 * d + 2);
      const uint8_t* lower = PairSums(s, 2 * d + 1);
      uint8_t* draws = s.Draws.data();
      Kernels_.DrawRow(RowState(y), Size_, draws);
      DecideAntiAliased(upper, lower, Size_, draws);
      PackBits(draws, Size_, Line(y));
      ++rows;
    }
    return rows;
  }
};

template <typename TFormatRender>
void Render(const TZonePlateSettings& settings, TIndexedBitmap& bitmap, uint64_t randomBase,
            const TRenderOptions& options, const TProgressHook& onProgress) {
  detail::TProgress progress(onProgress, settings.Size, TFormatRender::TotalWork(settings.Size));
  TFormatRender(settings, bitmap, randomBase, options).Run(progress);
}

}  // namespace

void RenderZonePlate(const TZonePlateSettings& settings, TIndexedBitmap& bitmap,
                     const TProgressHook& OnProgress, TRandomSource& random,
                     const TRenderOptions& options) {
  if (settings.Size <= 0) return;
  CheckBitmap(settings, bitmap);
  if (OnProgress) OnProgress(0);
  if (bitmap.PixelFormat() == pf1bit) {
    std::memset(bitmap.ScanLine(0), 0, static_cast<size_t>(bitmap.SignificantBytes()));
  }
  CheckFirstPixel(settings);

  const int64_t size = settings.Size;
  const uint64_t randomBase = random.State();
  const TOutputFormat format = bitmap.PixelFormat() == pf8bit ? zfGreyscale : settings.OutputFormat;
  if (format == zfRandomHalfTone || format == zfTwoToneAntiAliased) {
    random.SetState(TRandomSource::StateAfter(randomBase, static_cast<uint64_t>(size * size)));
  }
  switch (format) {
    case zfGreyscale:
      Render<TGreyscaleRender>(settings, bitmap, randomBase, options, OnProgress);
      break;
    case zfTwoToneAntiAliased:
      Render<TAntiAliasedRender>(settings, bitmap, randomBase, options, OnProgress);
      break;
    case zfRandomHalfTone:
    case zfTwoTonePure:
      Render<TMirroredRender>(settings, bitmap, randomBase, options, OnProgress);
      break;
  }
}

void RenderZonePlate(const TZonePlateSettings& settings, TIndexedBitmap& bitmap,
                     const TProgressHook& OnProgress, const TRenderOptions& options) {
  RenderZonePlate(settings, bitmap, OnProgress, TheRandomSource(), options);
}

}  // namespace tessarin
