#pragma once

class TBandWriter;
class TExportProgress;
class TMapRenderer;

// Renders the picture a band of rows at a time and hands each row to the
// writer in the order it asks for. Bands hold about 8 MB of pixels, so
// memory stays bounded whatever the picture's size. Returns false, having
// stopped between two bands, when the progress reports a cancel.
bool WriteBands(TMapRenderer& renderer, TBandWriter& writer, TExportProgress* progress);
