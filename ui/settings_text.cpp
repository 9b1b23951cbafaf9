#include "settings_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tessarin {
namespace {

bool IsSpace(char ch) {
  return ch == ' ' || (ch >= 9 && ch <= 13);
}
bool IsDigit(char ch) {
  return ch >= '0' && ch <= '9';
}

// The smallest double that rounds to infinity as a float: halfway between FLT_MAX and 2^128.
constexpr double FloatOverflow = 3.4028235677973366e38;

}  // namespace

int32_t SizeFromText(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint32_t value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) value = value * 10 + (text[i] - '0');
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

float PeriodFromText(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  bool signed_ = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    signed_ = true;
    negative = text[i++] == '-';
  }
  const float sign = negative ? -1.0f : 1.0f;
  if (signed_ && text.substr(i, 3) == "INF") return sign * std::numeric_limits<float>::infinity();
  if (signed_ && text.substr(i, 3) == "NAN") {
    return std::copysign(std::numeric_limits<float>::quiet_NaN(), sign);
  }

  // The longest prefix that reads as digits [. digits] [e [sign] digits].
  const size_t start = i;
  size_t integerDigits = 0;
  size_t leadingZeros = 0;  // zeros before the first non-zero digit
  bool nonZeroSeen = false;
  auto takeDigit = [&](bool integerPart) {
    if (text[i] != '0') nonZeroSeen = true;
    if (!nonZeroSeen) ++leadingZeros;
    if (integerPart && nonZeroSeen) ++integerDigits;
    ++i;
  };
  while (i < text.size() && IsDigit(text[i])) takeDigit(true);
  const size_t integerEnd = i;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) takeDigit(false);
  }
  const bool anyDigit = i - start > (i > integerEnd ? 1u : 0u);
  if (!anyDigit) return sign * 0.0f;
  const size_t mantissaEnd = i;
  long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    bool negativeExponent = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) negativeExponent = text[j++] == '-';
    if (j < text.size() && IsDigit(text[j])) {
      for (; j < text.size() && IsDigit(text[j]); ++j) {
        exponent = std::min(exponent * 10 + (text[j] - '0'), 100000L);
      }
      if (negativeExponent) exponent = -exponent;
      i = j;
    }
  }
  const std::string number(text.substr(start, (i > mantissaEnd ? i : mantissaEnd) - start));
  double value = 0.0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error == std::errc::result_out_of_range) {
    // Decimal magnitude of the number: where its first significant digit stands.
    const long magnitude =
        (integerDigits > 0 ? static_cast<long>(integerDigits)
                           : -static_cast<long>(leadingZeros - integerEnd + start)) +
        exponent;
    value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  if (value >= FloatOverflow) return sign * std::numeric_limits<float>::infinity();
  return sign * static_cast<float>(value);
}

TOutputFormat FormatFromButtons(bool greyscale, bool pure, bool antiAliased) {
  if (greyscale) return zfGreyscale;
  if (pure) return zfTwoTonePure;
  if (antiAliased) return zfTwoToneAntiAliased;
  return zfRandomHalfTone;
}

}  // namespace tessarin
