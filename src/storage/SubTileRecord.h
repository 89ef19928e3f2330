#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <vector>

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

// The sizes of the pictures that the records stored back to back from the
// start of data declare, read from their PNG chunk headers (OutlinePng)
// without decoding anything: one size for every record whose image
// ReadSubTileRecord would decode, up to the first record that cannot be read
// whole. A record whose image is cut short still counts, since its rows may
// be decoded before the cut is found.
std::vector<QSize> DeclaredPictures(const QByteArray& data);

// Appends one record to out.
void WriteSubTileRecord(QByteArray& out, const QImage& image, const QString& guid,
                        qint32 transparentColor);
