#pragma once

#include <cstdint>

// How many records the turning points are sought among at a time: one, four (AVX2) or eight
// (AVX-512).
enum class TurningWidth { One, Four, Eight };

// The turning points of the history of n records (values), 0-based: values and indices written
// into pointValues and pointIndices, their number returned.
//
// Flats: of two neighbours within 0.01 the earlier goes, the later record stays, so a record is
// kept when it is the last one or when the next one differs by more than 0.01. Turning points of
// the records kept: the first, every inner one where the slope changes sign (the product of the
// slopes on its two sides below 0), and the last. Fewer than 3 records kept give no turning point
// worth counting (0 returned).
//
// keptValues and keptIndices are scratch for the records kept; every array holds n elements at
// least (a point or a record kept is never written past the record it comes from). The points
// are the same at every width: each test is the same operation on the same two or three values.
//
// The first form takes the widest the processor offers; the second the width given, where the
// build and the processor offer it (else the next narrower).
std::int32_t TurningPoints(const double* values, std::int32_t n, double* pointValues, std::int32_t* pointIndices,
                           double* keptValues, std::int32_t* keptIndices) noexcept;
std::int32_t TurningPoints(TurningWidth width, const double* values, std::int32_t n, double* pointValues,
                           std::int32_t* pointIndices, double* keptValues, std::int32_t* keptIndices) noexcept;

// The points of a pass along the history of n records that drops a record within 0.01 of the last
// one kept and lets a record on a monotonic run replace the one before it (the first record always
// stays), 0-based, their number returned, when no two neighbours are closer than 0.01 without
// being equal (a step of 0.01 exactly is a step): -1 otherwise (and when they differ by what is
// not a number, or there is no record), the arrays then left in any state.
//
// Then the pass drops exactly the records equal to the one before, and the last record kept is
// always equal to the record before, so that the slope from the point before it has the sign of
// the last step: the points are the first record kept, every inner one where the slope changes
// sign (the product of the slopes on its two sides below 0), and the last, found several records
// at a time. keptValues and keptIndices are scratch; every array holds n elements at least.
std::int32_t StepTurningPoints(const double* values, std::int32_t n, double* pointValues, std::int32_t* pointIndices,
                               double* keptValues, std::int32_t* keptIndices) noexcept;
std::int32_t StepTurningPoints(TurningWidth width, const double* values, std::int32_t n, double* pointValues,
                               std::int32_t* pointIndices, double* keptValues, std::int32_t* keptIndices) noexcept;

// The widest width the build and the processor offer.
TurningWidth WidestTurningWidth() noexcept;
