#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessarin {

enum TPixelFormat { pf8bit, pf1bit };

struct TPaletteEntry {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
  friend bool operator==(const TPaletteEntry&, const TPaletteEntry&) = default;
};
using TPalette = std::vector<TPaletteEntry>;

// A Width x Height raster of palette indices at 8 or 1 bits a pixel, with its own palette.
// Row 0 is the top row. In pf1bit, pixel x is bit 0x80 >> (x % 8) of byte x / 8.
// Copies are independent: a copy owns its own pixels and palette.
class TIndexedBitmap {
 public:
  TIndexedBitmap() = default;

  TPixelFormat PixelFormat() const { return PixelFormat_; }
  int32_t Width() const { return Width_; }
  int32_t Height() const { return Height_; }
  const TPalette& Palette() const { return Palette_; }

  // Each setter keeps the other properties and gives fresh, zeroed storage for the new
  // layout. A negative side, or storage that cannot be had, raises EBitmapError and leaves
  // the bitmap as it was.
  void SetPixelFormat(TPixelFormat format);
  void SetWidth(int32_t width);
  void SetHeight(int32_t height);
  void SetPalette(const TPalette& palette) { Palette_ = palette; }

  // Bytes of a row that hold pixels: Width in pf8bit, (Width + 7) / 8 in pf1bit.
  int64_t SignificantBytes() const { return SignificantBytes(PixelFormat_, Width_); }
  static int64_t SignificantBytes(TPixelFormat format, int64_t width);

  // The distance from one row to the next in memory, a multiple of 4: for views that show
  // the rows in place. Writers fetch each row through ScanLine.
  int64_t BytesPerRow() const { return Stride_; }

  // The writable first byte of a row; a row outside 0 .. Height - 1 raises std::out_of_range.
  uint8_t* ScanLine(int32_t row);
  const uint8_t* ScanLine(int32_t row) const;

  // Writes a Windows BMP file. The file is replaced only once the new one is complete:
  // on failure an existing file is left untouched and EFileError names the file and reason.
  void SaveToFile(const std::string& fileName) const;

 private:
  void Relayout(TPixelFormat format, int32_t width, int32_t height);

  TPixelFormat PixelFormat_ = pf8bit;
  int32_t Width_ = 0;
  int32_t Height_ = 0;
  int64_t Stride_ = 0;  // rows are padded to 4 bytes, the BMP row length
  TPalette Palette_;
  std::vector<uint8_t> Pixels_;
};

// The palette of a pixel format: 256 greys (entry i = i, i, i), or black then white.
TPalette MakePalette(TPixelFormat format);

// Reads the bitmap's pixel format back and gives it the matching palette.
void AssignPalette(TIndexedBitmap& bitmap);

}  // namespace tessarin
