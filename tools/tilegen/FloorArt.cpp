#include "FloorArt.h"

#include "Art.h"
#include "Noise.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Distance of a pixel's centre to the nearest cell border.
float BorderDistance(int x, int y) {
  return std::min({x + 0.5f, y + 0.5f, kCell - x - 0.5f, kCell - y - 0.5f});
}

// Blends a field shared by all variants (at the border) into the variant's
// own field (inside), so the variants agree along the border.
float Blend(float shared, float own, int x, int y, float from = 3, float to = 30) {
  return shared + (own - shared) * SmoothStep(from, to, BorderDistance(x, y));
}

// The variants side by side in one picture.
QImage SideBySide(const std::vector<QImage>& variants) {
  QImage picture(kCell * int(variants.size()), kCell, QImage::Format_RGB888);
  QPainter painter(&picture);
  for (size_t i = 0; i < variants.size(); ++i)
    painter.drawImage(int(i) * kCell, 0, variants[i]);
  return picture;
}

float RoundedBoxDistance(float px, float py, const QRectF& box, float radius) {
  const float cx = float(box.center().x());
  const float cy = float(box.center().y());
  const float qx = std::abs(px - cx) - float(box.width() / 2) + radius;
  const float qy = std::abs(py - cy) - float(box.height() / 2) + radius;
  const float ox = std::max(qx, 0.0f);
  const float oy = std::max(qy, 0.0f);
  return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

// A random walk from a point, for cracks in stone.
QPainterPath CrackPath(TRandom& random, QPointF start, double angle, int segments, double step) {
  QPainterPath path(start);
  QPointF p = start;
  for (int i = 0; i < segments; ++i) {
    angle += random.Spread(0.9);
    p += QPointF(std::cos(angle) * step * random.Uniform(0.6, 1.2),
                 std::sin(angle) * step * random.Uniform(0.6, 1.2));
    path.lineTo(p);
  }
  return path;
}

void DrawCrack(QPainter& painter, const QPainterPath& path, TColour dark, double width) {
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(ToQColor(Mix(dark, Hex(0xFFFFFF), 0.45f), 110), width, Qt::SolidLine,
                      Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(path.translated(0.9, 0.9));
  painter.setPen(QPen(ToQColor(dark, 230), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(path);
}

// ---------------------------------------------------------------------------
// Flagstones: rectangular slabs of varied size with a grout line along every
// cell border, so any slab layout fits next to any other.

void SplitSlabs(TRandom& random, const QRectF& rect, int depth, std::vector<QRectF>& out) {
  const bool wide = rect.width() >= 180;
  const bool tall = rect.height() >= 180;
  const bool stop = depth > 0 && random.Chance(0.12 * depth);
  if ((!wide && !tall) || stop) {
    out.push_back(rect);
    return;
  }
  const bool vertical =
      wide && (!tall || random.Chance(rect.width() / (rect.width() + rect.height())));
  const double length = vertical ? rect.width() : rect.height();
  double cut = std::round(length * random.Uniform(0.34, 0.66) / 10) * 10;
  cut = std::clamp(cut, 90.0, length - 90.0);
  if (vertical) {
    SplitSlabs(random, QRectF(rect.left(), rect.top(), cut, rect.height()), depth + 1, out);
    SplitSlabs(random, QRectF(rect.left() + cut, rect.top(), length - cut, rect.height()),
               depth + 1, out);
  } else {
    SplitSlabs(random, QRectF(rect.left(), rect.top(), rect.width(), cut), depth + 1, out);
    SplitSlabs(random, QRectF(rect.left(), rect.top() + cut, rect.width(), length - cut), depth + 1,
               out);
  }
}

QImage FlagstoneVariant(int variant, const TFractalNoise& edgeNoise, const TNoise& grain,
                        const TFractalNoise& mottle) {
  TRandom random(SeedOf(QStringLiteral("Flagstones/%1").arg(variant)));
  std::vector<QRectF> slabs;
  SplitSlabs(random, QRectF(0, 0, kCell, kCell), 0, slabs);
  const TColour palette[] = {Hex(0x8C877C), Hex(0x7F7B73), Hex(0x8E8676),
                             Hex(0x7A766E), Hex(0x83817D), Hex(0x887E70)};
  struct TSlab {
    QRectF Box;
    TColour Colour;
    float Offset;
  };
  std::vector<TSlab> info;
  for (const QRectF& r : slabs) {
    TColour c = palette[random.Int(0, 5)] * float(random.Uniform(0.92, 1.06));
    info.push_back({r.adjusted(5, 5, -5, -5), c, float(random.Uniform(0, 300))});
  }
  const float ox = float(variant * 97);
  THeightField height(kCell, kCell, true);
  std::vector<float> cover(size_t(kCell * kCell));
  std::vector<float> insets(size_t(kCell * kCell));
  std::vector<int> owner(size_t(kCell * kCell));
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x) {
      const float px = x + 0.5f, py = y + 0.5f;
      // The joints wander away from the cell border, where nothing has to
      // meet the neighbouring cell; the slab is looked up at the displaced
      // point, so the grout keeps its width.
      const float warp = 7.0f * SmoothStep(6, 40, BorderDistance(x, y));
      const float wx = px + warp * float(edgeNoise.At(px, py));
      const float wy = py + warp * float(edgeNoise.At(py + 150, px + 50));
      int slab = 0;
      for (size_t i = 0; i < slabs.size(); ++i)
        if (slabs[i].contains(QPointF(wx, wy))) slab = int(i);
      const float inset = -RoundedBoxDistance(wx, wy, info[size_t(slab)].Box, 9) +
                          1.3f * float(edgeNoise.At(2 * px + 37, 2 * py)) +
                          0.4f * float(grain.At(px, py));
      const float c = SmoothStep(-0.7f, 0.7f, inset);
      const float stone = 5.5f * SmoothStep(0, 14, inset) +
                          1.4f * float(mottle.At(px + ox + info[size_t(slab)].Offset, py));
      const float groutLevel = 0.5f * float(grain.At(px, py));
      height.At(x, y) = groutLevel + (stone - groutLevel) * c;
      cover[size_t(y * kCell + x)] = c;
      owner[size_t(y * kCell + x)] = slab;
      insets[size_t(y * kCell + x)] = inset;
    }
  QImage image = ShadePixels(kCell, kCell, [&](int x, int y) {
    const size_t i = size_t(y * kCell + x);
    const float px = x + 0.5f, py = y + 0.5f;
    const float light = height.Light(x, y, 0.9f);
    const TSlab& slab = info[size_t(owner[i])];
    const float fine = float(grain.At(px, py));
    const TColour grout = Hex(0x3C3630) * (1.0f + 0.18f * fine);
    const float m = float(mottle.At(px * 1.7f + ox, py * 1.7f + slab.Offset));
    TColour stone = slab.Colour * (1.0f + 0.13f * m + 0.06f * fine);
    // Small pits in the stone.
    const float pit = float(grain.At(py + 0.5f * px + 91, px + 17));
    stone = stone * (1.0f - 0.16f * SmoothStep(0.45f, 0.75f, pit));
    // Worn, dirtier rims.
    stone = stone * (0.84f + 0.16f * SmoothStep(0.5f, 9.0f, insets[i]));
    return Mix(grout, stone, cover[i]) * light;
  });
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  for (const TSlab& slab : info) {
    if (!random.Chance(0.45)) continue;
    const QRectF inner = slab.Box.adjusted(14, 14, -14, -14);
    if (inner.width() < 20 || inner.height() < 20) continue;
    const QPointF start(random.Uniform(inner.left(), inner.right()),
                        random.Uniform(inner.top(), inner.bottom()));
    painter.setClipRect(inner);
    DrawCrack(painter, CrackPath(random, start, random.Uniform(0, 2 * kPi), random.Int(3, 6), 12),
              Hex(0x2E2A26), 1.8);
    painter.setClipping(false);
  }
  return image;
}

}  // namespace

QImage PaintFlagstones(int variants) {
  const TFractalNoise edgeNoise(SeedOf(QStringLiteral("Flagstones/edge")), kCell, 10, 3);
  const TNoise grain(SeedOf(QStringLiteral("Flagstones/grain")), kCell, 120);
  const TFractalNoise mottle(SeedOf(QStringLiteral("Flagstones/mottle")), kCell, 4, 4);
  std::vector<QImage> images;
  for (int v = 0; v < variants; ++v)
    images.push_back(FlagstoneVariant(v, edgeNoise, grain, mottle));
  return SideBySide(images);
}

// ---------------------------------------------------------------------------
// Marble: four polished cream slabs per cell with dark green diamonds set
// where their corners meet; a joint runs along every slab edge, so the cell
// border is always a joint and the diamonds on it are shared by all variants.

namespace {

constexpr float kDiamond = 26;  // half diagonal of the inlaid diamonds

QImage MarbleVariant(int variant, const TFractalNoise& turbulence, const TFractalNoise& clouds,
                     const TNoise& fine) {
  TRandom random(SeedOf(QStringLiteral("Marble/%1").arg(variant)));
  struct TSlab {
    float Angle;
    float Frequency;
    float OffsetX;
    float OffsetY;
    float Tint;
  };
  TSlab slabs[4];
  for (TSlab& s : slabs)
    s = {float(random.Uniform(0, kPi)), float(random.Uniform(0.02, 0.032)),
         float(random.Uniform(0, 300)), float(random.Uniform(0, 300)),
         float(random.Uniform(0.97, 1.03))};
  THeightField height(kCell, kCell, true);
  std::vector<TColour> colours(size_t(kCell * kCell));
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x) {
      const float px = x + 0.5f, py = y + 0.5f;
      const int sx = x / kSub, sy = y / kSub;
      const float lx = px - sx * kSub, ly = py - sy * kSub;
      // Offsets to the nearest slab corner, where a diamond sits.
      const float cx = std::min(lx, kSub - lx), cy = std::min(ly, kSub - ly);
      const float toDiamond = (cx + cy - kDiamond) * 0.7071f;
      const float toEdge = std::min({lx, ly, kSub - lx, kSub - ly});
      const float joint = std::min(std::abs(toDiamond), toDiamond > 0 ? toEdge : 1e9f);
      const float cover = SmoothStep(0.9f, 1.9f, joint);
      TColour c;
      if (toDiamond <= 0) {
        // Diamonds take their pattern from the cell position alone.
        const float t = float(turbulence.At(px * 1.3f, py * 1.3f));
        const float vein = std::pow(1.0f - std::abs(std::sin((px + py) * 0.05f + 6 * t)), 18.0f);
        c = Mix(Hex(0x27453A) * (1.0f + 0.2f * float(clouds.At(px, py))), Hex(0x8FB3A2),
                vein * 0.6f);
      } else {
        const TSlab& s = slabs[sy * 2 + sx];
        const float tx = px + s.OffsetX, ty = py + s.OffsetY;
        const float along = px * std::cos(s.Angle) + py * std::sin(s.Angle);
        const float t = float(turbulence.At(tx, ty));
        const float vein =
            std::pow(1.0f - std::abs(std::sin(along * s.Frequency + 5.5f * t)), 16.0f);
        const float hair = std::pow(1.0f - std::abs(std::sin(along * s.Frequency * 2.7f +
                                                             9.0f * float(turbulence.At(ty, tx)))),
                                    40.0f);
        const float cloud = float(clouds.At(tx * 0.7f, ty * 0.7f));
        c = Hex(0xE6E1D4) * (s.Tint * (1.0f + 0.05f * cloud));
        c = Mix(c, Hex(0x8E8A86), Clamp01(vein * 0.8f + hair * 0.4f));
        c = Mix(c, Hex(0xC9A86A), Clamp01(float(clouds.At(ty, tx)) * 1.5f - 0.5f) * 0.25f);
      }
      colours[size_t(y * kCell + x)] =
          Mix(Hex(0x55524C) * (1.0f + 0.1f * float(fine.At(px, py))), c, cover);
      height.At(x, y) = 2.5f * SmoothStep(0.8f, 4.0f, joint);
    }
  return ShadePixels(kCell, kCell, [&](int x, int y) {
    return colours[size_t(y * kCell + x)] * height.Light(x, y, 0.9f);
  });
}

}  // namespace

QImage PaintMarble(int variants) {
  const TFractalNoise turbulence(SeedOf(QStringLiteral("Marble/turbulence")), kCell, 3, 5);
  const TFractalNoise clouds(SeedOf(QStringLiteral("Marble/clouds")), kCell, 3, 4);
  const TNoise fine(SeedOf(QStringLiteral("Marble/fine")), kCell, 100);
  std::vector<QImage> images;
  for (int v = 0; v < variants; ++v)
    images.push_back(MarbleVariant(v, turbulence, clouds, fine));
  return SideBySide(images);
}

// ---------------------------------------------------------------------------
// Wooden planks: five boards per cell running left to right. Boards that
// reach a cell border take their colour and grain from the row alone, so they
// run on into the next cell whatever variant lies there; butt joints sit
// inside the cell, where a board of the variant's own begins.

namespace {

constexpr int kPlank = 60;
constexpr int kRows = kCell / kPlank;

struct TBoard {
  float Start;
  float End;
  float Tint;
  float Phase;
  bool Knot;
  float KnotX;
  float KnotY;
};

QImage PlankVariant(int variant, const TFractalNoise& grain, const TNoise& fine) {
  TRandom shared(SeedOf(QStringLiteral("Planks/rows")));
  TRandom random(SeedOf(QStringLiteral("Planks/%1").arg(variant)));
  std::vector<TBoard> rows[kRows];
  for (auto& row : rows) {
    const float rowTint = float(shared.Uniform(0.84, 1.12));
    const float rowPhase = float(shared.Uniform(0, 300));
    if (!random.Chance(0.6)) {
      row.push_back({0, kCell, rowTint, rowPhase, false, 0, 0});
      continue;
    }
    const float a = float(random.Int(5, 13) * 10);
    const float b = float(std::min(random.Int(int(a) / 10 + 8, 25) * 10, 250));
    TBoard middle{a, b, float(random.Uniform(0.82, 1.14)), float(random.Uniform(0, 300)), false,
                  0, 0};
    middle.Knot = b - a > 90 && random.Chance(0.5);
    middle.KnotX = float(random.Uniform(a + 30, b - 30));
    middle.KnotY = float(random.Uniform(18, kPlank - 18));
    row.push_back({0, a, rowTint, rowPhase, false, 0, 0});
    row.push_back(middle);
    row.push_back({b, kCell, rowTint, rowPhase, false, 0, 0});
  }
  QImage image = ShadePixels(kCell, kCell, [&](int x, int y) {
    const float px = x + 0.5f, py = y + 0.5f;
    const int r = y / kPlank;
    const float ly = py - r * kPlank;
    const float f = float(fine.At(px, py));
    // The gaps between rows of boards.
    if (ly < 2.0f || ly > kPlank - 1.0f) return Hex(0x24170E) * (1.0f + 0.1f * f);
    const TBoard* board = &rows[r][0];
    for (const TBoard& b : rows[r])
      if (px >= b.Start && px < b.End) board = &b;
    const float lx = board->Start > 0 ? px - board->Start : 1e9f;
    const float rx = board->End < kCell ? board->End - px : 1e9f;
    if (lx < 1.5f || rx < 1.5f) return Hex(0x2A1B10);
    // Grain: the growth rings run along the board, bent by noise that
    // repeats every cell along x.
    float gy = ly + 8.0f * float(grain.At(px, ly * 4.0f + board->Phase));
    if (board->Knot) {
      const float dx = (px - board->KnotX) * 0.45f, dy = ly - board->KnotY;
      const float d = std::sqrt(dx * dx + dy * dy);
      gy += 14.0f * std::exp(-d / 9.0f) * (dy >= 0 ? 1.0f : -1.0f) * (1 - SmoothStep(18, 26, d));
      if (d < 5.5f) return Hex(0x4A2E18) * board->Tint * (0.8f + 0.04f * d);
    }
    const float ring = 0.5f + 0.5f * std::sin(gy * 1.3f);
    const float streak = float(grain.At(px * 2, ly * 0.9f + board->Phase));
    TColour wood = Mix(Hex(0xA46C3C), Hex(0x744624), std::pow(ring, 3.0f) * 0.7f);
    wood = wood * (board->Tint * (1.0f + 0.14f * streak + 0.04f * f));
    // Rounded board edges: lit along the top, shaded along the bottom and
    // towards a joint.
    if (ly < 6.0f) wood = wood * (1.0f + 0.12f * (1.0f - ly / 6.0f));
    if (ly > kPlank - 7.0f) wood = wood * (1.0f - 0.3f * (ly - (kPlank - 7.0f)) / 6.0f);
    if (lx < 5.0f) wood = wood * (1.0f + 0.08f * (1.0f - lx / 5.0f));
    if (rx < 5.0f) wood = wood * (1.0f - 0.25f * (1.0f - rx / 5.0f));
    return wood;
  });
  // Nail heads beside each joint.
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  for (int r = 0; r < kRows; ++r)
    for (const TBoard& b : rows[r]) {
      if (b.Start <= 0) continue;
      for (float nx : {b.Start - 8.0f, b.Start + 8.0f})
        for (float ny : {r * kPlank + 14.0f, r * kPlank + kPlank - 13.0f}) {
          painter.setPen(Qt::NoPen);
          painter.setBrush(QColor(0x3A, 0x2A, 0x1E));
          painter.drawEllipse(QPointF(nx, ny), 2.4, 2.4);
          painter.setBrush(QColor(0x9A, 0x92, 0x86));
          painter.drawEllipse(QPointF(nx - 0.6, ny - 0.6), 1.0, 1.0);
        }
    }
  return image;
}

}  // namespace

QImage PaintPlanks(int variants) {
  const TFractalNoise grain(SeedOf(QStringLiteral("Planks/grain")), kCell, 4, 4);
  const TNoise fine(SeedOf(QStringLiteral("Planks/fine")), kCell, 150);
  std::vector<QImage> images;
  for (int v = 0; v < variants; ++v)
    images.push_back(PlankVariant(v, grain, fine));
  return SideBySide(images);
}

// ---------------------------------------------------------------------------
// Cobbles: rounded stones in the cells of a repeating Voronoi diagram. The
// stones along the cell border come from sites shared by every variant, set
// so densely that the border pixels only ever see shared sites; the stones
// inside differ.

namespace {

void AddFrameSites(TVoronoi& voronoi, std::vector<TColour>& colours) {
  TRandom random(SeedOf(QStringLiteral("Cobbles/frame")));
  auto colour = [&]() {
    const TColour stones[] = {Hex(0x8A857D), Hex(0x7A766F), Hex(0x958C7E),
                              Hex(0x6F6C67), Hex(0x86827F), Hex(0x9A9184)};
    return stones[random.Int(0, 5)] * float(random.Uniform(0.88, 1.1));
  };
  // Two rows of sites hugging each border, one on either side of it (the
  // far side's row belongs to the opposite border of the same cell).
  for (int side = 0; side < 2; ++side) {
    const double inset = side == 0 ? 17 : kCell - 17;
    for (double t = 0; t < kCell - 1; t += 37.5) {
      voronoi.Add(t + random.Spread(7), inset + random.Spread(5));
      colours.push_back(colour());
    }
    for (double t = 37.5; t <= 226; t += 37.5) {
      voronoi.Add(inset + random.Spread(5), t + 18.75 + random.Spread(7));
      colours.push_back(colour());
    }
  }
}

QImage CobbleVariant(int variant, const TNoise& fine, const TFractalNoise& lumps) {
  TVoronoi voronoi(kCell, kCell);
  std::vector<TColour> colours;
  AddFrameSites(voronoi, colours);
  TRandom random(SeedOf(QStringLiteral("Cobbles/%1").arg(variant)));
  const TColour stones[] = {Hex(0x8A857D), Hex(0x7A766F), Hex(0x958C7E), Hex(0x6F6C67),
                            Hex(0x86827F), Hex(0x9A9184), Hex(0x7E7A74)};
  for (int gy = 0; gy < 5; ++gy)
    for (int gx = 0; gx < 5; ++gx) {
      voronoi.Add(64 + gx * 43 + random.Spread(12), 64 + gy * 43 + random.Spread(12));
      colours.push_back(stones[random.Int(0, 6)] * float(random.Uniform(0.88, 1.1)));
    }
  THeightField height(kCell, kCell, true);
  std::vector<TVoronoiHit> hits(size_t(kCell * kCell));
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x) {
      const float px = x + 0.5f, py = y + 0.5f;
      const TVoronoiHit hit = voronoi.At(px, py);
      const float edge = float(hit.EdgeDistance) - 2.6f - 0.8f * float(fine.At(px, py));
      // Domed stones: the height rises quickly from the joint and flattens.
      const float dome = std::sqrt(Clamp01(edge / 9.0f));
      height.At(x, y) = edge <= 0 ? -0.5f + 0.3f * float(fine.At(py, px))
                                  : 8.0f * dome + 1.2f * float(lumps.At(px, py));
      hits[size_t(y * kCell + x)] = hit;
    }
  return ShadePixels(kCell, kCell, [&](int x, int y) {
    const float px = x + 0.5f, py = y + 0.5f;
    const TVoronoiHit& hit = hits[size_t(y * kCell + x)];
    const float edge = float(hit.EdgeDistance) - 2.6f - 0.8f * float(fine.At(px, py));
    const float light = height.Light(x, y, 1.0f);
    const TColour joint = Hex(0x3A3128) * (1.0f + 0.2f * float(fine.At(py, px)));
    const TColour stone =
        colours[size_t(hit.Site)] *
        (1.0f + 0.1f * float(lumps.At(px * 2, py * 2)) + 0.05f * float(fine.At(px, py)));
    return Mix(joint, stone, SmoothStep(-0.6f, 0.8f, edge)) * light;
  });
}

}  // namespace

QImage PaintCobbles(int variants) {
  const TNoise fine(SeedOf(QStringLiteral("Cobbles/fine")), kCell, 75);
  const TFractalNoise lumps(SeedOf(QStringLiteral("Cobbles/lumps")), kCell, 10, 3);
  std::vector<QImage> images;
  for (int v = 0; v < variants; ++v)
    images.push_back(CobbleVariant(v, fine, lumps));
  return SideBySide(images);
}

// ---------------------------------------------------------------------------
// Grass, dirt and water: continuous textures. Each variant's noise fields are
// blended into fields shared by all variants in a band along the cell
// border: a narrow band for the large features (a wide one would repeat the
// same blotches in every cell and draw a grid), a wide one for fine ripples
// (a narrow one would bend them sharply into a visible frame), and
// strokes drawn on top are either shared (near the border, drawn wrapped) or
// the variant's own (kept clear of the border).

namespace {

// Wherever a stroke of length `reach` starting at a root may go: roots near
// the border belong to the shared set, the others to the variant's own.
bool SharedRoot(double x, double y, double reach) {
  return std::min({x, y, kCell - x, kCell - y}) < reach + 8;
}

struct TBlade {
  QPointF Root;
  double Angle;
  double Length;
  double Width;
  TColour Colour;
};

TBlade RandomBlade(TRandom& random, QPointF root) {
  const TColour greens[] = {Hex(0x42692E), Hex(0x548338), Hex(0x345626),
                            Hex(0x6E9444), Hex(0x5C7E36), Hex(0x82A052)};
  // Blades lean mostly one way, as if brushed by the wind.
  return {root, -kPi / 2 + 0.5 + random.Spread(1.2), random.Uniform(9, 18),
          random.Uniform(2.0, 3.6), greens[random.Int(0, 5)] * float(random.Uniform(0.85, 1.15))};
}

void DrawBlade(QPainter& painter, const TBlade& blade) {
  const QPointF dir(std::cos(blade.Angle), std::sin(blade.Angle));
  const QPointF side(-dir.y(), dir.x());
  const QPointF tip = blade.Root + dir * blade.Length + side * (blade.Length * 0.15);
  const QPointF bend = blade.Root + dir * (blade.Length * 0.55);
  QPainterPath path(blade.Root - side * (blade.Width / 2));
  path.quadTo(bend - side * (blade.Width * 0.35), tip);
  path.quadTo(bend + side * (blade.Width * 0.35), blade.Root + side * (blade.Width / 2));
  path.closeSubpath();
  painter.setPen(Qt::NoPen);
  painter.setBrush(ToQColor(Hex(0x1A3010), 90));
  painter.drawPath(path.translated(1.2, 1.6));
  painter.setBrush(ToQColor(blade.Colour));
  painter.drawPath(path);
}

void DrawFlower(QPainter& painter, QPointF at, QColor petal, double size) {
  painter.setPen(Qt::NoPen);
  for (int i = 0; i < 5; ++i) {
    const double a = i * 2 * kPi / 5;
    painter.setBrush(petal);
    painter.drawEllipse(at + QPointF(std::cos(a), std::sin(a)) * size, size * 0.8, size * 0.8);
  }
  painter.setBrush(QColor(0xE8, 0xB8, 0x30));
  painter.drawEllipse(at, size * 0.6, size * 0.6);
}

QImage GrassVariant(int variant, const TFractalNoise& sharedField, const TFractalNoise& sharedDry,
                    const TNoise& fine) {
  const TFractalNoise own(SeedOf(QStringLiteral("Grass/field/%1").arg(variant)), kCell, 3, 5);
  const TFractalNoise ownDry(SeedOf(QStringLiteral("Grass/dry/%1").arg(variant)), kCell, 2, 4);
  QImage image = ShadePixels(kCell, kCell, [&](int x, int y) {
    const float px = x + 0.5f, py = y + 0.5f;
    const float f = Blend(float(sharedField.At(px, py)), float(own.At(px, py)), x, y);
    const float dry = Blend(float(sharedDry.At(px, py)), float(ownDry.At(px, py)), x, y);
    TColour c = Mix(Hex(0x34592A), Hex(0x63893E), Clamp01(0.5f + 0.9f * f));
    c = Mix(c, Hex(0x8E9550), Clamp01(dry * 1.6f - 0.3f) * 0.6f);
    return c * (1.0f + 0.1f * float(fine.At(px, py)));
  });
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  // The variant's own blades first, then the shared ones over them.
  TRandom own2(SeedOf(QStringLiteral("Grass/blades/%1").arg(variant)));
  for (int i = 0; i < 1400; ++i) {
    const QPointF root(own2.Uniform(0, kCell), own2.Uniform(0, kCell));
    const TBlade blade = RandomBlade(own2, root);
    if (!SharedRoot(root.x(), root.y(), 20)) DrawBlade(painter, blade);
  }
  TRandom random(SeedOf(QStringLiteral("Grass/extras/%1").arg(variant)));
  if (variant % 2 == 1) {
    const QColor petals[] = {QColor(0xF4, 0xF1, 0xE6), QColor(0xF2, 0xD1, 0x3A),
                             QColor(0xB5, 0x8C, 0xD8)};
    const QColor petal = petals[random.Int(0, 2)];
    const QPointF centre(random.Uniform(90, 210), random.Uniform(90, 210));
    for (int i = 0; i < 7; ++i)
      DrawFlower(painter, centre + QPointF(random.Spread(45), random.Spread(45)), petal,
                 random.Uniform(2.4, 3.4));
  }
  TRandom shared(SeedOf(QStringLiteral("Grass/blades/shared")));
  for (int i = 0; i < 1400; ++i) {
    const QPointF root(shared.Uniform(0, kCell), shared.Uniform(0, kCell));
    const TBlade blade = RandomBlade(shared, root);
    if (!SharedRoot(root.x(), root.y(), 20)) continue;
    PaintWrapped(painter, QRectF(root - QPointF(22, 22), QSizeF(44, 44)), kCell,
                 [&] { DrawBlade(painter, blade); });
  }
  return image;
}

}  // namespace

QImage PaintGrass(int variants) {
  const TFractalNoise field(SeedOf(QStringLiteral("Grass/field")), kCell, 3, 5);
  const TFractalNoise dry(SeedOf(QStringLiteral("Grass/dry")), kCell, 2, 4);
  const TNoise fine(SeedOf(QStringLiteral("Grass/fine")), kCell, 100);
  std::vector<QImage> images;
  for (int v = 0; v < variants; ++v)
    images.push_back(GrassVariant(v, field, dry, fine));
  return SideBySide(images);
}

namespace {

void DrawPebble(QPainter& painter, QPointF at, double rx, double ry, double angle, TColour colour) {
  painter.save();
  painter.translate(at);
  painter.rotate(angle);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ToQColor(Hex(0x2A1E14), 120));
  painter.drawEllipse(QPointF(1.2, 1.5), rx, ry);
  QRadialGradient gradient(QPointF(-rx * 0.35, -ry * 0.35), std::max(rx, ry) * 1.3);
  gradient.setColorAt(0, ToQColor(colour * 1.3f));
  gradient.setColorAt(1, ToQColor(colour * 0.7f));
  painter.setBrush(gradient);
  painter.setPen(QPen(ToQColor(colour * 0.45f), 0.8));
  painter.drawEllipse(QPointF(0, 0), rx, ry);
  painter.restore();
}

QImage DirtVariant(int variant, const TFractalNoise& sharedField, const TFractalNoise& sharedDark,
                   const TNoise& fine) {
  const TFractalNoise own(SeedOf(QStringLiteral("Dirt/field/%1").arg(variant)), kCell, 3, 5);
  const TFractalNoise ownDark(SeedOf(QStringLiteral("Dirt/dark/%1").arg(variant)), kCell, 2, 4);
  QImage image = ShadePixels(kCell, kCell, [&](int x, int y) {
    const float px = x + 0.5f, py = y + 0.5f;
    const float f = Blend(float(sharedField.At(px, py)), float(own.At(px, py)), x, y);
    const float dark = Blend(float(sharedDark.At(px, py)), float(ownDark.At(px, py)), x, y);
    TColour c = Mix(Hex(0x674A2F), Hex(0x9A7650), Clamp01(0.5f + 1.2f * f));
    c = Mix(c, Hex(0x4A3523), Clamp01(dark * 2.0f - 0.3f) * 0.5f);
    // Sand and grit: fine grains of light and dark.
    const float grit = float(fine.At(px, py)) + 0.6f * float(fine.At(py * 2.1f, px * 2.1f));
    return c * (1.0f + 0.16f * grit);
  });
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const TColour stones[] = {Hex(0x8A7E70), Hex(0x6E655C), Hex(0x9C8C76), Hex(0x7A6A58)};
  auto pebbles = [&](TRandom& random, int count, bool sharedSet) {
    for (int i = 0; i < count; ++i) {
      const QPointF at(random.Uniform(0, kCell), random.Uniform(0, kCell));
      const double rx = random.Chance(0.15) ? random.Uniform(5, 9) : random.Uniform(1.8, 4.5);
      const double ry = rx * random.Uniform(0.6, 0.95);
      const double angle = random.Uniform(0, 180);
      const TColour colour = stones[random.Int(0, 3)];
      if (SharedRoot(at.x(), at.y(), 11) != sharedSet) continue;
      PaintWrapped(painter, QRectF(at - QPointF(12, 12), QSizeF(24, 24)), kCell,
                   [&] { DrawPebble(painter, at, rx, ry, angle, colour); });
    }
  };
  TRandom random(SeedOf(QStringLiteral("Dirt/extras/%1").arg(variant)));
  // Cracks in dried mud.
  for (int i = 0; i < random.Int(1, 3); ++i) {
    const QPointF start(random.Uniform(60, 240), random.Uniform(60, 240));
    painter.setClipRect(QRectF(20, 20, kCell - 40, kCell - 40));
    DrawCrack(painter, CrackPath(random, start, random.Uniform(0, 2 * kPi), random.Int(4, 7), 9),
              Hex(0x2A1C12), 1.6);
    painter.setClipping(false);
  }
  pebbles(random, 70, false);
  TRandom shared(SeedOf(QStringLiteral("Dirt/pebbles/shared")));
  pebbles(shared, 70, true);
  return image;
}

}  // namespace

QImage PaintDirt(int variants) {
  const TFractalNoise field(SeedOf(QStringLiteral("Dirt/field")), kCell, 3, 5);
  const TFractalNoise dark(SeedOf(QStringLiteral("Dirt/dark")), kCell, 2, 4);
  const TNoise fine(SeedOf(QStringLiteral("Dirt/fine")), kCell, 150);
  std::vector<QImage> images;
  for (int v = 0; v < variants; ++v)
    images.push_back(DirtVariant(v, field, dark, fine));
  return SideBySide(images);
}

namespace {

QImage WaterVariant(int variant, const TFractalNoise& sharedDepth, const TFractalNoise& sharedWaves,
                    const TFractalNoise& sharedCaustics, const TNoise& fine) {
  const TFractalNoise depth(SeedOf(QStringLiteral("Water/depth/%1").arg(variant)), kCell, 4, 3);
  const TFractalNoise waves(SeedOf(QStringLiteral("Water/waves/%1").arg(variant)), kCell, 3, 3);
  const TFractalNoise caustics(SeedOf(QStringLiteral("Water/caustics/%1").arg(variant)), kCell, 5,
                               2);
  return ShadePixels(kCell, kCell, [&](int x, int y) {
    const float px = x + 0.5f, py = y + 0.5f;
    const float d = Blend(float(sharedDepth.At(px, py)), float(depth.At(px, py)), x, y);
    const float w = Blend(float(sharedWaves.At(px, py)), float(waves.At(px, py)), x, y, 6, 70);
    const float k =
        Blend(float(sharedCaustics.At(px, py)), float(caustics.At(px, py)), x, y, 6, 70);
    TColour c = Mix(Hex(0x0F3550), Hex(0x2A7290), Clamp01(0.45f + 0.8f * d));
    // A faint web of light, as the surface focuses it onto the bottom.
    const float web = std::pow(1.0f - std::min(1.0f, std::abs(k) * 3.0f), 6.0f);
    c = Mix(c, Hex(0x5FB0C4), web * 0.35f);
    // Wind ripples: short bright crests across the surface, broken up by the
    // wave field.
    const float phase = (px * 0.8f + py * 0.6f) * 0.11f + 7.0f * w;
    const float crest = std::pow(Clamp01(std::sin(phase)), 24.0f);
    const float breakup = SmoothStep(0.05f, 0.35f, float(fine.At(px, py)) + w);
    c = Mix(c, Hex(0xCFEFF5), crest * breakup * 0.7f);
    const float trough = std::pow(Clamp01(std::sin(phase - 0.9f)), 16.0f);
    return c * (1.0f - 0.15f * trough * breakup);
  });
}

}  // namespace

QImage PaintWater(int variants) {
  const TFractalNoise depth(SeedOf(QStringLiteral("Water/depth")), kCell, 4, 3);
  const TFractalNoise waves(SeedOf(QStringLiteral("Water/waves")), kCell, 3, 3);
  const TFractalNoise caustics(SeedOf(QStringLiteral("Water/caustics")), kCell, 5, 2);
  const TNoise fine(SeedOf(QStringLiteral("Water/fine")), kCell, 15);
  std::vector<QImage> images;
  for (int v = 0; v < variants; ++v)
    images.push_back(WaterVariant(v, depth, waves, caustics, fine));
  return SideBySide(images);
}

// ---------------------------------------------------------------------------
// Mosaic: a medallion of small tesserae over two by two cells, a compass star
// on a dark ground inside a banded ring, framed by a border of dark stones.

namespace {

constexpr double kTessera = 12.0;

// Colour of the tessera whose centre lies at polar (r, angle) around the
// medallion's centre.
TColour MedallionColour(double r, double angle) {
  if (r < 22) return Hex(0xB8322A);
  if (r < 34) return Hex(0xE9DFC6);
  // An eight-pointed star: the long points on the axes, short ones between.
  const double sector = kPi / 4;
  const double a = std::fmod(angle + 2 * kPi, sector);
  const int index = int(std::floor(std::fmod(angle + 2 * kPi, 2 * kPi) / sector));
  const double toPoint = std::min(a, sector - a) / (sector / 2);  // 0 at a point, 1 between
  const bool longPoint = index % 2 == 0 ? a < sector / 2 : a >= sector / 2;
  const double reach = longPoint ? 205 : 140;
  const double boundary = 40 + (reach - 40) * (1 - toPoint);
  if (r < boundary) {
    // Each point is split along its axis into a light and a dark half.
    const bool lightHalf = (a < sector / 2) == (index % 2 == 0);
    if (longPoint) return lightHalf ? Hex(0xE2B04A) : Hex(0x9C6A22);
    return lightHalf ? Hex(0xC4493C) : Hex(0x7E2620);
  }
  if (r < 222) return Hex(0x1E3552);
  if (r < 234) return Hex(0xE9DFC6);
  // A band of alternating gold and red around the medallion.
  const int step = int(std::floor(std::fmod(angle + 2 * kPi, 2 * kPi) / (2 * kPi) * 48));
  if (r < 258) return step % 2 == 0 ? Hex(0xC9953A) : Hex(0x8E2A24);
  return Hex(0xE9DFC6);
}

}  // namespace

QImage PaintMosaic() {
  const int size = 2 * kCell;
  const double centre = size / 2.0;
  const double ringStart = 10;  // rings of tesserae from here outwards
  const double fieldStart = 270;
  const TNoise fine(SeedOf(QStringLiteral("Mosaic/fine")), size, 200);
  auto hash = [](int a, int b) {
    return HashUnit(uint32_t(a) * 73856093u ^ uint32_t(b) * 19349663u);
  };
  THeightField height(size, size, true);
  std::vector<TColour> colours(size_t(size * size));
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const double px = x + 0.5 - centre, py = y + 0.5 - centre;
      const double r = std::sqrt(px * px + py * py);
      const double angle = std::atan2(py, px);
      double joint;  // distance to the nearest joint between tesserae
      TColour colour;
      double id;
      if (r < ringStart) {
        joint = ringStart - r;
        colour = Hex(0xB8322A);
        id = 0;
      } else if (r < fieldStart) {
        const int ring = int((r - ringStart) / kTessera);
        const double rMid = ringStart + (ring + 0.5) * kTessera;
        const int count = std::max(6, int(std::round(2 * kPi * rMid / kTessera)));
        const double t = (angle + kPi) / (2 * kPi) * count;
        const int k = int(std::floor(t)) % count;
        const double along = (t - std::floor(t) - 0.5) * 2 * kPi * r / count;
        const double across = r - (ringStart + ring * kTessera);
        joint = std::min({across, kTessera - across, kTessera / 2 - std::abs(along)});
        if (r > fieldStart - kTessera) joint = std::min(joint, fieldStart - r);
        const double centreAngle = (k + 0.5) / count * 2 * kPi - kPi;
        colour = MedallionColour(rMid, centreAngle);
        id = hash(ring, k);
      } else {
        const double lx = std::fmod(x + 0.5, kTessera), ly = std::fmod(y + 0.5, kTessera);
        joint = std::min({lx, ly, kTessera - lx, kTessera - ly, r - fieldStart});
        const int tx = int((x + 0.5) / kTessera), ty = int((y + 0.5) / kTessera);
        const int border = std::min({tx, ty, 49 - tx, 49 - ty});
        colour = border < 2 ? Hex(0x3B2A22) : border == 2 ? Hex(0xC9953A) : Hex(0xE6DCC4);
        id = hash(tx + 1000, ty);
      }
      const float cover = SmoothStep(0.6f, 1.6f, float(joint));
      const float tint = 0.9f + 0.18f * float(id);
      colours[size_t(y * size + x)] =
          Mix(Hex(0x8E877A) * (1.0f + 0.1f * float(fine.At(x, y))), colour * tint, cover);
      height.At(x, y) = 3.0f * SmoothStep(0.5f, 3.0f, float(joint)) + 0.4f * float(fine.At(y, x));
    }
  return ShadePixels(size, size, [&](int x, int y) {
    return colours[size_t(y * size + x)] * height.Light(x, y, 0.8f);
  });
}

// ---------------------------------------------------------------------------
// Stairs: stone steps descending from the top of the picture to its bottom
// between two low side walls, darker the deeper they go.

QImage PaintStairs() {
  const int width = kCell, height = 2 * kCell;
  const int steps = 8;
  const float tread = float(height) / steps;
  const float sideWall = 30;
  const TFractalNoise stone(SeedOf(QStringLiteral("Stairs/stone")), kCell, 6, 4);
  const TNoise fine(SeedOf(QStringLiteral("Stairs/fine")), kCell, 100);
  TRandom random(SeedOf(QStringLiteral("Stairs")));
  float joints[steps], tints[steps];
  for (int i = 0; i < steps; ++i) {
    joints[i] = float(random.Uniform(100, 200));
    tints[i] = float(random.Uniform(0.93, 1.06));
  }
  return ShadePixels(width, height, [&](int x, int y) {
    const float px = x + 0.5f, py = y + 0.5f;
    const float n = float(stone.At(px, py)), f = float(fine.At(px, py));
    const float inWall = std::min(px, width - px);
    if (inWall < sideWall) {
      // The side walls' tops, level with the floor above, outlined where
      // they drop to the steps.
      if (inWall > sideWall - 5) return Hex(0x1A1714);
      TColour c = Hex(0x8E887E) * (1.0f + 0.12f * n + 0.05f * f);
      if (std::fmod(py, 75.0f) < 2.5f) c = c * 0.5f;
      if (inWall < 3)
        c = c * 0.7f;
      else if (inWall > sideWall - 9)
        c = c * (px < width / 2 ? 1.2f : 0.8f);
      return c;
    }
    const int step = std::min(steps - 1, int(py / tread));
    const float ly = py - step * tread;
    const float depth = float(step) / (steps - 1);
    // Worn smooth and a little lighter along the middle, where feet go.
    const float worn = 1.0f + 0.08f * (1.0f - std::abs(px - width / 2.0f) / (width / 2.0f));
    TColour c = Hex(0x9A9284) * (tints[step] * worn * (1.0f + 0.13f * n + 0.05f * f));
    // Each tread is two blocks.
    if (std::abs(px - joints[step]) < 1.5f) c = c * 0.5f;
    // The nosing at the front of each tread catches the light; beyond it the
    // drop to the next tread shows dark, and the step above shades the top
    // of the tread below.
    if (ly > tread - 4) return Hex(0x1A1714);
    if (ly > tread - 8)
      c = c * 1.35f;
    else if (step > 0 && ly < 26)
      c = c * (0.4f + 0.6f * SmoothStep(0, 26, ly));
    // Shadow cast by the left side wall.
    const float fromLeft = px - sideWall;
    if (fromLeft < 18) c = c * (0.55f + 0.45f * fromLeft / 18);
    return c * (1.0f - 0.6f * depth);
  });
}
