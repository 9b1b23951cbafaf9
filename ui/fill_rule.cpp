#include "fill_rule.h"

#include <algorithm>

namespace tessarin::ui {

TFillSizes FillRule(int clientWidth, int clientHeight, std::optional<TPictureSize> picture) {
  if (!picture) return {clientHeight, clientWidth};
  return {std::max(0, clientHeight - picture->Height), std::max(0, clientWidth - picture->Width)};
}

}  // namespace tessarin::ui
