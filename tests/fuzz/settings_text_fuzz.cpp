// libFuzzer target for the settings dialog's text conversions: any text yields a value,
// never a crash or undefined behaviour.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const int32_t sizeValue = tessarin::SizeFromText(text);
  const float period = tessarin::PeriodFromText(text);

  // A short plain number must read as the C library reads it.
  if (!text.empty() && text.size() <= 9 && text.find_first_not_of("0123456789") == text.npos) {
    if (sizeValue != std::atoi(std::string(text).c_str())) std::abort();
  }
  if (!text.empty() && text.size() <= 20 && text.find_first_not_of("0123456789.") == text.npos &&
      text.find('.') == text.rfind('.') && text != ".") {
    const float expected = std::strtof(std::string(text).c_str(), nullptr);
    if (!(period == expected || (std::isinf(period) && std::isinf(expected)))) std::abort();
  }
  return 0;
}
