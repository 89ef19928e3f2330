#pragma once

#include <QImage>

// Floor pictures. A random floor's picture holds its variants side by side,
// one cell each; every variant repeats seamlessly and all variants agree on a
// thin ring along the cell border, so they fit together in any arrangement.
QImage PaintFlagstones(int variants);
QImage PaintMarble(int variants);
QImage PaintPlanks(int variants);
QImage PaintCobbles(int variants);
QImage PaintGrass(int variants);
QImage PaintDirt(int variants);
QImage PaintWater(int variants);

// Pattern floors larger than a cell.
QImage PaintMosaic();  // 2 × 2 cells
QImage PaintStairs();  // 1 × 2 cells, descending downwards
