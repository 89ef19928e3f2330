#include "GridSizes.h"

const float GridSizes[kGridSizeCount] = {0.25f, 0.5f, 1.0f, 1.5f, 2.0f, 2.5f, 3.0f};
const char* const GridSizeNames[kGridSizeCount] = {
    "1/4 inch grid - Overview Size",  "1/2 inch grid - Small",
    "1 inch grid - 25 mm Miniatures", "1.5 inch grid - 30 mm Miniatures",
    "2 inch grid - 35 mm Miniatures", "2.5 inch grid - Large",
    "3 inch grid - Massive"};

int GridSizeIndex(float size) {
  for (int i = 0; i < kGridSizeCount; ++i)
    if (GridSizes[i] == size) return i;
  return kDefaultGridSizeIndex;
}
