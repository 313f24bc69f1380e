#pragma once

#include <cstddef>

// How many values of a series are computed at a time: one, two (SSE2) or four (AVX2).
enum class SeriesWidth { One, Two, Four };

// Values k = 0 .. count-1 of a DSigmaEq series: 2·sqrt(dy² + dz²) of the shear stresses y[k],
// z[k] less those of the origin, times factor when applyFactor, written into values. Returns
// the largest of them and of largest.
//
// The values come out the same to the last bit at any width: the same operations on each (the
// square root and the others round alike one, two or four at a time), and the largest value is
// the same whatever the order it is taken in. The first form takes the widest the processor
// offers; the second the width given, where the build and the processor offer it (else the
// next narrower).
double SeriesStretch(std::size_t count, const double* y, const double* z, double originY, double originZ,
                     bool applyFactor, double factor, double* values, double largest) noexcept;
double SeriesStretch(SeriesWidth width, std::size_t count, const double* y, const double* z, double originY,
                     double originZ, bool applyFactor, double factor, double* values, double largest) noexcept;

// The widest width the build and the processor offer.
SeriesWidth WidestSeriesWidth() noexcept;
