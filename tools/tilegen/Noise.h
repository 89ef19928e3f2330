#pragma once

#include <QString>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

// Seeds and noise for the procedural artwork. Everything here is a pure
// function of its seed, so every run paints the same pixels.

// FNV-1a over the UTF-16 code units of a text: a seed that, unlike qHash, is
// the same in every process.
uint32_t SeedOf(const QString& text);

// A well-mixed hash of a number, as a fraction in [0, 1).
double HashUnit(uint32_t value);

// Uniform random numbers from a fixed seed. The conversions are our own, not
// the standard distributions, whose output may differ between libraries.
class TRandom {
 public:
  explicit TRandom(uint32_t seed) : fEngine(seed) {}
  explicit TRandom(const QString& name) : TRandom(SeedOf(name)) {}

  double Uniform();  // [0, 1)
  double Uniform(double low, double high) { return low + (high - low) * Uniform(); }
  // An integer in [low, high].
  int Int(int low, int high);
  bool Chance(double probability) { return Uniform() < probability; }
  // Roughly normal, mean 0, standard deviation about 1/sqrt(2) * spread.
  double Spread(double spread) { return (Uniform() + Uniform() - 1.0) * spread; }
  uint32_t Next() { return uint32_t(fEngine()); }

 private:
  std::mt19937 fEngine;
};

// Gradient noise that repeats every `period` pixels in x and in y, with
// `cells` lattice cells per period. Values lie roughly in [-1, 1].
class TNoise {
 public:
  TNoise(uint32_t seed, double period, int cells);
  double At(double x, double y) const;

 private:
  int fCells;
  float fInverseCells;
  double fScale;
  std::vector<float> fGradX;
  std::vector<float> fGradY;
};

// A sum of octaves of TNoise, each with twice the lattice cells of the one
// before, all repeating every `period` pixels. Normalised to about [-1, 1].
class TFractalNoise {
 public:
  TFractalNoise(uint32_t seed, double period, int baseCells, int octaves, double gain = 0.5);
  double At(double x, double y) const;

 private:
  std::vector<TNoise> fOctaves;
  std::vector<double> fWeights;
};

// The answer of a Voronoi lookup: the nearest site, its distance, and the
// distance to the border of its cell (0 on the border).
struct TVoronoiHit {
  int Site = -1;
  double Distance = 0;
  double EdgeDistance = 0;
  // Offset from the site to the point, taking wrapping into account.
  double Dx = 0;
  double Dy = 0;
};

// Voronoi cells of a set of sites, optionally repeating every periodX pixels
// in x and periodY in y (0: no repetition in that direction).
class TVoronoi {
 public:
  TVoronoi(double periodX, double periodY) : fPeriodX(periodX), fPeriodY(periodY) {}

  int Add(double x, double y);
  int Count() const { return int(fX.size()); }
  double X(int site) const { return fX[size_t(site)]; }
  double Y(int site) const { return fY[size_t(site)]; }

  TVoronoiHit At(double x, double y) const;

 private:
  // The shortest offset between two coordinates when they repeat every
  // period (0: no repetition).
  static double Wrap(double d, double period) {
    if (period <= 0) return d;
    if (d > 1.5 * period || d < -1.5 * period) return d - period * std::round(d / period);
    if (d > period / 2) return d - period;
    if (d < -period / 2) return d + period;
    return d;
  }

  double fPeriodX;
  double fPeriodY;
  std::vector<double> fX;
  std::vector<double> fY;
};
