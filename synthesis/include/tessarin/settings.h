#pragma once

#include <cstdint>

namespace tessarin {

// Output formats, in the order of their radio buttons in the settings dialog.
enum TOutputFormat { zfGreyscale, zfRandomHalfTone, zfTwoToneAntiAliased, zfTwoTonePure };

struct TZonePlateSettings {
  int32_t Size = 512;       // side of the square in pixels; 0 or less renders nothing
  float CyclePeriod = 4.0f;  // ring period at the middle of each edge, in pixels
  TOutputFormat OutputFormat = zfGreyscale;
};

}  // namespace tessarin
