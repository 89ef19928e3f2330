#pragma once

class QIODevice;
class TExportProgress;
class TMapRenderer;
struct TVttGeometry;

// Writes a Universal VTT file (JSON, format 0.3): the map's size in squares
// and the picture's pixels per square, the walls as line-of-sight polylines
// and the doors as closed portals, all in squares, no lights, and the
// picture as a base64 PNG, streamed so that the picture is never held whole.
// Returns false when the progress reports a cancel.
bool WriteVtt(const TVttGeometry& geometry, TMapRenderer& renderer, int columns, int rows,
              int pixelsPerSquare, QIODevice& device, TExportProgress* progress);
