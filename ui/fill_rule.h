#pragma once

#include <optional>

namespace tessarin::ui {

struct TPictureSize {
  int Width = 0;
  int Height = 0;
};

// The sizes of the view's two black fill areas: the bottom strip's height and the right
// strip's width.
struct TFillSizes {
  int BottomHeight = 0;
  int RightWidth = 0;
  friend bool operator==(const TFillSizes&, const TFillSizes&) = default;
};

// For a view whose client area is clientWidth x clientHeight: without a picture the bottom
// strip covers everything; with one, the strips take what the picture leaves free.
TFillSizes FillRule(int clientWidth, int clientHeight, std::optional<TPictureSize> picture);

}  // namespace tessarin::ui
