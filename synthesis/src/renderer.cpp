// The zone plate renderer.
//
// Every sample's value depends only on its squared distance from the centre pixel (c, c), so
// a pixel and its mirror images about the centre row and column share one exact value. The
// renderer evaluates each distinct (|x - c|, |y - c|) once, copies the bit-identical value to
// its mirrors, and spreads the rows over worker threads. The random formats jump the
// generator to each row's first pixel, so every pixel takes the same draw as in a plain
// raster-order loop.
#include "tessarin/renderer.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tessarin/errors.h"
#include "trig_kernels.h"

namespace tessarin {
namespace {

using detail::TTrig;

constexpr double MaxUsablePhase = 9007199254740992.0;  // 2^53

std::string Describe(float period) {
  char text[64];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(period));
  return text;
}

// Raises the render's two failures, which can only occur at the first pixel: it shares the
// divisor with every other pixel and has the largest phase of the picture.
void CheckFirstPixel(const TZonePlateSettings& settings, int64_t c, double divisor) {
  const double r2 = static_cast<double>(2 * c * c);
  if (divisor == 0.0) {
    if (r2 == 0.0) {
      throw EInvalidOp("Invalid floating point operation: the phase of the only pixel is 0 / 0 "
                       "because the cycle period is 0");
    }
    throw EZeroDivide("Floating point division by zero: the cycle period is 0");
  }
  const double phase = ZonePlatePhase(r2, divisor);
  if (std::isnan(phase)) {
    throw EInvalidOp("Invalid floating point operation: the cycle period " +
                     Describe(settings.CyclePeriod) + " gives no phase");
  }
  if (std::fabs(phase) >= MaxUsablePhase) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3g", phase);
    throw EInvalidOp("Invalid floating point operation: the cycle period " +
                     Describe(settings.CyclePeriod) + " gives the first pixel a phase of " +
                     text + ", beyond the range of sine and cosine");
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

uint8_t GreyLevel(double cosine) { return static_cast<uint8_t>(static_cast<int>(cosine * 127 + 128)); }

// Packs one byte a pixel (0 or 1) into a 1-bit row, leftmost pixel in the top bit.
void PackBits(const uint8_t* pixels, int64_t count, uint8_t* row) {
  const int64_t whole = count / 8;
  for (int64_t i = 0; i < whole; ++i) {
    const uint8_t* p = pixels + 8 * i;
    row[i] = static_cast<uint8_t>(p[0] << 7 | p[1] << 6 | p[2] << 5 | p[3] << 4 | p[4] << 3 |
                                  p[5] << 2 | p[6] << 1 | p[7]);
  }
  if (count % 8 != 0) {
    uint8_t last = 0;
    for (int64_t x = whole * 8; x < count; ++x) last |= pixels[x] << (7 - x % 8);
    row[whole] = last;
  }
}

// Spreads a half row, indexed by |x - c|, over a whole row of `size` entries.
template <typename T>
void Unfold(const T* half, int64_t c, int64_t size, T* row) {
  for (int64_t x = 0; x < c; ++x) row[x] = half[c - x];
  std::memcpy(row + c, half, sizeof(T) * static_cast<size_t>(size - c));
}

// Draw-decided pixels of a row: pixel x takes the draw whose generator state is `state`
// advanced x + 1 times. Eight interleaved generators keep the multiplier busy.
template <typename Decide>
void DrawRow(uint64_t state, int64_t size, uint8_t* pixels, Decide decide) {
  constexpr int Lanes = 8;
  uint64_t lane[Lanes];
  for (int j = 0; j < Lanes; ++j) lane[j] = TRandomSource::StateAfter(state, j + 1);
  const uint64_t jumpA = TRandomSource::StateAfter(1, Lanes) - TRandomSource::StateAfter(0, Lanes);
  const uint64_t jumpC = TRandomSource::StateAfter(0, Lanes);
  int64_t x = 0;
  for (; x + Lanes <= size; x += Lanes) {
    for (int j = 0; j < Lanes; ++j) {
      pixels[x + j] = decide(x + j, static_cast<uint32_t>(lane[j] >> 32));
      lane[j] = lane[j] * jumpA + jumpC;
    }
  }
  for (int j = 0; x < size; ++x, ++j) pixels[x] = decide(x, static_cast<uint32_t>(lane[j] >> 32));
}

struct TScratch {
  std::vector<double> Values;
  std::vector<uint8_t> Half;
  std::vector<uint8_t> Row;
  std::vector<uint8_t> Pixels;
  // Anti-aliassing: three sample rows with their |2v - 2c|, and the two spread over the row.
  std::vector<double> Samples[3];
  int64_t SampleKey[3] = {-1, -1, -1};
  std::vector<double> SpreadA, SpreadB;
};

class TRender {
 public:
  TRender(const TZonePlateSettings& settings, TIndexedBitmap& bitmap, TRandomSource& random,
          const TRenderOptions& options)
      : Bitmap_(bitmap),
        Size_(settings.Size),
        C_(settings.Size / 2),
        Divisor_((static_cast<double>(settings.Size) * static_cast<double>(settings.CyclePeriod)) *
                 0.5),
        Format_(bitmap.PixelFormat() == pf8bit ? zfGreyscale : settings.OutputFormat),
        RandomBase_(random.State()),
        Trig_(detail::SelectTrigRow(options.Isa)) {
    // Whole-pixel units are distances b = |y - c| (rows c - b and c + b); anti-aliassed
    // units are d with rows c + d and c - 1 - d, whose samples share |2v - 2c| = 2d + 1.
    Units_ = Format_ == zfTwoToneAntiAliased ? Size_ - C_ : C_ + 1;
    const int64_t threads = options.Threads > 0
                                ? options.Threads
                                : std::max<int64_t>(1, std::thread::hardware_concurrency());
    UnitsPerChunk_ = std::clamp<int64_t>(Units_ / (threads * 16), 1, 32);
    Chunks_ = (Units_ + UnitsPerChunk_ - 1) / UnitsPerChunk_;
    Threads_ = std::clamp<int64_t>(threads, 1, Chunks_);
    if (Format_ == zfRandomHalfTone || Format_ == zfTwoToneAntiAliased) {
      random.SetState(TRandomSource::StateAfter(RandomBase_, static_cast<uint64_t>(Size_) *
                                                                 static_cast<uint64_t>(Size_)));
    }
  }

  void Run(const TProgressHook& onProgress) {
    std::vector<TScratch> scratch(static_cast<size_t>(Threads_));
    for (TScratch& s : scratch) Prepare(s);
    ReportedRow_ = 8;  // the caller has reported row 0
    std::vector<std::jthread> workers;
    for (int64_t t = 1; t < Threads_; ++t) {
      workers.emplace_back([this, &s = scratch[t]] { Work(s, false); });
    }
    Work(scratch[0], true, &onProgress);
    {
      std::unique_lock lock(Mutex_);
      Done_.wait(lock, [&] {
        Report(onProgress, lock);
        return RowsDone_ == Size_;
      });
    }
    workers.clear();
    std::unique_lock lock(Mutex_);
    Report(onProgress, lock);
  }

 private:
  void Prepare(TScratch& s) const {
    const int64_t halfLength = std::max(C_, Size_ - 1 - C_) + 1;
    s.Row.resize(static_cast<size_t>(Size_));
    s.Pixels.resize(static_cast<size_t>(Size_));
    if (Format_ == zfTwoToneAntiAliased) {
      const int64_t n = 2 * halfLength + 8;
      for (auto& samples : s.Samples) samples.resize(static_cast<size_t>(n));
      s.SpreadA.resize(static_cast<size_t>(2 * Size_));
      s.SpreadB.resize(static_cast<size_t>(2 * Size_));
    } else {
      s.Values.resize(static_cast<size_t>(halfLength + 8));
      s.Half.resize(static_cast<size_t>(halfLength));
    }
  }

  // Takes chunks of units, far from the centre first so that the top rows finish early.
  void Work(TScratch& s, bool caller, const TProgressHook* onProgress = nullptr) {
    for (;;) {
      const int64_t chunk = NextChunk_.fetch_add(1);
      if (chunk >= Chunks_) return;
      const int64_t first = Units_ - 1 - chunk * UnitsPerChunk_;
      const int64_t last = std::max<int64_t>(0, first - UnitsPerChunk_ + 1);
      int64_t rows = 0;
      for (int64_t unit = first; unit >= last; --unit) rows += RenderUnit(s, unit);
      std::unique_lock lock(Mutex_);
      RowsDone_ += rows;
      if (caller) {
        Report(*onProgress, lock);
      } else {
        Done_.notify_one();
      }
    }
  }

  // Delivers every report whose rows are done; the hook runs without the lock held.
  void Report(const TProgressHook& onProgress, std::unique_lock<std::mutex>& lock) {
    while (ReportedRow_ < Size_ && ReportedRow_ <= RowsDone_) {
      const auto percent = static_cast<int32_t>(ReportedRow_ * 100 / Size_);
      ReportedRow_ += 8;
      if (onProgress) {
        lock.unlock();
        onProgress(percent);
        lock.lock();
      }
    }
  }

  int64_t RenderUnit(TScratch& s, int64_t unit) {
    return Format_ == zfTwoToneAntiAliased ? RenderAntiAliased(s, unit) : RenderWhole(s, unit);
  }

  // Rows c - b and c + b, which hold the same values (not the same draws).
  int64_t RenderWhole(TScratch& s, int64_t b) {
    const int64_t halfLength = static_cast<int64_t>(s.Half.size());
    Trig_(Format_ == zfTwoTonePure ? TTrig::Sin : TTrig::Cos, static_cast<double>(b * b), 1.0,
          halfLength, Divisor_, s.Values.data());
    if (Format_ == zfTwoTonePure) {
      for (int64_t a = 0; a < halfLength; ++a) s.Half[a] = s.Values[a] >= 0.0;
    } else {
      for (int64_t a = 0; a < halfLength; ++a) s.Half[a] = GreyLevel(s.Values[a]);
    }
    Unfold(s.Half.data(), C_, Size_, s.Row.data());
    int64_t rows = 0;
    for (const int64_t y : {C_ - b, C_ + b}) {
      if (y < 0 || y >= Size_ || (rows == 1 && b == 0)) continue;
      uint8_t* line = Bitmap_.ScanLine(static_cast<int32_t>(y));
      if (Format_ == zfGreyscale) {
        std::memcpy(line, s.Row.data(), static_cast<size_t>(Size_));
      } else if (Format_ == zfTwoTonePure) {
        PackBits(s.Row.data(), Size_, line);
      } else {
        const uint8_t* levels = s.Row.data();
        DrawRow(RowState(y), Size_, s.Pixels.data(), [levels](int64_t x, uint32_t draw) {
          return static_cast<uint8_t>(levels[x] >= (draw & 0xFF));
        });
        PackBits(s.Pixels.data(), Size_, line);
      }
      ++rows;
    }
    return rows;
  }

  // The sines of sample row |2v - 2c| = m, by |2u - 2c|, computed once per thread and key.
  const double* SampleRow(TScratch& s, int64_t m) {
    for (int i = 0; i < 3; ++i) {
      if (s.SampleKey[i] == m) return s.Samples[i].data();
    }
    int victim = 0;
    for (int i = 1; i < 3; ++i) {
      if (std::abs(s.SampleKey[i] - m) > std::abs(s.SampleKey[victim] - m)) victim = i;
    }
    s.SampleKey[victim] = m;
    const int64_t n = static_cast<int64_t>(s.Samples[victim].size()) - 8;
    Trig_(TTrig::Sin, static_cast<double>(m * m) * 0.25, 0.25, n, Divisor_,
          s.Samples[victim].data());
    return s.Samples[victim].data();
  }

  // Sample u = x + j / 2 of a row, for j = 0, 1, lies at |2u - 2c| = |2x - 2c + j|.
  void Spread(const double* half, std::vector<double>& row) const {
    for (int64_t k = 0; k < 2 * Size_; ++k) row[k] = half[std::abs(k - 2 * C_)];
  }

  // Rows c + d (samples m = 2d, 2d + 1) and c - 1 - d (m = -2d - 2, -2d - 1).
  int64_t RenderAntiAliased(TScratch& s, int64_t d) {
    int64_t rows = 0;
    const int64_t bottom = C_ + d;
    const int64_t top = C_ - 1 - d;
    for (const int64_t y : {top, bottom}) {
      if (y < 0 || y >= Size_) continue;
      const int64_t m0 = y == bottom ? 2 * d : 2 * d + 2;
      const int64_t m1 = 2 * d + 1;
      Spread(SampleRow(s, m0), s.SpreadA);
      Spread(SampleRow(s, m1), s.SpreadB);
      const double* a = s.SpreadA.data();
      const double* b = s.SpreadB.data();
      DrawRow(RowState(y), Size_, s.Pixels.data(), [a, b](int64_t x, uint32_t draw) {
        int sum = 0;
        sum = static_cast<int>((a[2 * x] + 1) + sum);
        sum = static_cast<int>((a[2 * x + 1] + 1) + sum);
        sum = static_cast<int>((b[2 * x] + 1) + sum);
        sum = static_cast<int>((b[2 * x + 1] + 1) + sum);
        return static_cast<uint8_t>(sum + static_cast<int>(draw & 1) > 2);
      });
      PackBits(s.Pixels.data(), Size_, Bitmap_.ScanLine(static_cast<int32_t>(y)));
      ++rows;
    }
    return rows;
  }

  uint64_t RowState(int64_t y) const {
    return TRandomSource::StateAfter(RandomBase_, static_cast<uint64_t>(y) *
                                                      static_cast<uint64_t>(Size_));
  }

  TIndexedBitmap& Bitmap_;
  const int64_t Size_;
  const int64_t C_;
  const double Divisor_;
  const TOutputFormat Format_;
  const uint64_t RandomBase_;
  const detail::TTrigRowFn Trig_;
  int64_t Units_ = 0;
  int64_t UnitsPerChunk_ = 1;
  int64_t Chunks_ = 0;
  int64_t Threads_ = 1;

  std::atomic<int64_t> NextChunk_{0};
  std::mutex Mutex_;
  std::condition_variable Done_;
  int64_t RowsDone_ = 0;
  int64_t ReportedRow_ = 0;
};

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
  const int64_t c = settings.Size / 2;
  CheckFirstPixel(settings, c,
                  (static_cast<double>(settings.Size) * static_cast<double>(settings.CyclePeriod)) *
                      0.5);
  TRender(settings, bitmap, random, options).Run(OnProgress);
}

void RenderZonePlate(const TZonePlateSettings& settings, TIndexedBitmap& bitmap,
                     const TProgressHook& OnProgress, const TRenderOptions& options) {
  RenderZonePlate(settings, bitmap, OnProgress, TheRandomSource(), options);
}

}  // namespace tessarin
