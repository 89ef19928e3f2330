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
constexpr float kOutline = 9.0f;  // dark edge on the room side
constexpr float kFace = 4.0f;     // darker line along the outer face
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

// What the material says about one pixel: the distance to the nearest joint
// or face (negative inside a joint) and the colour of the stone there.
struct TWallSample {
  float Edge = 0;
  TColour Stone;
};

// The look of one style.
class TWallMaterial {
 public:
  explicit TWallMaterial(TWallStyle style)
      : fStyle(style),
        fStones(kCell, 0),
        fMottle(SeedOf(QStringLiteral("Walls/mottle/%1").arg(int(style))), kCell, 6, 4),
        fFine(SeedOf(QStringLiteral("Walls/fine/%1").arg(int(style))), kCell, 100) {
    TRandom random(SeedOf(QStringLiteral("Walls/stones/%1").arg(int(style))));
    if (style == TWallStyle::Dressed) {
      for (TColour& c : fBlockColours)
        c = Hex(0x67635D) * float(random.Uniform(0.9, 1.1));
      fSquareColour = Hex(0x67635D) * float(random.Uniform(0.98, 1.06));
    } else {
      const TColour palette[] = {Hex(0x6E665A), Hex(0x625D55), Hex(0x776D60),
                                 Hex(0x5A5650), Hex(0x6B6257), Hex(0x645A50)};
      // Two staggered courses; now and then one stone fills both.
      for (float u = 0; u < kCell - 1; u += 33.33f) {
        if (random.Chance(0.25)) {
          fStones.Add(u + random.Spread(6), kT / 2 + random.Spread(3));
          continue;
        }
        fStones.Add(u + random.Spread(7), 11 + random.Spread(3));
        fStones.Add(u + 16 + random.Spread(7), kT - 11 + random.Spread(3));
      }
      for (int i = 0; i < fStones.Count(); ++i)
        fStoneColours.push_back(palette[random.Int(0, 5)] * float(random.Uniform(0.88, 1.1)));
      fSquareColour = palette[2];
      fSquareStones.Add(12, 13);
      fSquareStones.Add(31, 11);
      fSquareStones.Add(21, 32);
    }
  }

  TWallSample Band(const TWallPixel& p) const {
    const float faces = std::min(p.V, kT - p.V);
    TWallSample sample;
    if (fStyle == TWallStyle::Dressed) {
      const float toJoint = std::abs(p.U - kBlock * std::round(p.U / kBlock));
      sample.Edge = std::min({toJoint - kMortar / 2, faces, p.ToSquare - kMortar / 2});
      sample.Stone = Textured(fBlockColours[int(p.U / kBlock) % 4], p.U, p.V);
    } else {
      // Looked up at a displaced point, so the joints wander.
      const float wu = 4.0f * float(fMottle.At(p.U * 2, p.V * 2 + 50));
      const float wv = 2.5f * float(fMottle.At(p.U * 2 + 50, p.V * 2));
      const TVoronoiHit hit = fStones.At(Wrap(p.U + wu), p.V + wv);
      const float rough = 1.2f * float(fFine.At(p.U, p.V * 2));
      sample.Edge = std::min(
          {float(hit.EdgeDistance) - kMortar / 2 - rough, faces, p.ToSquare - kMortar / 2});
      sample.Stone = Textured(fStoneColours[size_t(hit.Site)], p.U, p.V);
    }
    return sample;
  }

  TWallSample Square(const TWallPixel& p) const {
    // Joints on the sides where bands continue; a post's room sides and a
    // corner's outer faces are faces.
    const float outer = std::min(p.A, p.B) - (p.Post ? kMortar / 2 : 0.0f);
    const float inner = std::min(kT - p.A, kT - p.B) - (p.Post ? 0.0f : kMortar / 2);
    TWallSample sample;
    sample.Edge = std::min(outer, inner);
    if (fStyle == TWallStyle::Fieldstone) {
      // A few stones of their own fill the square.
      const TVoronoiHit hit = fSquareStones.At(p.A, p.B);
      sample.Edge = std::min(sample.Edge, float(hit.EdgeDistance) - kMortar / 2) -
                    1.2f * float(fFine.At(p.A * 2 + 100, p.B * 2 + 100));
      sample.Stone =
          Textured(fStoneColours[size_t(hit.Site) % fStoneColours.size()], p.A + 400, p.B + 400);
      return sample;
    }
    sample.Stone = Textured(fSquareColour, p.A + 400, p.B + 400);
    return sample;
  }

  TColour Mortar(float u, float v) const {
    return Hex(0x3C3833) * (1.0f + 0.15f * float(fFine.At(u * 1.3f, v * 1.3f)));
  }

  // Rounded fieldstones rise higher than dressed blocks' bevels.
  float Relief(float edge) const {
    if (fStyle == TWallStyle::Dressed) return 4.0f * SmoothStep(0.0f, 4.0f, edge);
    return 7.0f * std::sqrt(Clamp01(edge / 10.0f));
  }

 private:
  TColour Textured(TColour base, float u, float v) const {
    const float mottle = float(fMottle.At(u, v * 1.5f));
    const float fine = float(fFine.At(u, v));
    return base * (1.0f + 0.11f * mottle + 0.06f * fine);
  }

  TWallStyle fStyle;
  TVoronoi fStones;
  TVoronoi fSquareStones{0, 0};
  TFractalNoise fMottle;
  TNoise fFine;
  TColour fBlockColours[4];
  std::vector<TColour> fStoneColours;
  TColour fSquareColour;
};

QImage PaintPiece(const TPiece& piece, const TWallMaterial& material) {
  // Heights over the cell and a one-pixel margin, for lighting.
  const int n = kCell + 2;
  std::vector<float> height(size_t(n * n), 0.0f);
  std::vector<TWallPixel> pixels(size_t(n * n));
  std::vector<TWallSample> samples(size_t(n * n));
  for (int y = -1; y <= kCell; ++y)
    for (int x = -1; x <= kCell; ++x) {
      const size_t i = size_t((y + 1) * n + (x + 1));
      const TWallPixel p = Classify(piece, x, y);
      pixels[i] = p;
      if (p.Kind == TWallPixel::None) continue;
      samples[i] = p.Kind == TWallPixel::Band ? material.Band(p) : material.Square(p);
      height[i] = material.Relief(samples[i].Edge);
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
      // two inner faces, and in the inner angle of a corner. The outer faces
      // get a thinner line; where another wall continues beyond a corner's
      // outer face, it reads as one more joint.
      bool outline, face;
      if (p.Kind == TWallPixel::Band) {
        outline = p.V > kT - kOutline;
        face = p.V < kFace;
      } else if (p.Post) {
        outline = p.A > kT - kOutline || p.B > kT - kOutline;
        face = false;
      } else {
        outline = p.A > kT - kOutline && p.B > kT - kOutline;
        face = p.A < kFace || p.B < kFace;
      }
      TColour c;
      if (outline) {
        c = Hex(0x1A1714);
      } else if (face) {
        c = Hex(0x2C2824);
      } else {
        const float u = p.Kind == TWallPixel::Band ? p.U : p.A + 400;
        const float v = p.Kind == TWallPixel::Band ? p.V : p.B + 400;
        const TWallSample& sample = samples[i];
        c = Mix(material.Mortar(u, v), sample.Stone, SmoothStep(-0.6f, 0.6f, sample.Edge));
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
