#include "options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace tessarin::cli {

const char* const UsageText =
    "Usage: tessarin-render [options]\n"
    "Renders a zone plate and writes it as a BMP file, or as PNG when the name ends in .png.\n"
    "\n"
    "  --size N       side of the square in pixels, 1 to 65535 (default 512)\n"
    "  --period P     ring period at the middle of each edge in pixels, a 32-bit float;\n"
    "                 negative periods invert the two-tone formats (default 4)\n"
    "  --format F     greyscale, halftone, antialiased or pure (default greyscale)\n"
    "  --output FILE  the file to write (default zoneplate.bmp)\n"
    "  --threads N    worker threads, 1 to 1024 (default: one per processor core)\n"
    "  --quiet        print nothing but errors\n"
    "  --help         show this text\n"
    "  --version      show the version\n"
    "\n"
    "Exit status: 0 written, 1 the render or the save failed, 2 a mistake in the arguments.\n";

namespace {

std::optional<long> ParseWhole(const std::string& text) {
  if (text.empty() || text.find_first_not_of("+-0123456789") != std::string::npos) return {};
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0') return {};
  return value;
}

std::optional<float> ParsePeriod(const std::string& text) {
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return {};
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);  // the C locale: "." always
  if (*end != '\0') return {};
  const auto period = static_cast<float>(value);
  if (!std::isfinite(period) || period == 0.0f) return {};
  return period;
}

std::optional<TOutputFormat> ParseFormat(const std::string& text) {
  for (const auto format : {zfGreyscale, zfRandomHalfTone, zfTwoToneAntiAliased, zfTwoTonePure}) {
    if (text == OutputFormatName(format)) return format;
  }
  return {};
}

}  // namespace

std::optional<TOptions> ParseOptions(const std::vector<std::string>& args, std::string& error) {
  TOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> inlineValue;
    if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name.resize(eq);
    }
    const bool takesValue = name == "--size" || name == "--period" || name == "--format" ||
                            name == "--output" || name == "--threads";
    if (!takesValue) {
      if (inlineValue) {
        error = name + " takes no value";
        return {};
      }
      if (name == "--quiet") {
        options.Quiet = true;
      } else if (name == "--help") {
        options.Help = true;
      } else if (name == "--version") {
        options.Version = true;
      } else {
        error = "unknown option \"" + name + "\" (see --help)";
        return {};
      }
      continue;
    }
    if (!inlineValue && i + 1 >= args.size()) {
      error = name + " needs a value";
      return {};
    }
    const std::string value = inlineValue ? *inlineValue : args[++i];
    if (name == "--size") {
      const auto size = ParseWhole(value);
      if (!size || *size < 1 || *size > 65535) {
        error = "--size must be a whole number from 1 to 65535, not \"" + value + "\"";
        return {};
      }
      options.Settings.Size = static_cast<int32_t>(*size);
    } else if (name == "--period") {
      const auto period = ParsePeriod(value);
      if (!period) {
        error =
            "--period must be a finite number other than 0 within the 32-bit float range, "
            "not \"" +
            value + "\"";
        return {};
      }
      options.Settings.CyclePeriod = *period;
    } else if (name == "--format") {
      const auto format = ParseFormat(value);
      if (!format) {
        error = "--format must be greyscale, halftone, antialiased or pure, not \"" + value + "\"";
        return {};
      }
      options.Settings.OutputFormat = *format;
    } else if (name == "--output") {
      if (value.empty()) {
        error = "--output needs a file name";
        return {};
      }
      options.Output = value;
    } else {
      const auto threads = ParseWhole(value);
      if (!threads || *threads < 1 || *threads > 1024) {
        error = "--threads must be a whole number from 1 to 1024, not \"" + value + "\"";
        return {};
      }
      options.Threads = static_cast<int>(*threads);
    }
  }
  return options;
}

}  // namespace tessarin::cli
