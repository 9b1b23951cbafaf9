#pragma once

// The conversions behind TSettingsBox::ReadSettings: from the texts and checked buttons of
// the settings dialog to a TZonePlateSettings. They need no window, cope with any text and
// never fail.
#include <cstdint>
#include <string_view>

#include "tessarin/settings.h"

namespace tessarin {

// The classic decimal rule: white space (codes 9 to 13 and 32), one optional sign, then
// digits up to the first other character, accumulated modulo 2^32. No digits give 0.
int32_t SizeFromText(std::string_view text);

// White space, one optional sign, then "INF" or "NAN" in capitals after a sign, or a decimal
// number with "." as its point and an optional exponent, up to the first character that does
// not fit. The value is rounded to the nearest 32-bit float; beyond the range of a double,
// or of a float, it becomes infinity with the number's sign. No digits give 0.
float PeriodFromText(std::string_view text);

// The first checked of "Greyscale", "Two tone, pure", "Two-tone, anti-aliassed"; otherwise
// random half-tone.
TOutputFormat FormatFromButtons(bool greyscale, bool pure, bool antiAliased);

}  // namespace tessarin
