#pragma once

#include <QByteArray>

#include <functional>
#include <vector>

// A small PNG writer of its own for the decoder tests, independent of libpng:
// any colour type and bit depth, Adam7 interlacing, optional tRNS and extra
// chunks. Samples are given as raw values of the chosen bit depth.
struct TRawPng {
  int Width = 1;
  int Height = 1;
  int ColorType = 2;  // 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA
  int BitDepth = 8;
  bool Interlaced = false;
  // Sample c (0 .. channels-1) of pixel (x, y), in 0 .. 2^BitDepth - 1.
  std::function<int(int x, int y, int c)> Sample;
  // RGB triples for colour type 3.
  std::vector<unsigned char> Palette;
  // Raw tRNS chunk data, written when not empty.
  QByteArray Transparency;
  // Chunk written after IDAT (type and data), before IEND.
  QByteArray ExtraChunkType;
  QByteArray ExtraChunkData;

  int Channels() const;
  QByteArray Encode() const;
  // The signature and IHDR alone.
  QByteArray SignatureAndHeader() const;
};

// A complete chunk: length, type, data and CRC.
QByteArray PngChunk(const QByteArray& type, const QByteArray& data);
