// Times RenderZonePlate against the plain per-pixel loop, the BMP writer against a plain write
// of the same bytes, and the peak memory of tessarin-render, all in one run.
//
//   build/bench/tessarin-bench [--sizes 4096,8192,16384] [--period 4] [--skip-reference]
//                              [--dir DIR]
// Each render is also compared pixel by pixel with the plain loop's picture.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "reference_renderer.h"
#include "tessarin/renderer.h"

extern char** environ;

namespace {

using namespace tessarin;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

template <typename F>
double Best(int runs, F&& f) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    f();
    best = std::min(best, Seconds(start));
  }
  return best;
}

// A plain write of `bytes` bytes in 4 MiB blocks, flushed to the disk like SaveToFile.
double PlainWrite(const std::string& file, int64_t bytes) {
  std::vector<char> block(size_t{1} << 22, 'x');
  const auto start = Clock::now();
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  for (int64_t left = bytes; left > 0;) {
    const auto n = static_cast<size_t>(std::min<int64_t>(left, block.size()));
    if (::write(fd, block.data(), n) != static_cast<ssize_t>(n)) std::perror("write");
    left -= n;
  }
  ::fsync(fd);
  ::close(fd);
  const double t = Seconds(start);
  ::unlink(file.c_str());
  return t;
}

// Peak resident memory of one tessarin-render run, in MiB.
double RenderPeakMiB(const std::string& program, int size, const char* format,
                     const std::string& output) {
  const std::string sizeText = std::to_string(size);
  const char* argv[] = {program.c_str(), "--size",       sizeText.c_str(), "--format", format,
                        "--output",      output.c_str(), "--quiet",        nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, const_cast<char**>(argv), environ) !=
      0) {
    return -1;
  }
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  ::unlink(output.c_str());
  return usage.ru_maxrss / 1024.0;
}

// Pixels where the fast render and the plain loop differ, and how many of those do not lie
// at a decision boundary (which must be none).
std::string Differences(const TZonePlateSettings& s, const TIndexedBitmap& fast,
                        const TIndexedBitmap& plain) {
  int64_t differing = 0;
  int64_t offBoundary = 0;
  for (int y = 0; y < s.Size; ++y) {
    const uint8_t* a = fast.ScanLine(y);
    const uint8_t* b = plain.ScanLine(y);
    if (std::memcmp(a, b, static_cast<size_t>(fast.SignificantBytes())) == 0) continue;
    for (int x = 0; x < s.Size; ++x) {
      const bool same = fast.PixelFormat() == pf8bit
                            ? a[x] == b[x]
                            : ((a[x / 8] ^ b[x / 8]) & (0x80 >> (x % 8))) == 0;
      if (same) continue;
      ++differing;
      if (!reference::NearBoundary(s, x, y)) ++offBoundary;
    }
  }
  return std::to_string(differing) + " (" + std::to_string(offBoundary) + ")";
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes = {4096, 8192, 16384};
  bool reference = true;
  std::string dir = ".";
  float period = 4.0f;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--skip-reference") {
      reference = false;
    } else if (arg == "--sizes" && i + 1 < argc) {
      sizes.clear();
      for (const char* p = argv[++i]; *p;) {
        sizes.push_back(std::atoi(p));
        p = std::strchr(p, ',') ? std::strchr(p, ',') + 1 : p + std::strlen(p);
      }
    } else if (arg == "--period" && i + 1 < argc) {
      period = std::strtof(argv[++i], nullptr);
    } else if (arg == "--dir" && i + 1 < argc) {
      dir = argv[++i];
    } else {
      std::fprintf(stderr,
                   "usage: %s [--sizes A,B,...] [--period P] [--skip-reference] [--dir DIR]\n",
                   argv[0]);
      return 2;
    }
  }
  const std::string render = std::string(TESSARIN_RENDER);
  std::printf("threads: %u (all cores)\n\n", std::thread::hardware_concurrency());
  // A child's peak memory counts what its parent held when it started, so tessarin-render is
  // measured first, while this program is still small.
  std::vector<double> peaks;
  for (const int size : sizes) {
    for (const char* format : {"greyscale", "halftone", "antialiased", "pure"}) {
      peaks.push_back(RenderPeakMiB(render, size, format, dir + "/tessarin-bench-cli.bmp"));
    }
  }
  size_t nextPeak = 0;
  std::printf(
      "| format | size | RenderZonePlate s | plain loop s | ratio | pixels differing "
      "(off a boundary) | save BMP s | plain write s | tessarin-render peak MiB |\n"
      "|---|---|---|---|---|---|---|---|---|\n");
  for (const int size : sizes) {
    for (const auto format : {zfGreyscale, zfRandomHalfTone, zfTwoToneAntiAliased, zfTwoTonePure}) {
      const TZonePlateSettings s{size, period, format};
      TIndexedBitmap bitmap = reference::PreparedBitmap(s);
      TRandomSource random;
      const double fast = Best(3, [&] { RenderZonePlate(s, bitmap, {}, random); });
      double plain = 0;
      std::string differences = "-";
      if (reference) {
        TIndexedBitmap expected = reference::PreparedBitmap(s);
        TRandomSource plainRandom;
        plain = Best(1, [&] { reference::Render(s, expected, plainRandom); });
        // The last timed render continued the generator; render once more from the start.
        TRandomSource fresh;
        RenderZonePlate(s, bitmap, {}, fresh);
        differences = Differences(s, bitmap, expected);
      }
      const std::string file = dir + "/tessarin-bench.bmp";
      double save = 1e30;
      for (int run = 0; run < 2; ++run) {
        ::unlink(file.c_str());  // a new file each time, as for the plain write
        save = std::min(save, Best(1, [&] { bitmap.SaveToFile(file); }));
      }
      ::unlink(file.c_str());
      const int64_t bytes = 54 + 4 * static_cast<int64_t>(bitmap.Palette().size()) +
                            (bitmap.SignificantBytes() + 3) / 4 * 4 * size;
      const double write = Best(2, [&] { PlainWrite(dir + "/tessarin-bench.raw", bytes); });
      const double peak = peaks[nextPeak++];
      std::printf("| %s | %d | %.3f | %s | %s | %s | %.3f | %.3f | %.0f |\n",
                  OutputFormatName(format), size, fast,
                  reference ? std::to_string(plain).substr(0, 6).c_str() : "-",
                  reference ? (std::to_string(plain / fast).substr(0, 5) + "x").c_str() : "-",
                  differences.c_str(), save, write, peak);
      std::fflush(stdout);
    }
  }
}
