// The merge loops run one operator over a recorded run of degrees, resolved once per run.
#include "fuzzyset/degree_runs.h"

#include <array>
#include <utility>

#include "fuzzyset/operator_kernels.h"
#include "fuzzyset/shapes.h"

namespace vesk {

namespace {

using kernels::TOperatorKernel;

// A group of G degrees merged with G recorded ones: a fixed count, one vector step, no branch.
template <TOperatorKernel Op, std::int32_t G>
[[gnu::always_inline]] inline void MergeGroup(std::int32_t* degrees, const std::int16_t* run) {
    for (std::int32_t k = 0; k < G; ++k)
        degrees[k] = Op(degrees[k], run[k]);
}

// Whole groups of G, the last one ending on the last element. Its degrees are merged first,
// from the values still there, and written last, so the group before it may overlap it: the
// overlapped elements are written twice with the same degree. Intervals of up to a hundred
// elements take one vector step a group, where a loop running to the exact count would finish
// element by element and mispredict its exit on one interval length after another.
template <TOperatorKernel Op, std::int32_t G>
[[gnu::always_inline]] inline void MergeLoop(std::int32_t* degrees, const std::int16_t* run,
                                             std::int32_t count) {
    if (count < G) {
        if constexpr (G > 8) {
            if (count >= 8) return MergeLoop<Op, 8>(degrees, run, count);
        }
        for (std::int32_t k = 0; k < count; ++k)
            degrees[k] = Op(degrees[k], run[k]);
        return;
    }
    const std::int32_t last = count - G;
    std::int32_t tail[G];
    for (std::int32_t k = 0; k < G; ++k)
        tail[k] = Op(degrees[last + k], run[last + k]);
    for (std::int32_t k = 0; k < last; k += G)
        MergeGroup<Op, G>(degrees + k, run + k);
    for (std::int32_t k = 0; k < G; ++k)
        degrees[last + k] = tail[k];
}

// The same groups read from one row and written to another (which must not overlap): no tail
// needs keeping, the last group simply overlaps the one before it.
template <TOperatorKernel Op, std::int32_t G>
[[gnu::always_inline]] inline void MergeLoopInto(const std::int32_t* __restrict in,
                                                 std::int32_t* __restrict out,
                                                 const std::int16_t* __restrict run,
                                                 std::int32_t count) {
    if (count < G) {
        if constexpr (G > 8) {
            if (count >= 8) return MergeLoopInto<Op, 8>(in, out, run, count);
        }
        for (std::int32_t k = 0; k < count; ++k)
            out[k] = Op(in[k], run[k]);
        return;
    }
    const std::int32_t last = count - G;
    for (std::int32_t k = 0; k < last; k += G)
        for (std::int32_t j = 0; j < G; ++j)
            out[k + j] = Op(in[k + j], run[k + j]);
    for (std::int32_t j = 0; j < G; ++j)
        out[last + j] = Op(in[last + j], run[last + j]);
}

// The replay loop, vectorised for the baseline instruction set and, where the processor has
// them, for 256-bit integer vectors (a product of eight degrees at once instead of an emulated
// multiplication of four) and 512-bit ones (sixteen at once). Integer arithmetic only: every
// version gives the same degrees.
template <TOperatorKernel Op>
void MergeRun(std::int32_t* degrees, const std::int16_t* run, std::int32_t count) {
    MergeLoop<Op, 8>(degrees, run, count);
}
template <TOperatorKernel Op>
[[gnu::target("avx2")]] void MergeRunWide(std::int32_t* degrees, const std::int16_t* run,
                                          std::int32_t count) {
    MergeLoop<Op, 8>(degrees, run, count);
}
template <TOperatorKernel Op>
[[gnu::target("avx512f,avx512bw,avx512vl,avx512dq")]] void
MergeRunWidest(std::int32_t* degrees, const std::int16_t* run, std::int32_t count) {
    MergeLoop<Op, 16>(degrees, run, count);
}

template <TOperatorKernel Op>
void MergeRunInto(const std::int32_t* in, std::int32_t* out, const std::int16_t* run,
                  std::int32_t count) {
    MergeLoopInto<Op, 8>(in, out, run, count);
}
template <TOperatorKernel Op>
[[gnu::target("avx2")]] void MergeRunIntoWide(const std::int32_t* in, std::int32_t* out,
                                              const std::int16_t* run, std::int32_t count) {
    MergeLoopInto<Op, 8>(in, out, run, count);
}
template <TOperatorKernel Op>
[[gnu::target("avx512f,avx512bw,avx512vl,avx512dq")]] void
MergeRunIntoWidest(const std::int32_t* in, std::int32_t* out, const std::int16_t* run,
                   std::int32_t count) {
    MergeLoopInto<Op, 16>(in, out, run, count);
}

using TRunMerge = TDegreeRunMerge;
using TRunMerges = std::array<TRunMerge, OperatorCount>;
using TRunMergesInto = std::array<TDegreeRunMergeInto, OperatorCount>;

enum class TVectors { Baseline, Avx2, Avx512 };

template <std::size_t... Op>
constexpr TRunMerges RunMergesFor(std::index_sequence<Op...>, TVectors vectors) {
    switch (vectors) {
    case TVectors::Avx512:
        return {MergeRunWidest<kernels::OperatorKernels[Op]>...};
    case TVectors::Avx2:
        return {MergeRunWide<kernels::OperatorKernels[Op]>...};
    default:
        return {MergeRun<kernels::OperatorKernels[Op]>...};
    }
}

template <std::size_t... Op>
constexpr TRunMergesInto RunMergesIntoFor(std::index_sequence<Op...>, TVectors vectors) {
    switch (vectors) {
    case TVectors::Avx512:
        return {MergeRunIntoWidest<kernels::OperatorKernels[Op]>...};
    case TVectors::Avx2:
        return {MergeRunIntoWide<kernels::OperatorKernels[Op]>...};
    default:
        return {MergeRunInto<kernels::OperatorKernels[Op]>...};
    }
}

TVectors WidestVectors() {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
        __builtin_cpu_supports("avx512dq"))
        return TVectors::Avx512;
    return __builtin_cpu_supports("avx2") ? TVectors::Avx2 : TVectors::Baseline;
}

// The loop of each operator code, for the widest vectors the processor has.
const TRunMerges RunMerges =
    RunMergesFor(std::make_index_sequence<OperatorCount>(), WidestVectors());
const TRunMergesInto RunMergesInto =
    RunMergesIntoFor(std::make_index_sequence<OperatorCount>(), WidestVectors());

} // namespace

void MergeDegreeRun(std::int32_t Op, std::int32_t* degrees, const std::int16_t* run,
                    std::int32_t count) {
    RunMerges[static_cast<std::size_t>(Op)](degrees, run, count);
}

void MergeDegreeRunInto(std::int32_t Op, const std::int32_t* in, std::int32_t* out,
                        const std::int16_t* run, std::int32_t count) {
    RunMergesInto[static_cast<std::size_t>(Op)](in, out, run, count);
}

TDegreeRunMerge DegreeRunMergeOf(std::int32_t Op) {
    return RunMerges[static_cast<std::size_t>(Op)];
}

TDegreeRunMergeInto DegreeRunMergeIntoOf(std::int32_t Op) {
    return RunMergesInto[static_cast<std::size_t>(Op)];
}

void DrawShapeRun(std::int32_t Code, std::int32_t Repeats, std::int32_t Length, std::int32_t* out) {
    if (Length < Repeats + 1) Repeats = 0;
    const TShapeFunction shape = ResolveShape(Code);
    const std::int32_t width = Length / (Repeats + 1);
    // Every full piece has the same span, so the same degrees: the first is copied.
    for (std::int32_t k = 0; k < Repeats; ++k) {
        const std::int32_t start = k * width;
        for (std::int32_t i = start; i < start + width; ++i)
            out[i] = k == 0 ? shape(0, width - 1, i) : out[i - start];
    }
    const std::int32_t start = Repeats * width;
    for (std::int32_t i = start; i < Length; ++i)
        out[i] = shape(start, Length - 1, i);
}

} // namespace vesk
