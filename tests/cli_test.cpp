#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

struct TResult {
  int Status;
  std::string Out;
  std::string Err;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() / ("tessarin-cli-" + std::to_string(::getpid()));
    fs::remove_all(Dir);
    fs::create_directories(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }

  // Runs tessarin-render in the test folder; stdin is empty, stdout and stderr are files.
  TResult Run(const std::string& args) const {
    const std::string command = "cd '" + Dir.string() + "' && '" TESSARIN_RENDER "' " + args +
                                " >out.txt 2>err.txt </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(Dir / "out.txt"),
            ReadAll(Dir / "err.txt")};
  }
  int Files() const { return static_cast<int>(std::distance(fs::directory_iterator(Dir), {})); }

  fs::path Dir;
};

TEST_F(Cli, RejectsBadArgumentsWithOneLineAndStatusTwo) {
  struct Case {
    std::string Args;
    std::string Message;
  };
  const Case cases[] = {
      {"--size", "--size needs a value"},
      {"--size abc", "--size must be a whole number from 1 to 65535, not \"abc\""},
      {"--size 0", "not \"0\""},
      {"--size 65536", "not \"65536\""},
      {"--size 12x", "not \"12x\""},
      {"--period 0", "--period must be a finite number"},
      {"--period inf", "not \"inf\""},
      {"--period nan", "not \"nan\""},
      {"--period 1e39", "not \"1e39\""},
      {"--period 4,5", "not \"4,5\""},
      {"--format colour", "--format must be greyscale, halftone, antialiased or pure"},
      {"--colour", "unknown option \"--colour\""},
      {"--threads 0", "--threads must be a whole number from 1 to 1024"},
      {"--output", "--output needs a value"},
      {"--quiet=yes", "--quiet takes no value"},
  };
  for (const Case& c : cases) {
    const TResult r = Run(c.Args);
    EXPECT_EQ(r.Status, 2) << c.Args;
    EXPECT_EQ(r.Err, "tessarin-render: " + r.Err.substr(17)) << c.Args;
    EXPECT_NE(r.Err.find(c.Message), std::string::npos) << c.Args << ": " << r.Err;
    EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << c.Args;
    EXPECT_EQ(Files(), 2) << "nothing written for " << c.Args;
  }
}

TEST_F(Cli, WritesTheDefaultPicture) {
  const TResult r = Run("");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "Wrote zoneplate.bmp: 512 x 512, greyscale, cycle period 4\n");
  EXPECT_EQ(r.Err, "") << "no progress bar when stderr is not a terminal";
  const QImage image(QString::fromStdString((Dir / "zoneplate.bmp").string()));
  ASSERT_EQ(image.width(), 512);
  EXPECT_EQ(image.pixelIndex(256, 256), 255);
  EXPECT_EQ(image.pixelIndex(100, 200), 19);
}

TEST_F(Cli, WritesEachFormatAsBmpOrPng) {
  struct Case {
    std::string Args;
    std::string File;
    QImage::Format Format;
    int CentreIndex;
  };
  const Case cases[] = {
      {"--size 33 --period 2.5 --format antialiased --output a.bmp", "a.bmp", QImage::Format_Mono,
       1},
      {"--size 20 --format halftone --output b.png", "b.png", QImage::Format_Mono, 1},
      {"--size=40 --period=-3 --format=pure --output c.PNG --threads 3", "c.PNG",
       QImage::Format_Mono, 1},
      {"--size 64 --output d.png --quiet", "d.png", QImage::Format_Grayscale8, 255},
  };
  for (const Case& c : cases) {
    const TResult r = Run(c.Args);
    ASSERT_EQ(r.Status, 0) << c.Args << ": " << r.Err;
    QImage image(QString::fromStdString((Dir / c.File).string()));
    ASSERT_FALSE(image.isNull()) << c.Args;
    EXPECT_EQ(image.format(), c.Format) << c.Args;
    const int centre = image.width() / 2;
    if (c.Format == QImage::Format_Mono) {
      EXPECT_EQ(image.pixel(centre, centre), qRgb(255, 255, 255)) << c.Args;
    } else {
      EXPECT_EQ(qGray(image.pixel(centre, centre)), c.CentreIndex) << c.Args;
    }
  }
  EXPECT_EQ(Run("--quiet --size 8").Out, "");
}

TEST_F(Cli, FailuresGiveStatusOne) {
  EXPECT_EQ(Run("--period 1e-30").Status, 1);  // a phase beyond 2^53 at the first pixel
  const TResult r = Run("--output missing/x.bmp");
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find("missing/x.bmp"), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("No such file or directory"), std::string::npos) << r.Err;
}

TEST_F(Cli, HelpAndVersion) {
  const TResult help = Run("--help");
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Out.find("--format F"), std::string::npos);
  EXPECT_EQ(Run("--version").Out, "tessarin-render 1.0.0.16\n");
}

}  // namespace
