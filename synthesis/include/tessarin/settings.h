#pragma once

#include <cstdint>

namespace tessarin {

// Output formats, in the order of their radio buttons in the settings dialog.
enum TOutputFormat { zfGreyscale, zfRandomHalfTone, zfTwoToneAntiAliased, zfTwoTonePure };

// The short names of the formats, as the command line takes them.
constexpr const char* OutputFormatName(TOutputFormat format) {
  switch (format) {
    case zfGreyscale:
      return "greyscale";
    case zfRandomHalfTone:
      return "halftone";
    case zfTwoToneAntiAliased:
      return "antialiased";
    case zfTwoTonePure:
      return "pure";
  }
  return "";
}

struct TZonePlateSettings {
  int32_t Size = 512;        // side of the square in pixels; 0 or less renders nothing
  float CyclePeriod = 4.0f;  // ring period at the middle of each edge, in pixels
  TOutputFormat OutputFormat = zfGreyscale;
};

}  // namespace tessarin
