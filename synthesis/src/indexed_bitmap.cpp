#include "tessarin/indexed_bitmap.h"

#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#include "tessarin/errors.h"

namespace tessarin {
namespace {

// Far beyond any memory this program meets; larger requests are refused before allocating.
constexpr int64_t MaxBytes = int64_t{1} << 40;

}  // namespace

int64_t TIndexedBitmap::SignificantBytes(TPixelFormat format, int64_t width) {
  return format == pf8bit ? width : (width + 7) / 8;
}

void TIndexedBitmap::SetPixelFormat(TPixelFormat format) {
  Relayout(format, Width_, Height_);
}
void TIndexedBitmap::SetWidth(int32_t width) {
  Relayout(PixelFormat_, width, Height_);
}
void TIndexedBitmap::SetHeight(int32_t height) {
  Relayout(PixelFormat_, Width_, height);
}

void TIndexedBitmap::Relayout(TPixelFormat format, int32_t width, int32_t height) {
  if (width < 0 || height < 0) {
    throw EBitmapError("Invalid bitmap size " + std::to_string(width) + " x " +
                       std::to_string(height) + ": a side cannot be negative");
  }
  const int64_t stride = (SignificantBytes(format, width) + 3) / 4 * 4;
  const int64_t bytes = stride * height;
  if (bytes > MaxBytes) {
    throw EBitmapError("A " + std::to_string(width) + " x " + std::to_string(height) +
                       " bitmap is too large for this machine");
  }
  std::vector<uint8_t> pixels;
  try {
    pixels.assign(static_cast<size_t>(bytes), 0);
  } catch (const std::bad_alloc&) {
    throw EBitmapError("Not enough memory for a " + std::to_string(width) + " x " +
                       std::to_string(height) + " bitmap (" + std::to_string(bytes) + " bytes)");
  }
  PixelFormat_ = format;
  Width_ = width;
  Height_ = height;
  Stride_ = stride;
  Pixels_ = std::move(pixels);
}

uint8_t* TIndexedBitmap::ScanLine(int32_t row) {
  return const_cast<uint8_t*>(std::as_const(*this).ScanLine(row));
}

const uint8_t* TIndexedBitmap::ScanLine(int32_t row) const {
  if (row < 0 || row >= Height_) {
    throw std::out_of_range("Scan line " + std::to_string(row) + " is outside the bitmap's " +
                            std::to_string(Height_) + " rows");
  }
  return Pixels_.data() + Stride_ * row;
}

TPalette MakePalette(TPixelFormat format) {
  if (format == pf1bit) return {{0, 0, 0}, {255, 255, 255}};
  TPalette palette;
  palette.reserve(256);
  for (int i = 0; i < 256; ++i) {
    const auto level = static_cast<uint8_t>(i);
    palette.push_back({level, level, level});
  }
  return palette;
}

void AssignPalette(TIndexedBitmap& bitmap) {
  bitmap.SetPalette(MakePalette(bitmap.PixelFormat()));
}

}  // namespace tessarin
