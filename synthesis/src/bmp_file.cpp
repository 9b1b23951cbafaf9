// Writing a TIndexedBitmap as a Windows BMP file: BITMAPFILEHEADER, BITMAPINFOHEADER,
// colour table, then the rows bottom-up (the layout every reader of the format knows).
#include <limits>

#include "tessarin/atomic_file.h"
#include "tessarin/errors.h"
#include "tessarin/indexed_bitmap.h"

namespace tessarin {
namespace {

constexpr uint32_t FileHeaderSize = 14;
constexpr uint32_t InfoHeaderSize = 40;
constexpr int32_t PixelsPerMetre = 3780;  // 96 pixels per inch

class THeaderWriter {
 public:
  void U16(uint32_t v) { Put(v, 2); }
  void U32(uint32_t v) { Put(v, 4); }
  const std::vector<uint8_t>& Bytes() const { return Bytes_; }

 private:
  void Put(uint32_t v, int count) {
    for (int i = 0; i < count; ++i) Bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  std::vector<uint8_t> Bytes_;
};

}  // namespace

void TIndexedBitmap::SaveToFile(const std::string& fileName) const {
  if (Width_ == 0 || Height_ == 0) {
    throw EFileError("The file \"" + fileName + "\" was not written: a bitmap of " +
                     std::to_string(Width_) + " x " + std::to_string(Height_) +
                     " pixels has no picture to save");
  }
  const uint32_t bitsPerPixel = PixelFormat_ == pf8bit ? 8 : 1;
  const auto colours = static_cast<uint32_t>(Palette_.size());
  const uint32_t offBits = FileHeaderSize + InfoHeaderSize + 4 * colours;
  const int64_t imageBytes = Stride_ * Height_;
  if (offBits + imageBytes > std::numeric_limits<uint32_t>::max()) {
    throw EFileError("The file \"" + fileName + "\" was not written: a " + std::to_string(Width_) +
                     " x " + std::to_string(Height_) +
                     " picture is larger than the BMP format's 4 GiB");
  }

  THeaderWriter header;
  header.U16('B' | ('M' << 8));
  header.U32(static_cast<uint32_t>(offBits + imageBytes));
  header.U32(0);
  header.U32(offBits);
  header.U32(InfoHeaderSize);
  header.U32(static_cast<uint32_t>(Width_));
  header.U32(static_cast<uint32_t>(Height_));  // positive: rows stored bottom-up
  header.U16(1);
  header.U16(bitsPerPixel);
  header.U32(0);  // BI_RGB, uncompressed
  header.U32(static_cast<uint32_t>(imageBytes));
  header.U32(PixelsPerMetre);
  header.U32(PixelsPerMetre);
  header.U32(colours);
  header.U32(0);
  for (const TPaletteEntry& entry : Palette_) {
    header.U32(entry.Blue | (entry.Green << 8) | (entry.Red << 16));
  }

  TAtomicFile file(fileName);
  file.Write(header.Bytes().data(), header.Bytes().size());
  // Rows go out straight from the pixels, bottom row first; the padding goes out as zeros
  // whatever a caller wrote beyond a row's significant bytes.
  static constexpr uint8_t Zeros[4] = {};
  const auto significant = static_cast<size_t>(SignificantBytes());
  const auto padding = static_cast<size_t>(Stride_) - significant;
  std::vector<std::pair<const void*, size_t>> pieces;
  pieces.reserve(static_cast<size_t>(Height_) * (padding ? 2 : 1));
  for (int64_t row = Height_ - 1; row >= 0; --row) {
    pieces.emplace_back(Pixels_.data() + row * Stride_, significant);
    if (padding != 0) pieces.emplace_back(Zeros, padding);
  }
  file.WritePieces(pieces);
  file.Commit();
}

}  // namespace tessarin
