#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "file_size_limit.h"
#include "tessarin/errors.h"
#include "tessarin/indexed_bitmap.h"

namespace tessarin {
namespace {

namespace fs = std::filesystem;

TIndexedBitmap MakeBitmap(TPixelFormat format, int width, int height) {
  TIndexedBitmap bitmap;
  bitmap.SetPixelFormat(format);
  bitmap.SetWidth(width);
  bitmap.SetHeight(height);
  AssignPalette(bitmap);
  return bitmap;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() /
          ("tessarin-" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
           std::to_string(::getpid()));
    fs::remove_all(Dir);
    fs::create_directories(Dir);
  }
  void TearDown() override {
    fs::permissions(Dir, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(Dir);
  }
  int FilesIn() const { return static_cast<int>(std::distance(fs::directory_iterator(Dir), {})); }
  fs::path Dir;
};

TEST(IndexedBitmap, Palettes) {
  const TPalette grey = MakePalette(pf8bit);
  ASSERT_EQ(grey.size(), 256u);
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<uint8_t>(i);
    EXPECT_EQ(grey[i], (TPaletteEntry{v, v, v}));
  }
  EXPECT_EQ(MakePalette(pf1bit), (TPalette{{0, 0, 0}, {255, 255, 255}}));

  TIndexedBitmap bitmap = MakeBitmap(pf1bit, 3, 3);
  {
    TPalette given = MakePalette(pf8bit);
    bitmap.SetPalette(given);
  }  // the giver's palette is gone; the bitmap keeps its own
  EXPECT_EQ(bitmap.Palette().size(), 256u);
}

TEST(IndexedBitmap, FormatKeptAndRowLayout) {
  TIndexedBitmap bitmap;
  EXPECT_EQ(bitmap.Width(), 0);
  bitmap.SetPixelFormat(pf1bit);
  bitmap.SetWidth(10);
  bitmap.SetHeight(2);
  EXPECT_EQ(bitmap.PixelFormat(), pf1bit);
  EXPECT_EQ(bitmap.SignificantBytes(), 2);
  struct Case {
    TPixelFormat Format;
    int Width;
    int64_t Significant;
  };
  for (const Case c :
       {Case{pf1bit, 8, 1}, Case{pf1bit, 9, 2}, Case{pf8bit, 3, 3}, Case{pf1bit, 0, 0}}) {
    EXPECT_EQ(TIndexedBitmap::SignificantBytes(c.Format, c.Width), c.Significant);
  }
  // Rows are independent pieces of memory.
  bitmap.ScanLine(0)[0] = 0xAB;
  EXPECT_EQ(bitmap.ScanLine(1)[0], 0);
  EXPECT_THROW(bitmap.ScanLine(2), std::out_of_range);
  EXPECT_THROW(bitmap.ScanLine(-1), std::out_of_range);
}

TEST(IndexedBitmap, RefusesNegativeSidesAndImpossibleStorage) {
  TIndexedBitmap bitmap = MakeBitmap(pf8bit, 4, 0);
  EXPECT_THROW(bitmap.SetWidth(-1), EBitmapError);
  EXPECT_THROW(bitmap.SetHeight(-5), EBitmapError);
  EXPECT_EQ(bitmap.Width(), 4);
  bitmap.SetWidth(2147483647);
  EXPECT_THROW(bitmap.SetHeight(2147483647), EBitmapError);  // about 4.6e18 bytes
  EXPECT_EQ(bitmap.Height(), 0);
}

TEST(IndexedBitmap, CopiesAreIndependent) {
  auto original = std::make_unique<TIndexedBitmap>(MakeBitmap(pf8bit, 5, 5));
  original->ScanLine(2)[3] = 77;
  const TIndexedBitmap copy = *original;
  original->ScanLine(2)[3] = 1;
  original.reset();
  EXPECT_EQ(copy.ScanLine(2)[3], 77);
  EXPECT_EQ(copy.Palette(), MakePalette(pf8bit));
  EXPECT_EQ(copy.Width(), 5);
}

// A white top row over grey rows, read back by Qt's BMP reader.
TEST_F(TempDir, SavedFilesReadBackWithTheTopRowAtTheTop) {
  struct Case {
    TPixelFormat Format;
    int Width, Height;
  };
  for (const Case c : {Case{pf8bit, 3, 4}, Case{pf8bit, 33, 5}, Case{pf1bit, 10, 3},
                       Case{pf1bit, 1, 1}, Case{pf1bit, 70, 9}}) {
    TIndexedBitmap bitmap = MakeBitmap(c.Format, c.Width, c.Height);
    const int significant = static_cast<int>(bitmap.SignificantBytes());
    for (int y = 0; y < c.Height; ++y) {
      uint8_t* row = bitmap.ScanLine(y);
      for (int i = 0; i < significant; ++i) {
        row[i] = c.Format == pf8bit ? (y == 0 ? 255 : 1) : (y == 0 ? 0xFF : 0x40 >> (y % 7));
      }
      // Bytes past the significant ones belong to no pixel and must not reach the file.
      for (int i = significant; i < (significant + 3) / 4 * 4; ++i) row[i] = 0xEE;
    }
    const fs::path file = Dir / "picture.bmp";
    bitmap.SaveToFile(file.string());
    const std::string bytes = ReadAll(file);
    const int stride = (significant + 3) / 4 * 4;
    const int paletteSize = c.Format == pf8bit ? 256 : 2;
    ASSERT_EQ(bytes.size(), 54u + 4 * paletteSize + stride * c.Height);
    EXPECT_EQ(bytes.find('\xEE', 54 + 4 * paletteSize), std::string::npos) << "padding is zero";

    // The colour table as stored: blue, green, red, 0 for each entry in order.
    for (int i = 0; i < paletteSize; ++i) {
      const TPaletteEntry e = bitmap.Palette()[i];
      EXPECT_EQ(bytes.substr(54 + 4 * i, 4),
                std::string({char(e.Blue), char(e.Green), char(e.Red), 0}));
    }
    // Qt's reader may reorder a 1-bit colour table, so pixels are compared by colour.
    QImage image(QString::fromStdString(file.string()), "BMP");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), c.Width);
    EXPECT_EQ(image.height(), c.Height);
    EXPECT_EQ(image.depth(), c.Format == pf8bit ? 8 : 1);
    for (int y = 0; y < c.Height; ++y) {
      for (int x = 0; x < c.Width; ++x) {
        const uint8_t* row = bitmap.ScanLine(y);
        const int index = c.Format == pf8bit ? row[x] : (row[x / 8] >> (7 - x % 8)) & 1;
        const TPaletteEntry e = bitmap.Palette()[index];
        ASSERT_EQ(image.pixel(x, y), qRgb(e.Red, e.Green, e.Blue)) << x << "," << y;
      }
    }
  }
}

TEST_F(TempDir, SavingReplacesAnExistingFile) {
  const fs::path file = Dir / "old.bmp";
  std::ofstream(file) << std::string(100000, 'x');
  MakeBitmap(pf1bit, 8, 8).SaveToFile(file.string());
  EXPECT_EQ(fs::file_size(file), 54u + 8 + 4 * 8);
  EXPECT_EQ(FilesIn(), 1);
}

TEST_F(TempDir, AFailedSaveLeavesTheOldFileAndNoLitter) {
  const fs::path file = Dir / "keep.bmp";
  const std::string old = "the previous picture";
  std::ofstream(file) << old;
  TIndexedBitmap big = MakeBitmap(pf8bit, 600, 600);

  {
    const TFileSizeLimit fullDisk(4096);
    try {
      big.SaveToFile(file.string());
      ADD_FAILURE() << "a save past the size limit succeeded";
    } catch (const EFileError& e) {
      EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("File too large"), std::string::npos) << e.what();
    }
  }
  EXPECT_EQ(ReadAll(file), old);
  EXPECT_EQ(FilesIn(), 1);

  // A folder that does not exist, and a target that is a folder.
  EXPECT_THROW(big.SaveToFile((Dir / "missing" / "x.bmp").string()), EFileError);
  fs::create_directory(Dir / "folder.bmp");
  EXPECT_THROW(big.SaveToFile((Dir / "folder.bmp").string()), EFileError);
  EXPECT_EQ(FilesIn(), 2);

  // A folder without write access (only meaningful when not running as root).
  if (::geteuid() != 0) {
    fs::permissions(Dir, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(big.SaveToFile(file.string()), EFileError);
    fs::permissions(Dir, fs::perms::owner_all);
    EXPECT_EQ(ReadAll(file), old);
  }
}

TEST_F(TempDir, RefusesToSaveABitmapWithoutPixels) {
  for (const auto& size : {std::pair{0, 0}, std::pair{5, 0}, std::pair{0, 5}}) {
    TIndexedBitmap empty = MakeBitmap(pf8bit, size.first, size.second);
    EXPECT_THROW(empty.SaveToFile((Dir / "empty.bmp").string()), EFileError);
  }
  EXPECT_EQ(FilesIn(), 0);
}

}  // namespace
}  // namespace tessarin
