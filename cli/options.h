#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tessarin/settings.h"

namespace tessarin::cli {

struct TOptions {
  TZonePlateSettings Settings{512, 4.0f, zfGreyscale};
  std::string Output = "zoneplate.bmp";
  int Threads = 0;
  bool Quiet = false;
  bool Help = false;
  bool Version = false;
};

// Reads the command line strictly; on a mistake returns nothing and sets `error` to one line
// that names it.
std::optional<TOptions> ParseOptions(const std::vector<std::string>& args, std::string& error);

extern const char* const UsageText;

}  // namespace tessarin::cli
