#pragma once

// The printed sizes of one grid square, in inches, with their names. A map
// stores the size itself; dialogs and the status bar show its name.
constexpr int kGridSizeCount = 7;
constexpr int kDefaultGridSizeIndex = 2;
extern const float GridSizes[kGridSizeCount];
extern const char* const GridSizeNames[kGridSizeCount];
// Index of the first size exactly equal to size, or 2 (one inch) when none
// is.
int GridSizeIndex(float size);
