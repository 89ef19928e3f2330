#pragma once

class QPainter;
struct TSubCellPaint;

// Draws the grey grid lines a sub-cell carries (TSubCellPaint's flags on its
// LineRect). The map grid and RenderMap both draw their lines here, so the
// picture on the screen and the one written to a file cannot drift apart.
void DrawSubCellLines(QPainter& painter, const TSubCellPaint& cell);
