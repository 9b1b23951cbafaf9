#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "settings_text.h"

namespace tessarin {
namespace {

TEST(SettingsText, SizeByTheClassicDecimalRule) {
  struct Case {
    std::string Text;
    int32_t Size;
  };
  const Case cases[] = {
      {"512", 512},
      {"  64", 64},
      {"+48", 48},
      {"-32", -32},
      {"100abc", 100},
      {"12 34", 12},
      {"", 0},
      {"abc", 0},
      {"4294967328", 32},
      {"2147483648", -2147483648},
      {"\t\n\v\f\r 7", 7},
      {"+-5", 0},
      {"- 5", 0},
      {"\xA0"
       "5",
       0},
      {"99999999999999999999", 1661992959},
      {"-2147483649", 2147483647},
  };
  for (const Case& c : cases) EXPECT_EQ(SizeFromText(c.Text), c.Size) << '"' << c.Text << '"';
}

TEST(SettingsText, PeriodRoundedToAFloat) {
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    std::string Text;
    float Period;
  };
  const Case cases[] = {
      {"4", 4.0f},
      {"2.5", 2.5f},
      {" 3", 3.0f},
      {"2,5", 2.0f},
      {".5", 0.5f},
      {"1e1", 10.0f},
      {"0.1", 0.1f},
      {"", 0.0f},
      {".", 0.0f},
      {"abc", 0.0f},
      {"+INF", inf},
      {"-INF", -inf},
      {"inf", 0.0f},
      {"INF", 0.0f},
      {"+inf", 0.0f},
      {"1e999", inf},
      {"-1e999", -inf},
      {"1e39", inf},
      {"-1e39", -inf},
      {"3.4028235e38", 3.4028235e38f},
      {"1e-999", 0.0f},
      {"5.", 5.0f},
      {"1e", 1.0f},
      {"1e+", 1.0f},
      {"2.2", 2.2f},
      {"-3.7x", -3.7f},
      {"0x10", 0.0f},
      {"  -  4", 0.0f},
      {"1E2", 100.0f},
      {"0.0001e5", 10.0f},
      {"1e-45", 1e-45f},
      {"e5", 0.0f},
      {"000.000000000000000000000000000000000000000001e400", inf},
      {"100000000000000000000000000000000000000000000e-400", 0.0f},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PeriodFromText(c.Text), c.Period) << '"' << c.Text << '"';
  }
  EXPECT_TRUE(std::signbit(PeriodFromText("-0")));
  EXPECT_TRUE(std::isnan(PeriodFromText("+NAN")));
  EXPECT_FALSE(std::signbit(PeriodFromText("+NAN")));
  EXPECT_TRUE(std::signbit(PeriodFromText("-NAN")));
  EXPECT_EQ(PeriodFromText("NAN"), 0.0f);
  // Rounded once, to the nearest float, from the double value.
  EXPECT_EQ(PeriodFromText("2.2000000476837158"), 2.2f);
}

TEST(SettingsText, FormatFromTheFirstCheckedButton) {
  EXPECT_EQ(FormatFromButtons(true, false, false), zfGreyscale);
  EXPECT_EQ(FormatFromButtons(false, true, false), zfTwoTonePure);
  EXPECT_EQ(FormatFromButtons(false, false, true), zfTwoToneAntiAliased);
  EXPECT_EQ(FormatFromButtons(false, false, false), zfRandomHalfTone);
  EXPECT_EQ(FormatFromButtons(true, true, true), zfGreyscale);
  EXPECT_EQ(FormatFromButtons(false, true, true), zfTwoTonePure);
}

}  // namespace
}  // namespace tessarin
