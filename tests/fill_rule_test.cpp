#include <gtest/gtest.h>

#include "fill_rule.h"

namespace tessarin::ui {
namespace {

TEST(FillRule, StripsTakeWhatThePictureLeaves) {
  struct Case {
    const char* What;
    int ClientWidth, ClientHeight;
    std::optional<TPictureSize> Picture;
    TFillSizes Expected;
  };
  const Case cases[] = {
      {"no picture: all black", 621, 448, std::nullopt, {448, 621}},
      {"no picture, other size", 300, 900, std::nullopt, {900, 300}},
      {"smaller both ways", 621, 448, TPictureSize{100, 50}, {398, 521}},
      {"equal", 621, 448, TPictureSize{621, 448}, {0, 0}},
      {"larger both ways", 621, 448, TPictureSize{1000, 900}, {0, 0}},
      {"taller, narrower (a vertical scroll bar shows)", 604, 448, TPictureSize{512, 512}, {0, 92}},
      {"wider, lower (a horizontal scroll bar shows)", 621, 431, TPictureSize{700, 200}, {231, 0}},
      {"empty picture", 621, 448, TPictureSize{0, 0}, {448, 621}},
      {"view without room", 0, 0, TPictureSize{32, 32}, {0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FillRule(c.ClientWidth, c.ClientHeight, c.Picture), c.Expected) << c.What;
  }
}

}  // namespace
}  // namespace tessarin::ui
