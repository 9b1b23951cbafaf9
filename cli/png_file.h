#pragma once

#include <string>

#include "tessarin/indexed_bitmap.h"

namespace tessarin::cli {

// Writes the bitmap as a greyscale PNG: 8 bits a pixel, or 1 bit where 1 is white. Like
// SaveToFile, the target is replaced only by a complete file; failures raise EFileError.
void SavePng(const TIndexedBitmap& bitmap, const std::string& fileName);

}  // namespace tessarin::cli
