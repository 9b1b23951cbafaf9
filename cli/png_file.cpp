#include "png_file.h"

#include <png.h>

#include <csetjmp>
#include <exception>

#include "tessarin/atomic_file.h"
#include "tessarin/errors.h"

namespace tessarin::cli {
namespace {

// libpng reports errors by longjmp, which must not cross C++ frames with destructors: the
// callbacks keep the failure here and the writer rethrows it once back in C++.
struct TPngSink {
  TAtomicFile* File = nullptr;
  std::exception_ptr Failure;
  char Message[256] = {};
};

void OnWrite(png_structp png, png_bytep data, png_size_t size) {
  auto* sink = static_cast<TPngSink*>(png_get_io_ptr(png));
  try {
    sink->File->Write(data, size);
  } catch (...) {
    sink->Failure = std::current_exception();
    png_error(png, "write failed");
  }
}

void OnFlush(png_structp) {}

void OnError(png_structp png, png_const_charp message) {
  auto* sink = static_cast<TPngSink*>(png_get_error_ptr(png));
  snprintf(sink->Message, sizeof sink->Message, "%s", message);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Plain C-style body: nothing here has a destructor that a longjmp could skip.
bool WriteRows(png_structp png, png_infop info, const TIndexedBitmap& bitmap) {
  if (setjmp(png_jmpbuf(png))) return false;
  const int depth = bitmap.PixelFormat() == pf8bit ? 8 : 1;
  png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.Width()),
               static_cast<png_uint_32>(bitmap.Height()), depth, PNG_COLOR_TYPE_GRAY,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 1);
  png_write_info(png, info);
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    png_write_row(png, bitmap.ScanLine(y));
  }
  png_write_end(png, info);
  return true;
}

}  // namespace

void SavePng(const TIndexedBitmap& bitmap, const std::string& fileName) {
  if (bitmap.Width() == 0 || bitmap.Height() == 0) {
    throw EFileError("The file \"" + fileName + "\" was not written: the bitmap has no pixels");
  }
  TAtomicFile file(fileName);
  TPngSink sink;
  sink.File = &file;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, OnError, OnWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    throw EFileError("The file \"" + fileName + "\" was not written: out of memory");
  }
  png_set_write_fn(png, &sink, OnWrite, OnFlush);
  const bool written = WriteRows(png, info, bitmap);
  png_destroy_write_struct(&png, &info);
  if (sink.Failure) std::rethrow_exception(sink.Failure);
  if (!written) {
    throw EFileError("The file \"" + fileName + "\" was not written: " + sink.Message);
  }
  file.Commit();
}

}  // namespace tessarin::cli
