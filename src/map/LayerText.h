#pragma once

#include <QByteArray>

#include <functional>
#include <vector>

class TMapTileList;

// The text form of one map layer: the cells row by row, separated by 0xB6;
// an occupied cell is "orientation 0xB5 x;y 0xB5 index" in decimal.
constexpr char kEntrySeparator = char(0xB6);
constexpr char kFieldSeparator = char(0xB5);
constexpr char kPositionSeparator = ';';

struct TLayerEntry {
  quint8 Orientation = 0;  // the low 8 bits of the number written
  int X = 0;
  int Y = 0;
  int TileIndex = 0;
};

// The layer's text, every tile index replaced by newIndexOf[index].
QByteArray BuildLayerText(const TMapTileList& layer, const std::vector<int>& newIndexOf);

// Calls visit for every entry of a layer text in text order. Empty entries and
// empty words are skipped; a missing or non-decimal number raises
// TConvertError.
void ParseLayerText(const QByteArray& text, const std::function<void(const TLayerEntry&)>& visit);
