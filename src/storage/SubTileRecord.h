#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// One sub-tile as stored: a PNG datastream, the 16 identity bytes and a
// signed 32-bit little-endian transparent colour (-1 for none).
struct TSubTileRecord {
  QImage Image;  // QImage::Format_RGB888
  QString Guid;  // registry text form
  qint32 TransparentColor = -1;
};

// Reads the record starting at data[offset] and moves offset past it. A PNG
// that does not decode raises TPngError; a record cut short in its identity or
// colour raises TError.
TSubTileRecord ReadSubTileRecord(const QByteArray& data, qsizetype& offset);

// Appends one record to out.
void WriteSubTileRecord(QByteArray& out, const QImage& image, const QString& guid,
                        qint32 transparentColor);
