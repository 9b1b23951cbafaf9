#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "reference_renderer.h"
#include "tessarin/errors.h"
#include "tessarin/renderer.h"

namespace tessarin {
namespace {

using reference::PreparedBitmap;

struct TRendered {
  TIndexedBitmap Bitmap;
  std::vector<int32_t> Progress;
};

TRendered Render(const TZonePlateSettings& settings, TRandomSource& random,
                 const TRenderOptions& options = {}) {
  TRendered out{PreparedBitmap(settings), {}};
  RenderZonePlate(
      settings, out.Bitmap, [&](int32_t p) { out.Progress.push_back(p); }, random, options);
  return out;
}

TRendered Render(const TZonePlateSettings& settings, const TRenderOptions& options = {}) {
  TRandomSource fresh;
  return Render(settings, fresh, options);
}

int Pixel(const TIndexedBitmap& bitmap, int x, int y) {
  const uint8_t* row = bitmap.ScanLine(y);
  return bitmap.PixelFormat() == pf8bit ? row[x] : (row[x / 8] >> (7 - x % 8)) & 1;
}

std::vector<int> RowBytes(const TIndexedBitmap& bitmap, int y) {
  const uint8_t* row = bitmap.ScanLine(y);
  return std::vector<int>(row, row + bitmap.SignificantBytes());
}

TEST(RandomSource, FirstDrawsAndState) {
  TRandomSource random;
  EXPECT_EQ(random.Next(), 346);
  EXPECT_EQ(random.State(), 0x0000015A00004E36ull);
  for (const int32_t expected : {13854878, 1621890440, 816282396, 1778554774}) {
    EXPECT_EQ(random.Next(), expected);
  }
}

TEST(RandomSource, JumpingAheadEqualsDrawing) {
  for (const uint64_t steps : {0ull, 1ull, 2ull, 7ull, 64ull, 1000ull, 123457ull}) {
    TRandomSource drawn;
    drawn.SetState(0x123456789ABCDEFull);
    for (uint64_t i = 0; i < steps; ++i) drawn.Next();
    EXPECT_EQ(TRandomSource::StateAfter(0x123456789ABCDEFull, steps), drawn.State()) << steps;
  }
}

TEST(Renderer, ProgressReports) {
  struct Case {
    int32_t Size;
    std::vector<int32_t> Expected;
  };
  std::vector<int32_t> reports512;
  for (int y = 0; y < 512; y += 8) reports512.push_back(y * 100 / 512);
  const Case cases[] = {{32, {0, 25, 50, 75}}, {9, {0, 88}}, {8, {0}}, {1, {0}}, {0, {}}, {-5, {}},
                        {512, reports512}};
  for (const auto format : {zfGreyscale, zfTwoToneAntiAliased}) {
    for (const Case& c : cases) {
      for (const int threads : {1, 3}) {
        TZonePlateSettings s{c.Size, 4.0f, format};
        TIndexedBitmap bitmap = c.Size > 0 ? PreparedBitmap(s) : TIndexedBitmap();
        std::vector<int32_t> seen;
        RenderZonePlate(s, bitmap, [&](int32_t p) { seen.push_back(p); }, {threads});
        EXPECT_EQ(seen, c.Expected) << "size " << c.Size << " threads " << threads;
      }
    }
  }
}

TEST(Renderer, ListedGreyscalePixels) {
  struct Case {
    int32_t Size;
    float Period;
    int X, Y, Level;
  };
  const Case cases[] = {
      {32, 4, 16, 16, 255},    {32, 4, 15, 16, 254},     {32, 4, 17, 16, 254},
      {32, 4, 16, 15, 254},    {32, 4, 1, 1, 1},         {32, 4, 31, 1, 1},
      {32, 4, 0, 1, 134},      {32, 4, 2, 1, 97},        {32, 4, 5, 3, 115},
      {32, 4, 10, 20, 22},     {32, 4, 1, 16, 134},      {512, 4, 256, 256, 255},
      {512, 4, 255, 256, 254}, {512, 4, 257, 256, 254},  {512, 4, 1, 0, 128},
      {512, 4, 1, 1, 1},       {512, 4, 511, 511, 1},    {512, 4, 100, 200, 19},
      {512, 4, 300, 10, 1},    {1024, 2.2f, 19, 1, 164}, {1024, 2.2f, 1005, 1, 164},
  };
  for (const Case& c : cases) {
    const TRendered r = Render({c.Size, c.Period, zfGreyscale});
    EXPECT_EQ(Pixel(r.Bitmap, c.X, c.Y), c.Level)
        << "size " << c.Size << " at (" << c.X << ", " << c.Y << ")";
  }
  const TRendered r32 = Render({32, 4, zfGreyscale});
  const std::vector<int> row1 = {134, 1,   97,  240, 222, 91,  4,   29,  121, 208, 251,
                                 249, 222, 187, 158, 140, 134, 140, 158, 187, 222, 249,
                                 251, 208, 121, 29,  4,   91,  222, 240, 97,  1};
  EXPECT_EQ(RowBytes(r32.Bitmap, 1), row1);
}

TEST(Renderer, ListedOneBitRows) {
  struct Case {
    TOutputFormat Format;
    int Row;
    std::vector<int> Bytes;
  };
  // The random formats as the first render in a random format of the run.
  const Case cases[] = {
      {zfTwoTonePure, 1, {0x31, 0xE0, 0x03, 0xC6}},
      {zfTwoToneAntiAliased, 1, {0x63, 0xC0, 0x01, 0xC6}},
      {zfRandomHalfTone, 0, {0x9E, 0x1F, 0xFE, 0x1D}},
      {zfRandomHalfTone, 1, {0x19, 0xFB, 0x9F, 0xCC}},
  };
  for (const Case& c : cases) {
    for (const int threads : {1, 2}) {
      const TRendered r = Render({32, 4, c.Format}, {threads});
      EXPECT_EQ(RowBytes(r.Bitmap, c.Row), c.Bytes) << c.Format << " row " << c.Row;
    }
  }
  EXPECT_EQ(Pixel(Render({32, 4, zfTwoTonePure}).Bitmap, 16, 16), 1);
}

TEST(Renderer, MirrorSymmetry) {
  for (const auto format : {zfGreyscale, zfTwoTonePure}) {
    const TRendered even = Render({32, 4, format});
    for (int y = 1; y < 32; ++y) {
      for (int x = 1; x < 32; ++x) {
        EXPECT_EQ(Pixel(even.Bitmap, x, y), Pixel(even.Bitmap, 32 - x, y));
        EXPECT_EQ(Pixel(even.Bitmap, x, y), Pixel(even.Bitmap, x, 32 - y));
      }
    }
    const TRendered odd = Render({33, 4, format});
    for (int y = 0; y < 33; ++y) {
      for (int x = 0; x < 33; ++x) {
        EXPECT_EQ(Pixel(odd.Bitmap, x, y), Pixel(odd.Bitmap, 32 - x, y));
        EXPECT_EQ(Pixel(odd.Bitmap, x, y), Pixel(odd.Bitmap, x, 32 - y));
      }
    }
  }
}

TEST(Renderer, NegativePeriod) {
  for (const int size : {32, 33}) {
    for (const auto format : {zfGreyscale, zfRandomHalfTone}) {
      EXPECT_EQ(RowBytes(Render({size, -4, format}).Bitmap, 5),
                RowBytes(Render({size, 4, format}).Bitmap, 5));
    }
    const TRendered pos = Render({size, 4, zfTwoTonePure});
    const TRendered neg = Render({size, -4, zfTwoTonePure});
    const TRendered posAA = Render({size, 4, zfTwoToneAntiAliased});
    const TRendered negAA = Render({size, -4, zfTwoToneAntiAliased});
    const int c = size / 2;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        if (x == c && y == c) {
          EXPECT_EQ(Pixel(neg.Bitmap, x, y), 1);
        } else if (!reference::NearBoundary({size, 4, zfTwoTonePure}, x, y)) {
          EXPECT_EQ(Pixel(neg.Bitmap, x, y), 1 - Pixel(pos.Bitmap, x, y)) << x << "," << y;
        }
      }
    }
    // Anti-aliassed: complement, except where the draw decided a sum of exactly 2.
    int decidedByDraw = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        if (Pixel(negAA.Bitmap, x, y) == Pixel(posAA.Bitmap, x, y)) ++decidedByDraw;
      }
    }
    EXPECT_GT(decidedByDraw, 0);
    EXPECT_LT(decidedByDraw, size * size / 4);
  }
}

TEST(Renderer, InfinitePeriodAndSizeOne) {
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    int32_t Size;
    float Period;
  };
  for (const Case c : {Case{1, 4}, Case{7, inf}, Case{16, -inf}}) {
    for (const auto format : {zfGreyscale, zfRandomHalfTone, zfTwoToneAntiAliased, zfTwoTonePure}) {
      TRandomSource random;
      const TRendered r = Render({c.Size, c.Period, format}, random);
      for (int y = 0; y < c.Size; ++y) {
        for (int x = 0; x < c.Size; ++x) {
          EXPECT_EQ(Pixel(r.Bitmap, x, y), format == zfGreyscale ? 255 : 1);
        }
      }
      const bool draws = format == zfRandomHalfTone || format == zfTwoToneAntiAliased;
      EXPECT_EQ(random.State(),
                TRandomSource::StateAfter(1, draws ? uint64_t(c.Size) * c.Size : 0));
    }
  }
}

TEST(Renderer, FailuresAtTheFirstPixel) {
  struct Case {
    int32_t Size;
    float Period;
    bool ZeroDivide;
  };
  const Case cases[] = {
      {32, 0, true},          {1, 0, false},
      {512, -0.0f, true},     {512, 1e-13f, false},
      {16384, 5e-12f, false}, {32, std::numeric_limits<float>::quiet_NaN(), false}};
  for (const Case& c : cases) {
    for (const auto format : {zfGreyscale, zfRandomHalfTone, zfTwoToneAntiAliased}) {
      TZonePlateSettings s{c.Size, c.Period, format};
      TIndexedBitmap bitmap = PreparedBitmap(s);
      if (format != zfGreyscale) std::fill_n(bitmap.ScanLine(0), 4, 0xFF);
      std::vector<int32_t> seen;
      TRandomSource random;
      auto render = [&] {
        RenderZonePlate(
            s, bitmap, [&](int32_t p) { seen.push_back(p); }, random);
      };
      if (c.ZeroDivide) {
        EXPECT_THROW(render(), EZeroDivide) << c.Size << " " << c.Period;
      } else {
        EXPECT_THROW(render(), EInvalidOp) << c.Size << " " << c.Period;
      }
      EXPECT_EQ(seen, std::vector<int32_t>{0});
      EXPECT_EQ(random.State(), 1u) << "no draw taken";
      if (format != zfGreyscale) {
        const int significant = (c.Size + 7) / 8;
        for (int i = 0; i < std::min(significant, 4); ++i) EXPECT_EQ(bitmap.ScanLine(0)[i], 0);
        if (significant < 4) {
          EXPECT_EQ(bitmap.ScanLine(0)[significant], 0xFF);
        }
      }
    }
  }
  EXPECT_NO_THROW(Render({512, 1e-12f, zfGreyscale}));
}

TEST(Renderer, RefusesABitmapThatDoesNotFit) {
  TIndexedBitmap small = PreparedBitmap({16, 4, zfGreyscale});
  std::vector<int32_t> seen;
  EXPECT_THROW(RenderZonePlate({32, 4, zfGreyscale}, small, [&](int32_t p) { seen.push_back(p); }),
               EBitmapError);
  TIndexedBitmap oneBit = PreparedBitmap({32, 4, zfTwoTonePure});
  EXPECT_THROW(RenderZonePlate({32, 4, zfGreyscale}, oneBit, {}), EBitmapError);
  EXPECT_TRUE(seen.empty());
}

// The fast renderer against the plain loop: equal everywhere but at boundary pixels, and
// equal to itself bit for bit whatever the thread count and vector unit.
TEST(Renderer, MatchesThePlainLoop) {
  const int sizes[] = {1, 2, 3, 8, 31, 32, 33, 100, 257, 512};
  const float periods[] = {4, 2, 2.2f, -3.7f, 1000, 0.3f, 1e-3f};
  for (const auto format : {zfGreyscale, zfRandomHalfTone, zfTwoToneAntiAliased, zfTwoTonePure}) {
    for (const int size : sizes) {
      for (const float period : periods) {
        const TZonePlateSettings s{size, period, format};
        TIndexedBitmap expected = PreparedBitmap(s);
        TRandomSource referenceRandom;
        reference::Render(s, expected, referenceRandom);
        const TRendered fast = Render(s, {1});
        int differing = 0;
        for (int y = 0; y < size; ++y) {
          for (int x = 0; x < size; ++x) {
            if (Pixel(fast.Bitmap, x, y) != Pixel(expected, x, y) &&
                !reference::NearBoundary(s, x, y)) {
              ++differing;
            }
          }
        }
        EXPECT_EQ(differing, 0) << "format " << format << " size " << size << " period " << period;
        for (const TRenderOptions options :
             {TRenderOptions{2}, TRenderOptions{7}, TRenderOptions{3, TTrigIsa::Avx2}}) {
          const TRendered other = Render(s, options);
          for (int y = 0; y < size; ++y) {
            ASSERT_EQ(RowBytes(other.Bitmap, y), RowBytes(fast.Bitmap, y))
                << "threads " << options.Threads << " size " << size << " row " << y;
          }
        }
      }
    }
  }
}

TEST(Renderer, MatchesThePlainLoopAtALargeOddSize) {
  for (const auto format : {zfGreyscale, zfRandomHalfTone, zfTwoToneAntiAliased, zfTwoTonePure}) {
    const TZonePlateSettings s{2049, -2.5f, format};
    TIndexedBitmap expected = PreparedBitmap(s);
    TRandomSource referenceRandom;
    reference::Render(s, expected, referenceRandom);
    const TRendered fast = Render(s);
    int differing = 0;
    for (int y = 0; y < s.Size; ++y) {
      if (RowBytes(fast.Bitmap, y) == RowBytes(expected, y)) continue;
      for (int x = 0; x < s.Size; ++x) {
        differing +=
            Pixel(fast.Bitmap, x, y) != Pixel(expected, x, y) && !reference::NearBoundary(s, x, y);
      }
    }
    EXPECT_EQ(differing, 0) << "format " << format;
  }
}

TEST(Renderer, ScalarUnitMatchesThePlainLoopExactly) {
  for (const auto format : {zfGreyscale, zfRandomHalfTone, zfTwoToneAntiAliased, zfTwoTonePure}) {
    const TZonePlateSettings s{77, 2.5f, format};
    TIndexedBitmap expected = PreparedBitmap(s);
    TRandomSource referenceRandom;
    reference::Render(s, expected, referenceRandom);
    const TRendered fast = Render(s, {2, TTrigIsa::Scalar});
    for (int y = 0; y < 77; ++y) EXPECT_EQ(RowBytes(fast.Bitmap, y), RowBytes(expected, y));
  }
}

TEST(Renderer, RandomFormatsContinueTheSequence) {
  for (const auto format : {zfRandomHalfTone, zfTwoToneAntiAliased}) {
    const TZonePlateSettings s{45, 3, format};
    TRandomSource plain;
    TIndexedBitmap first = PreparedBitmap(s);
    TIndexedBitmap second = PreparedBitmap(s);
    reference::Render(s, first, plain);
    reference::Render(s, second, plain);

    TRandomSource fast;
    const TRendered fastFirst = Render(s, fast, {3});
    const TRendered fastSecond = Render(s, fast, {2});
    EXPECT_EQ(fast.State(), plain.State());
    bool secondDiffers = false;
    for (int y = 0; y < 45; ++y) {
      EXPECT_EQ(RowBytes(fastFirst.Bitmap, y), RowBytes(first, y));
      EXPECT_EQ(RowBytes(fastSecond.Bitmap, y), RowBytes(second, y));
      secondDiffers |= RowBytes(second, y) != RowBytes(first, y);
    }
    EXPECT_TRUE(secondDiffers);
  }
}

TEST(Renderer, UsesTheRunsGenerator) {
  const uint64_t before = TheRandomSource().State();
  TIndexedBitmap bitmap = PreparedBitmap({10, 4, zfRandomHalfTone});
  RenderZonePlate({10, 4, zfRandomHalfTone}, bitmap, {});
  EXPECT_EQ(TheRandomSource().State(), TRandomSource::StateAfter(before, 100));
}

}  // namespace
}  // namespace tessarin
