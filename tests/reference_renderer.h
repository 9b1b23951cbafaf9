#pragma once

// A plain per-pixel zone plate loop, written straight from the rules with std::cos and
// std::sin: what the fast renderer is measured and checked against.
#include "tessarin/indexed_bitmap.h"
#include "tessarin/random_source.h"
#include "tessarin/settings.h"

namespace tessarin::reference {

// Renders into a bitmap prepared as RenderZonePlate expects; no error checks.
void Render(const TZonePlateSettings& settings, TIndexedBitmap& bitmap, TRandomSource& random);

// True where the pixel's exact value lies within a few ulps of a decision boundary, where two
// correct sine or cosine implementations may disagree.
bool NearBoundary(const TZonePlateSettings& settings, int x, int y);

// A bitmap of the right format, size and palette for the settings.
TIndexedBitmap PreparedBitmap(const TZonePlateSettings& settings);

}  // namespace tessarin::reference
