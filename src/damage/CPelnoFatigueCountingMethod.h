#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "damage/CyclesByInstants.h"
#include "damage/CyclesByRange.h"

// A history given by index: n values and, for each index, the first index whose instant is the
// same (the index itself when its instant occurs only there).
struct IndexedHistory {
    std::int32_t n = 0;
    const double* values = nullptr;
    const std::int32_t* firstIndex = nullptr;
};

// The cycles of a count by index, the first count of each array: the first index of the
// instant of each cycle's lower extreme, the indices where it begins and where it ends (not
// set until located), and its range. The storage is kept from one count to the next.
struct IndexedCycles {
    std::vector<std::int32_t> peaks;
    std::vector<std::int32_t> starts;
    std::vector<std::int32_t> ends;
    std::vector<double> ranges;
    std::size_t count = 0;

    std::size_t Capacity() const noexcept { return ranges.size(); }
    // Room for at least the given number of cycles.
    void Reserve(std::size_t least)
    {
        if (ranges.size() < least) {
            peaks.resize(least);
            starts.resize(least);
            ends.resize(least);
            ranges.resize(least);
        }
    }
};

// A way of cutting a scalar history (one value per stress record) into stress cycles. The
// damage request owns one and the damage procedures call LoadingCycles on it.
//
// The methods keep scratch arrays between calls so that a count allocates nothing once they
// have grown to the history's size: an object must not be used by two counts at the same time.
// Clone gives each thread its own.
class CPelnoFatigueCountingMethod {
public:
    virtual ~CPelnoFatigueCountingMethod() = default;

    // A fresh object of the same method.
    virtual std::unique_ptr<CPelnoFatigueCountingMethod> Clone() const = 0;

    // Counts the cycles of the history of n records (instants and values in chronological
    // order; read only) into both collections, which are cleared first (their storage is
    // kept). Every cycle goes into byInstants, then into byRange. Raises 220 below 3 records,
    // 210 on an internal inconsistency, 460 for the reservoir on a non-periodic history.
    virtual void LoadingCycles(std::int32_t n, const std::int32_t* instants, const double* values,
                               CyclesByInstants& byInstants, CyclesByRange& byRange) const = 0;

    // Whether the method counts by index (CountByIndex): then its clones count exactly as the
    // object itself, and the critical-plane search counts with one clone per thread. A method
    // that only offers LoadingCycles is called by one thread, in the order of the search.
    virtual bool CountsByIndex() const noexcept { return false; }

    // The same count as LoadingCycles, the cycles appended to cycles (emptied first) in the
    // order they are counted, before any ordering or removal of duplicates. With locateEnds
    // false their start and end are not set, to be located by LocateEnds where they are
    // needed (on an indexed history the location of the ends cannot fail), and cycles whose
    // lower extremes are distinct points of the history may come in another order. Raises as
    // LoadingCycles does; the base class raises 10 (no count by index).
    virtual void CountByIndex(const IndexedHistory& history, IndexedCycles& cycles, bool locateEnds) const;

    // Locates the start and end of the cycle of the given rank in a count by index, as
    // CycleEnds does.
    static void LocateEnds(const IndexedHistory& history, IndexedCycles& cycles, std::size_t cycle);

    // Locates in the history a cycle of the given range whose lower extreme is at the instant
    // peak: writes the instants where it begins and where it ends. Raises 210 when the range
    // is below 0.01 or the instant is not in the history.
    static void CycleEnds(std::int32_t n, const std::int32_t* instants, const double* values,
                          std::int32_t peak, double range, std::int32_t& start, std::int32_t& end);

protected:
    CPelnoFatigueCountingMethod() = default;
    CPelnoFatigueCountingMethod(const CPelnoFatigueCountingMethod&) = default;
    CPelnoFatigueCountingMethod& operator=(const CPelnoFatigueCountingMethod&) = default;

    // Finds the first index of an instant in the history being counted: a direct table when
    // the instants span a range comparable with their number (record numbers do), a plain
    // scan otherwise.
    class InstantIndex {
    public:
        void Build(std::int32_t n, const std::int32_t* instants);
        // The first index whose instant is the given one, or -1.
        std::int32_t First(std::int32_t instant) const noexcept;

    private:
        std::int32_t n_ = 0;
        const std::int32_t* instants_ = nullptr;
        std::int64_t lowest_ = 0;
        bool direct_ = false;
        std::vector<std::int32_t> first_;
    };

    // Scratch of LoadingCycles: the first index of each instant and the cycles by index.
    struct LoadingScratch {
        InstantIndex index;
        std::vector<std::int32_t> firstIndex;
        IndexedCycles cycles;
    };

    // The history of LoadingCycles by index (its first indices kept in the scratch).
    static IndexedHistory Indexed(std::int32_t n, const std::int32_t* instants, const double* values,
                                  LoadingScratch& scratch);

    // Inserts the cycles, their indices turned into instants, into byInstants then byRange,
    // one after the other in the order counted.
    static void Insert(const IndexedCycles& cycles, const std::int32_t* instants,
                       CyclesByInstants& byInstants, CyclesByRange& byRange);

    // The frame of LoadingCycles around a method's count by index, count(history, cycles):
    // both collections cleared, the history indexed in the scratch, the cycles counted with
    // their ends located, then inserted, those counted before a failure too.
    template <class Count>
    static void CountIntoCollections(std::int32_t n, const std::int32_t* instants, const double* values,
                                     CyclesByInstants& byInstants, CyclesByRange& byRange,
                                     LoadingScratch& scratch, const Count& count)
    {
        byInstants.clear();
        byRange.clear();
        const IndexedHistory history = Indexed(n, instants, values, scratch);
        scratch.cycles.count = 0;
        scratch.cycles.Reserve(static_cast<std::size_t>(n) + 2);
        try {
            count(history, scratch.cycles);
        } catch (...) {
            Insert(scratch.cycles, instants, byInstants, byRange);
            throw;
        }
        Insert(scratch.cycles, instants, byInstants, byRange);
    }

    // Records a counted cycle whose lower extreme is at the index peak (the first index of its
    // instant), its ends located as CycleEnds does when locateEnds. A cycle narrower than the
    // 0.01 tolerance is not recorded.
    static void Record(const IndexedHistory& history, std::int32_t peak, double range, bool locateEnds,
                       IndexedCycles& cycles)
    {
        // A cycle narrower than the tolerance (input rounded to 0.01 MPa can leave one once
        // its neighbours are paired off) is dropped from the count without being recorded.
        if (!(range >= 0.01)) {
            return;
        }
        const std::size_t at = cycles.count;
        if (at == cycles.Capacity()) {
            cycles.Reserve(2 * at + 16);
        }
        cycles.peaks[at] = peak;
        cycles.ranges[at] = range;
        if (locateEnds) {
            CycleEndsAt(history.n, history.values, peak, range, cycles.starts[at], cycles.ends[at]);
        }
        ++cycles.count;
    }

private:
    // CycleEnds by index once the index of the peak instant is known (-1: not in the history).
    static void CycleEndsAt(std::int32_t n, const double* values, std::int32_t p, double range,
                            std::int32_t& start, std::int32_t& end);
};
