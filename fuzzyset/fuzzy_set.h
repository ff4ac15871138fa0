#pragma once
// A discrete fuzzy set: one integer degree per universe element, stored contiguously.

#include <cstdint>
#include <vector>

#include "fuzzyset/degree.h"
#include "fuzzyset/plot_image.h"

namespace vesk {

// The largest element count whose reference MakeReference builds whole. Past it the bells'
// squared half-widths wrap in 32 bits, their degrees leave 0..100 and the unions leave those
// elements out, so the set comes out shorter than asked.
constexpr std::int32_t MaxReferenceElements = 185360;

// The degrees of elements 0..Count()-1. Appending checks the range; overwriting does not.
class TFuzzySet {
public:
    std::int32_t Count() const { return static_cast<std::int32_t>(FDegrees.size()); }
    // Read-only view of the degrees, element i at index i.
    const std::vector<std::int32_t>& Degrees() const { return FDegrees; }
    // The degrees for loops that overwrite them in bulk, unchecked, as SetDegree does.
    std::int32_t* WritableDegrees() { return FDegrees.data(); }

    // Appends v; its index, or -1 (set unchanged) when v lies outside 0..100.
    std::int32_t AddDegree(std::int32_t v);
    // Overwrites element i with v unchecked; false when i is out of range.
    bool SetDegree(std::int32_t i, std::int32_t v);
    // Element i's degree; -1 when i is out of range.
    std::int32_t GetDegree(std::int32_t i) const;
    void ClearDegrees();

    // Self := the degrees of S that lie in 0..100, in order (others are left out).
    void CopyFrom(const TFuzzySet& S);
    // Self := elementwise maximum / minimum over the shorter operand; out-of-range results are
    // left out. A or B may be Self.
    void Union(const TFuzzySet& A, const TFuzzySet& B);
    void Intersection(const TFuzzySet& A, const TFuzzySet& B);
    void ZeroDegrees();
    // Empties Self, reseeds the random source from the clock, appends n draws of 0..100.
    void RandomFill(std::int32_t n);
    // Empties Self and appends n copies of v (none when v is outside 0..100).
    void Fill(std::int32_t n, std::int32_t v);
    // Elements 0..k := a, k+1..count-1 := b; nothing when k is out of range.
    void StepFill(std::int32_t a, std::int32_t b, std::int32_t k);

    // Sum of degree/100, each step in extended precision stored to a double.
    double Cardinality() const;
    // Sum of |a/100 - b/100| over the common elements, likewise.
    double HammingDistance(const TFuzzySet& B) const;
    // Cardinality(Self ∩ B) / Cardinality(Self); a zero denominator faults.
    double Subsethood(const TFuzzySet& B) const;

    // Merges a shape into elements First..Last, cut into Repeats + 1 pieces, by operator Op.
    // False (set unchanged) when the interval is not within 0..count-1.
    bool ApplyShape(std::int32_t Shape, std::int32_t Repeats, std::int32_t First, std::int32_t Last,
                    std::int32_t Op);

    // Builds the reference set of n elements (or n random degrees when Random).
    void MakeReference(std::int32_t n, bool Random = false);

    // Draws the set's curve on Image in Colour, clearing it white first when asked.
    void Plot(TPlotImage& Image, TColour Colour, bool ClearFirst) const;

private:
    std::vector<std::int32_t> FDegrees;
};

// The element whose point the plot of a set of count elements draws at column x of a bitmap
// width pixels wide (the first of several in one column); -1 past the last element.
std::int32_t PlottedElementAt(int x, int width, std::int32_t count);

} // namespace vesk
