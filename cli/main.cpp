// tessarin-render: the zone plate renderer from the command line.
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "options.h"
#include "png_file.h"
#include "tessarin/renderer.h"

namespace {

using namespace tessarin;

bool EndsWithPng(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& ch : tail) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return tail == ".png";
}

void DrawProgress(int32_t percent) {
  constexpr int Width = 40;
  const int filled = percent * Width / 100;
  std::fprintf(stderr, "\rRendering [%s%s] %3d%%", std::string(filled, '#').c_str(),
               std::string(Width - filled, ' ').c_str(), percent);
  std::fflush(stderr);
}

int Run(const cli::TOptions& options) {
  const TZonePlateSettings& settings = options.Settings;
  TIndexedBitmap bitmap;
  bitmap.SetPixelFormat(settings.OutputFormat == zfGreyscale ? pf8bit : pf1bit);
  bitmap.SetWidth(settings.Size);
  bitmap.SetHeight(settings.Size);
  AssignPalette(bitmap);

  const bool showProgress = !options.Quiet && ::isatty(STDERR_FILENO);
  TProgressHook onProgress;
  if (showProgress) onProgress = DrawProgress;
  RenderZonePlate(settings, bitmap, onProgress, TRenderOptions{options.Threads});
  if (showProgress) {
    DrawProgress(100);
    std::fputc('\n', stderr);
  }

  if (EndsWithPng(options.Output)) {
    cli::SavePng(bitmap, options.Output);
  } else {
    bitmap.SaveToFile(options.Output);
  }
  if (!options.Quiet) {
    std::printf("Wrote %s: %d x %d, %s, cycle period %.9g\n", options.Output.c_str(), settings.Size,
                settings.Size, OutputFormatName(settings.OutputFormat),
                static_cast<double>(settings.CyclePeriod));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto options = cli::ParseOptions(args, error);
  if (!options) {
    std::fprintf(stderr, "tessarin-render: %s\n", error.c_str());
    return 2;
  }
  if (options->Help) {
    std::fputs(cli::UsageText, stdout);
    return 0;
  }
  if (options->Version) {
    std::printf("tessarin-render %s\n", TESSARIN_VERSION);
    return 0;
  }
  try {
    return Run(*options);
  } catch (const std::exception& e) {
    if (!options->Quiet && ::isatty(STDERR_FILENO)) std::fputc('\n', stderr);
    std::fprintf(stderr, "tessarin-render: %s\n", e.what());
    return 1;
  }
}
