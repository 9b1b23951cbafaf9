#include "reference_renderer.h"

#include <cmath>
#include <cstdint>

namespace tessarin::reference {
namespace {

constexpr double Pi = 3.141592653589793;

double Divisor(const TZonePlateSettings& s) {
  return (static_cast<double>(s.Size) * static_cast<double>(s.CyclePeriod)) * 0.5;
}

double Phase(const TZonePlateSettings& s, double u, double v) {
  const double c = s.Size / 2;
  const double r2 = (u - c) * (u - c) + (v - c) * (v - c);
  return (r2 * Pi) / Divisor(s);
}

int Level(double cosine) {
  return static_cast<int>(cosine * 127 + 128);
}

void SetBit(uint8_t* row, int x) {
  row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
}

}  // namespace

void Render(const TZonePlateSettings& s, TIndexedBitmap& bitmap, TRandomSource& random) {
  const int size = s.Size;
  for (int y = 0; y < size; ++y) {
    uint8_t* row = bitmap.ScanLine(y);
    if (bitmap.PixelFormat() == pf1bit) {
      for (int i = 0; i < (size + 7) / 8; ++i) row[i] = 0;
    }
    for (int x = 0; x < size; ++x) {
      if (bitmap.PixelFormat() == pf8bit) {
        row[x] = static_cast<uint8_t>(Level(std::cos(Phase(s, x, y))));
        continue;
      }
      bool on = false;
      switch (s.OutputFormat) {
        case zfRandomHalfTone:
          on = Level(std::cos(Phase(s, x, y))) >= random.Next() % 256;
          break;
        case zfTwoTonePure:
          on = std::sin(Phase(s, x, y)) >= 0;
          break;
        case zfTwoToneAntiAliased: {
          int sum = 0;
          const double samples[4][2] = {{0, 0}, {0.5, 0}, {0, 0.5}, {0.5, 0.5}};
          for (const auto& offset : samples) {
            const double sine = std::sin(Phase(s, x + offset[0], y + offset[1]));
            sum = static_cast<int>((sine + 1) + sum);
          }
          on = sum + random.Next() % 2 > 2;
          break;
        }
        case zfGreyscale:
          break;
      }
      if (on) SetBit(row, x);
    }
  }
}

bool NearBoundary(const TZonePlateSettings& s, int x, int y) {
  constexpr double Tolerance = 1e-12;
  if (s.OutputFormat == zfGreyscale || s.OutputFormat == zfRandomHalfTone) {
    const double value = std::cos(Phase(s, x, y)) * 127 + 128;
    return std::fabs(value - std::round(value)) < 200 * Tolerance;
  }
  if (s.OutputFormat == zfTwoTonePure) return std::fabs(std::sin(Phase(s, x, y))) < Tolerance;
  const double samples[4][2] = {{0, 0}, {0.5, 0}, {0, 0.5}, {0.5, 0.5}};
  for (const auto& offset : samples) {
    const double sine = std::sin(Phase(s, x + offset[0], y + offset[1]));
    if (std::fabs(sine) < Tolerance || std::fabs(sine - 1) < Tolerance) return true;
  }
  return false;
}

TIndexedBitmap PreparedBitmap(const TZonePlateSettings& s) {
  TIndexedBitmap bitmap;
  bitmap.SetPixelFormat(s.OutputFormat == zfGreyscale ? pf8bit : pf1bit);
  bitmap.SetWidth(s.Size);
  bitmap.SetHeight(s.Size);
  AssignPalette(bitmap);
  return bitmap;
}

}  // namespace tessarin::reference
