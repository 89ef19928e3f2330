#include "WallArt.h"

#include "Art.h"
#include "Noise.h"

#include <algorithm>
#include <cmath>

// Each band is painted from band coordinates: u runs along the wall and
// repeats every cell, v runs from the wall's outer face (0) to its room side
// (kWallThickness). Vertical bands use the same texture turned, so a wall
// looks alike in every direction, and since u is fixed to the cell, the
// bands of neighbouring cells continue each other. The square where two
// bands meet (a corner's, or a post) is one block of its own, set off by
// joints from the bands beside it.

namespace {

constexpr float kT = kWallThickness;
constexpr float kMortar = 3.0f;   // width of a joint
constexpr float kOutline = 5.0f;  // dark edge on the room side
constexpr float kBlock = 75.0f;   // dressed blocks: four per cell

enum TSide { sTop = 1, sRight = 2, sBottom = 4, sLeft = 8 };
enum TCorner { cTopLeft, cTopRight, cBottomRight, cBottomLeft };

struct TPiece {
  int Bands;  // TSide flags
  int Post;   // the corner holding a post, or -1
};

const TPiece kPieces[kWallPieces] = {
    {sTop | sLeft, -1}, {sTop | sRight, -1}, {sBottom | sRight, -1}, {sBottom | sLeft, -1},
    {sTop, -1},         {sRight, -1},        {sBottom, -1},          {sLeft, -1},
    {0, cTopLeft},      {0, cTopRight},      {0, cBottomRight},      {0, cBottomLeft}};

// What a pixel of a piece belongs to.
struct TWallPixel {
  enum { None, Band, Square } Kind = None;
  // Band: position along and across, and how far the band's ends that meet
  // a square of the same piece are.
  float U = 0, V = 0;
  float ToSquare = 1e9f;
  // Square: distances from its two outer faces, and whether it is a post.
  float A = 0, B = 0;
  bool Post = false;
  int Corner = 0;
};

float Wrap(float u) {
  u = std::fmod(u, float(kCell));
  return u < 0 ? u + kCell : u;
}

// Whether a corner's square lies at the ends of both bands of a piece.
int CornerOf(int bands) {
  if (bands == (sTop | sLeft)) return cTopLeft;
  if (bands == (sTop | sRight)) return cTopRight;
  if (bands == (sBottom | sRight)) return cBottomRight;
  if (bands == (sBottom | sLeft)) return cBottomLeft;
  return -1;
}

// Classifies pixel (x, y); coordinates one pixel outside the cell are taken
// as the band continuing into the neighbouring cell.
TWallPixel Classify(const TPiece& piece, int x, int y) {
  const int cx = std::clamp(x, 0, kCell - 1), cy = std::clamp(y, 0, kCell - 1);
  const float px = x + 0.5f, py = y + 0.5f;
  const bool nearLeft = cx < kT, nearRight = cx >= kCell - kT;
  const bool nearTop = cy < kT, nearBottom = cy >= kCell - kT;
  TWallPixel pixel;
  auto square = [&](int corner, bool post) {
    pixel.Kind = TWallPixel::Square;
    pixel.Post = post;
    pixel.Corner = corner;
    pixel.A = (corner == cTopLeft || corner == cBottomLeft) ? px : kCell - px;
    pixel.B = (corner == cTopLeft || corner == cTopRight) ? py : kCell - py;
    return pixel;
  };
  const int corners[4][2] = {
      {nearTop, nearLeft}, {nearTop, nearRight}, {nearBottom, nearRight}, {nearBottom, nearLeft}};
  if (piece.Post >= 0) {
    if (corners[piece.Post][0] && corners[piece.Post][1]) return square(piece.Post, true);
    return pixel;
  }
  const int joint = CornerOf(piece.Bands);
  if (joint >= 0 && corners[joint][0] && corners[joint][1]) return square(joint, false);
  pixel.Kind = TWallPixel::Band;
  if ((piece.Bands & sTop) && nearTop) {
    pixel.U = Wrap(px);
    pixel.V = py;
  } else if ((piece.Bands & sBottom) && nearBottom) {
    pixel.U = Wrap(px);
    pixel.V = kCell - py;
  } else if ((piece.Bands & sLeft) && nearLeft) {
    pixel.U = Wrap(py);
    pixel.V = px;
  } else if ((piece.Bands & sRight) && nearRight) {
    pixel.U = Wrap(py);
    pixel.V = kCell - px;
  } else {
    pixel.Kind = TWallPixel::None;
    return pixel;
  }
  if (joint >= 0) {
    // Distance along the band to the square at its end.
    const bool horizontal =
        ((piece.Bands & sTop) && nearTop) || ((piece.Bands & sBottom) && nearBottom);
    const float along = horizontal ? px : py;
    const bool squareAtStart = horizontal ? (joint == cTopLeft || joint == cBottomLeft)
                                          : (joint == cTopLeft || joint == cTopRight);
    pixel.ToSquare = squareAtStart ? along - kT : (kCell - kT) - along;
  }
  return pixel;
}

// The look of one style: the distance from a pixel to the nearest joint or
// face, the stone it belongs to, and the stone's colour.
class TWallMaterial {
 public:
  explicit TWallMaterial(TWallStyle style)
      : fStyle(style),
        fStones(kCell, 0),
        fMottle(SeedOf(QStringLiteral("Walls/mottle/%1").arg(int(style))), kCell, 6, 4),
        fFine(SeedOf(QStringLiteral("Walls/fine/%1").arg(int(style))), kCell, 100) {
    TRandom random(SeedOf(QStringLiteral("Walls/stones/%1").arg(int(style))));
    // Fieldstones: two staggered rows of irregular stones along the band.
    for (float u = 0; u < kCell - 1; u += 30) {
      fStones.Add(u + random.Spread(8), 11 + random.Spread(4));
      fStones.Add(u + 15 + random.Spread(8), 29 + random.Spread(4));
    }
    for (int i = 0; i < fStones.Count(); ++i)
      fTints.push_back(float(random.Uniform(0.8, 1.15)) * (random.Chance(0.3) ? 0.92f : 1.0f));
    for (int i = 0; i < 4; ++i)
      fBlockTints[i] = float(random.Uniform(0.9, 1.08));
    fSquareTint = float(random.Uniform(0.95, 1.08));
  }

  // Distance to the nearest joint or face (negative inside a joint) and the
  // stone's tint, for a band pixel.
  void Band(const TWallPixel& p, float& edge, float& tint) const {
    const float faces = std::min(p.V, kT - p.V);
    if (fStyle == TWallStyle::Dressed) {
      const float toJoint = std::abs(p.U - kBlock * std::round(p.U / kBlock));
      edge = std::min({toJoint - kMortar / 2, faces, p.ToSquare - kMortar / 2});
      tint = fBlockTints[int(p.U / kBlock) % 4];
    } else {
      const TVoronoiHit hit = fStones.At(p.U, p.V);
      const float rough = 1.2f * float(fFine.At(p.U, p.V * 2));
      edge = std::min(
          {float(hit.EdgeDistance) - kMortar / 2 - rough, faces, p.ToSquare - kMortar / 2});
      tint = fTints[size_t(hit.Site)];
    }
  }

  void Square(const TWallPixel& p, float& edge, float& tint) const {
    // Joints on the sides where bands continue; the room sides are faces.
    const float outer = std::min(p.A, p.B) - kMortar / 2;
    const float inner = std::min(kT - p.A, kT - p.B) - (p.Post ? 0.0f : kMortar / 2);
    edge = std::min(outer, inner);
    if (fStyle == TWallStyle::Fieldstone)
      edge -= 1.2f * float(fFine.At(p.A * 2 + 100, p.B * 2 + 100));
    tint = fSquareTint;
  }

  TColour Colour(float u, float v, float tint) const {
    const float mottle = float(fMottle.At(u, v * 1.5f));
    const float fine = float(fFine.At(u, v));
    if (fStyle == TWallStyle::Dressed)
      return Hex(0x9A958C) * (tint * (1.0f + 0.1f * mottle + 0.05f * fine));
    return Mix(Hex(0x8C8478), Hex(0x6E6A62), Clamp01(0.5f + mottle)) *
           (tint * (1.0f + 0.07f * fine));
  }

  TColour Mortar(float u, float v) const {
    return Hex(0x4A453F) * (1.0f + 0.15f * float(fFine.At(u * 1.3f, v * 1.3f)));
  }

  // Rounded fieldstones rise higher than dressed blocks' bevels.
  float Relief(float edge) const {
    if (fStyle == TWallStyle::Dressed) return 4.0f * SmoothStep(0.0f, 4.0f, edge);
    return 7.0f * std::sqrt(Clamp01(edge / 10.0f));
  }

 private:
  TWallStyle fStyle;
  TVoronoi fStones;
  TFractalNoise fMottle;
  TNoise fFine;
  std::vector<float> fTints;
  float fBlockTints[4];
  float fSquareTint;
};

QImage PaintPiece(const TPiece& piece, const TWallMaterial& material) {
  // Heights over the cell and a one-pixel margin, for lighting.
  const int n = kCell + 2;
  std::vector<float> height(size_t(n * n), 0.0f);
  std::vector<TWallPixel> pixels(size_t(n * n));
  std::vector<float> edges(size_t(n * n), -1.0f);
  std::vector<float> tints(size_t(n * n), 1.0f);
  for (int y = -1; y <= kCell; ++y)
    for (int x = -1; x <= kCell; ++x) {
      const size_t i = size_t((y + 1) * n + (x + 1));
      const TWallPixel p = Classify(piece, x, y);
      pixels[i] = p;
      if (p.Kind == TWallPixel::None) continue;
      float edge = 0, tint = 1;
      if (p.Kind == TWallPixel::Band)
        material.Band(p, edge, tint);
      else
        material.Square(p, edge, tint);
      edges[i] = edge;
      tints[i] = tint;
      height[i] = material.Relief(edge);
    }
  auto h = [&](int x, int y) { return height[size_t((y + 1) * n + (x + 1))]; };
  QImage image(kCell, kCell, QImage::Format_RGB888);
  for (int y = 0; y < kCell; ++y) {
    uchar* line = image.scanLine(y);
    for (int x = 0; x < kCell; ++x, line += 3) {
      const size_t i = size_t((y + 1) * n + (x + 1));
      const TWallPixel& p = pixels[i];
      if (p.Kind == TWallPixel::None) {
        line[0] = 0xFF;
        line[1] = 0x00;
        line[2] = 0xFF;
        continue;
      }
      // Room side: a dark edge along the band's inner face, around a post's
      // two inner faces, and in the inner angle of a corner.
      bool outline;
      if (p.Kind == TWallPixel::Band)
        outline = p.V > kT - kOutline;
      else if (p.Post)
        outline = p.A > kT - kOutline || p.B > kT - kOutline;
      else
        outline = p.A > kT - kOutline && p.B > kT - kOutline;
      TColour c;
      if (outline) {
        c = Hex(0x1E1A16);
      } else {
        const float u = p.Kind == TWallPixel::Band ? p.U : p.A + 400;
        const float v = p.Kind == TWallPixel::Band ? p.V : p.B + 400;
        const float cover = SmoothStep(-0.6f, 0.6f, edges[i]);
        c = Mix(material.Mortar(u, v), material.Colour(u, v, tints[i]), cover);
        const float dx = (h(x + 1, y) - h(x - 1, y)) * 0.5f;
        const float dy = (h(x, y + 1) - h(x, y - 1)) * 0.5f;
        const float lx = -0.5f, ly = -0.6f, lz = 0.62f;
        const float lit = (-dx * lx - dy * ly + lz) / std::sqrt(dx * dx + dy * dy + 1.0f) / lz;
        c = c * std::max(0.0f, lit);
      }
      const QRgb rgb = ToRgb(c);
      line[0] = uchar(qRed(rgb));
      line[1] = uchar(qGreen(rgb));
      line[2] = uchar(qBlue(rgb));
      if (line[0] == 0xFF && line[1] == 0x00 && line[2] == 0xFF) line[1] = 1;
    }
  }
  return image;
}

}  // namespace

QImage PaintWallPieces(TWallStyle style) {
  const TWallMaterial material(style);
  QImage picture(kWallPieces * kCell, kCell, QImage::Format_RGB888);
  for (int n = 0; n < kWallPieces; ++n) {
    const QImage piece = PaintPiece(kPieces[n], material);
    for (int y = 0; y < kCell; ++y)
      std::copy(piece.constScanLine(y), piece.constScanLine(y) + 3 * kCell,
                picture.scanLine(y) + 3 * n * kCell);
  }
  return picture;
}
