#include "LayerText.h"

#include "TileMapObjects.h"
#include "base/Convert.h"
#include "storage/AnsiText.h"

#include <limits>

QByteArray BuildLayerText(const TMapTileList& layer, const std::vector<int>& newIndexOf) {
  QByteArray text;
  const qsizetype cells = qsizetype(layer.Width()) * layer.Height();
  text.reserve(cells);
  qsizetype visited = 0;
  for (int y = 0; y < layer.Height(); ++y) {
    for (int x = 0; x < layer.Width(); ++x) {
      if (const TMapTile* tile = layer.Get(x, y)) {
        text += QByteArray::number(tile->Orientation());
        text += kFieldSeparator;
        text += QByteArray::number(x);
        text += kPositionSeparator;
        text += QByteArray::number(y);
        text += kFieldSeparator;
        text += QByteArray::number(newIndexOf[size_t(tile->TileIndex())]);
      }
      if (++visited < cells) text += kEntrySeparator;
    }
  }
  return text;
}

namespace {

struct TWord {
  const char* Begin = nullptr;
  const char* End = nullptr;
};

// Splits [begin, end) at a separator into at most count words, skipping empty
// ones; missing words stay empty.
template <size_t count>
void SplitWords(const char* begin, const char* end, char separator, TWord (&words)[count]) {
  size_t found = 0;
  const char* p = begin;
  while (p < end && found < count) {
    while (p < end && *p == separator)
      ++p;
    if (p == end) break;
    const char* start = p;
    while (p < end && *p != separator)
      ++p;
    words[found++] = {start, p};
  }
}

// A decimal number as StrToInt reads it; anything else raises StrToInt's own
// error, so the message is the program's usual one.
int WordToInt(const TWord& word) {
  const char* p = word.Begin;
  const char* end = word.End;
  bool negative = false;
  if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  qint64 value = 0;
  bool ok = p < end;
  for (; ok && p < end; ++p) {
    if (*p < '0' || *p > '9') {
      ok = false;
    } else {
      value = value * 10 + (*p - '0');
      ok = value <= qint64(std::numeric_limits<int>::max()) + 1;
    }
  }
  if (negative) value = -value;
  if (!ok || value > std::numeric_limits<int>::max())
    return StrToInt(FromAnsi(word.Begin, word.End - word.Begin));
  return int(value);
}

}  // namespace

void ParseLayerText(const QByteArray& text, const std::function<void(const TLayerEntry&)>& visit) {
  const char* p = text.constData();
  const char* end = p + text.size();
  while (p < end) {
    const char* entryBegin = p;
    while (p < end && *p != kEntrySeparator)
      ++p;
    const char* entryEnd = p;
    if (p < end) ++p;
    if (entryBegin == entryEnd) continue;

    TWord fields[3];
    SplitWords(entryBegin, entryEnd, kFieldSeparator, fields);
    TWord position[2];
    SplitWords(fields[1].Begin, fields[1].End, kPositionSeparator, position);

    TLayerEntry entry;
    entry.Orientation = quint8(WordToInt(fields[0]));
    entry.X = WordToInt(position[0]);
    entry.Y = WordToInt(position[1]);
    entry.TileIndex = WordToInt(fields[2]);
    visit(entry);
  }
}
