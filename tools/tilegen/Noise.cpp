#include "Noise.h"

#include <cmath>
#include <limits>

uint32_t SeedOf(const QString& text) {
  uint32_t hash = 2166136261u;
  for (QChar c : text) {
    const uint16_t unit = c.unicode();
    hash = (hash ^ (unit & 0xFF)) * 16777619u;
    hash = (hash ^ (unit >> 8)) * 16777619u;
  }
  return hash;
}

double HashUnit(uint32_t value) {
  // The finaliser of MurmurHash3.
  value ^= value >> 16;
  value *= 0x85EBCA6Bu;
  value ^= value >> 13;
  value *= 0xC2B2AE35u;
  value ^= value >> 16;
  return value / 4294967296.0;
}

double TRandom::Uniform() {
  // 53 random bits from two draws, as a fraction in [0, 1).
  const uint64_t high = fEngine() >> 5;
  const uint64_t low = fEngine() >> 6;
  return double((high << 26) | low) / 9007199254740992.0;
}

int TRandom::Int(int low, int high) {
  return low + int(std::floor(Uniform() * double(high - low + 1)));
}

TNoise::TNoise(uint32_t seed, double period, int cells)
    : fCells(cells), fInverseCells(1.0f / float(cells)), fScale(cells / period) {
  TRandom random(seed);
  fGradX.resize(size_t(cells * cells));
  fGradY.resize(size_t(cells * cells));
  for (size_t i = 0; i < fGradX.size(); ++i) {
    const double angle = random.Uniform() * 6.283185307179586;
    fGradX[i] = float(std::cos(angle));
    fGradY[i] = float(std::sin(angle));
  }
}

double TNoise::At(double x, double y) const {
  // Lattice coordinates wrapped into [0, cells): a multiplication instead of
  // an integer division, which dominated the painting time.
  float u = float(x * fScale);
  float v = float(y * fScale);
  u -= fCells * std::floor(u * fInverseCells);
  v -= fCells * std::floor(v * fInverseCells);
  int x0 = int(u);
  int y0 = int(v);
  if (x0 >= fCells) x0 = fCells - 1;
  if (y0 >= fCells) y0 = fCells - 1;
  const float tx = u - float(x0);
  const float ty = v - float(y0);
  const int x1 = x0 + 1 == fCells ? 0 : x0 + 1;
  const int y1 = y0 + 1 == fCells ? 0 : y0 + 1;
  auto dot = [&](int gx, int gy, float dx, float dy) {
    const size_t i = size_t(gy * fCells + gx);
    return fGradX[i] * dx + fGradY[i] * dy;
  };
  const float n00 = dot(x0, y0, tx, ty);
  const float n10 = dot(x1, y0, tx - 1, ty);
  const float n01 = dot(x0, y1, tx, ty - 1);
  const float n11 = dot(x1, y1, tx - 1, ty - 1);
  auto fade = [](float t) { return t * t * t * (t * (t * 6 - 15) + 10); };
  const float sx = fade(tx);
  const float sy = fade(ty);
  const float top = n00 + (n10 - n00) * sx;
  const float bottom = n01 + (n11 - n01) * sx;
  return 1.4 * (top + (bottom - top) * sy);
}

TFractalNoise::TFractalNoise(uint32_t seed, double period, int baseCells, int octaves,
                             double gain) {
  double weight = 1;
  double total = 0;
  for (int i = 0; i < octaves; ++i) {
    fOctaves.emplace_back(seed * 2654435761u + uint32_t(i) * 40503u, period, baseCells << i);
    fWeights.push_back(weight);
    total += weight;
    weight *= gain;
  }
  for (double& w : fWeights)
    w /= total;
}

double TFractalNoise::At(double x, double y) const {
  double sum = 0;
  for (size_t i = 0; i < fOctaves.size(); ++i)
    sum += fWeights[i] * fOctaves[i].At(x, y);
  return sum;
}

int TVoronoi::Add(double x, double y) {
  fX.push_back(x);
  fY.push_back(y);
  return int(fX.size()) - 1;
}

TVoronoiHit TVoronoi::At(double x, double y) const {
  TVoronoiHit hit;
  double best = std::numeric_limits<double>::max();
  const size_t n = fX.size();
  for (size_t i = 0; i < n; ++i) {
    const double dx = Wrap(x - fX[i], fPeriodX);
    const double dy = Wrap(y - fY[i], fPeriodY);
    const double d = dx * dx + dy * dy;
    if (d < best) {
      best = d;
      hit.Site = int(i);
      hit.Dx = dx;
      hit.Dy = dy;
    }
  }
  if (hit.Site < 0) return hit;
  hit.Distance = std::sqrt(best);
  // The distance to the cell's border is the smallest distance to a bisector
  // between the nearest site and any other (each seen from the point). A
  // site at distance d is at least (d - Distance) / 2 away that way, which
  // rules most sites out without a square root.
  double edge = std::numeric_limits<double>::max();
  for (size_t i = 0; i < n; ++i) {
    if (int(i) == hit.Site) continue;
    const double dx = Wrap(x - fX[i], fPeriodX);
    const double dy = Wrap(y - fY[i], fPeriodY);
    const double d2 = dx * dx + dy * dy;
    const double bound = 2 * edge + hit.Distance;
    if (edge != std::numeric_limits<double>::max() && d2 >= bound * bound) continue;
    const double ox = hit.Dx - dx;
    const double oy = hit.Dy - dy;
    const double length = std::sqrt(ox * ox + oy * oy);
    if (length < 1e-9) continue;
    const double d = (d2 - best) / (2 * length);
    if (d < edge) edge = d;
  }
  hit.EdgeDistance = edge == std::numeric_limits<double>::max() ? 1e9 : edge;
  return hit;
}
