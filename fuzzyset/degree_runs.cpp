// The merge loops run one operator over a recorded run of degrees, resolved once per run.
#include "fuzzyset/degree_runs.h"

#include <array>
#include <cstring>
#include <immintrin.h>
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

// The operators once more, over whole vectors of degrees written out (GCC's vector extensions),
// for the loops the incremental evaluation calls over and over on short intervals: the
// auto-vectorised loops above take two groups a step and finish the odd one apart, which costs
// more than the merge itself on intervals of a few dozen elements. Each is the operator of the
// same code in operator_kernels.h lane by lane: the same wrapping 32-bit sums and products,
// the same division truncating toward zero.
#define VESK_LANES [[gnu::target("avx2"), gnu::always_inline]] inline

template <int N>
struct TLanes {
    using S [[gnu::vector_size(N * 4)]] = std::int32_t;
    using U [[gnu::vector_size(N * 4)]] = std::uint32_t;
    using H [[gnu::vector_size(N * 2)]] = std::int16_t;
};

namespace lanes {

template <class V>
using TUnsigned = typename TLanes<sizeof(V) / 4>::U;

template <class V>
VESK_LANES V Add(V a, V b) {
    return reinterpret_cast<V>(reinterpret_cast<TUnsigned<V>>(a) +
                               reinterpret_cast<TUnsigned<V>>(b));
}
template <class V>
VESK_LANES V Sub(V a, V b) {
    return reinterpret_cast<V>(reinterpret_cast<TUnsigned<V>>(a) -
                               reinterpret_cast<TUnsigned<V>>(b));
}
template <class V>
VESK_LANES V Mul(V a, V b) {
    return reinterpret_cast<V>(reinterpret_cast<TUnsigned<V>>(a) *
                               reinterpret_cast<TUnsigned<V>>(b));
}
template <class V>
VESK_LANES V MaxOf(V a, V b) {
    return a > b ? a : b;
}
template <class V>
VESK_LANES V MinOf(V a, V b) {
    return a < b ? a : b;
}
template <class V>
VESK_LANES V Complement(V a) {
    return Sub(V{} + 100, a);
}
template <class V>
VESK_LANES V Product(V o, V n) {
    return Mul(o, n) / 100;
}
template <class V>
VESK_LANES V Mean(V o, V n) {
    return Add(o, n) / 2;
}

// By operator code, as kernels::OperatorKernels orders them.
template <std::size_t Code, class V>
VESK_LANES V Combine(V o, V n) {
    if constexpr (Code == 0) return MaxOf(o, n);
    else if constexpr (Code == 1) return MinOf(o, n);
    else if constexpr (Code == 2) return Mean(o, n);
    else if constexpr (Code == 3) return Complement(Mean(o, n));
    else if constexpr (Code == 4) return Complement(MinOf(o, n));
    else if constexpr (Code == 5) return Complement(MaxOf(o, n));
    else if constexpr (Code == 6) return MinOf(o, Complement(n));
    else if constexpr (Code == 7) return MaxOf(o, Complement(n));
    else if constexpr (Code == 8) return MinOf(Complement(o), n);
    else if constexpr (Code == 9) return MaxOf(Complement(o), n);
    else if constexpr (Code == 10) return Product(o, n);
    else if constexpr (Code == 11) return Complement(Product(o, n));
    else if constexpr (Code == 12) return MinOf(Complement(o), Product(o, n));
    else if constexpr (Code == 13) return MaxOf(Complement(o), Product(o, n));
    else if constexpr (Code == 14) return MinOf(Complement(n), Product(o, n));
    else return MaxOf(Complement(n), Product(o, n));
}

// Lanes of N degrees and of N run degrees (widened), loaded and stored unaligned.
template <int N>
VESK_LANES typename TLanes<N>::S Load(const std::int32_t* p) {
    typename TLanes<N>::S v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
template <int N>
VESK_LANES typename TLanes<N>::S LoadRun(const std::int16_t* p) {
    // One widening load (the compiler's own conversion loads half a vector at a time).
    if constexpr (N == 8)
        return reinterpret_cast<typename TLanes<N>::S>(
            _mm256_cvtepi16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))));
    else
        return reinterpret_cast<typename TLanes<N>::S>(
            _mm_cvtepi16_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))));
}
template <int N>
VESK_LANES void Store(std::int32_t* p, typename TLanes<N>::S v) {
    std::memcpy(p, &v, sizeof v);
}

// out[k] := Combine(in[k], run[k]) for k < count: steps of eight (two a turn), the last ending on
// the last element and computed before any store (in may be out, so the step it overlaps has not yet
// changed what it reads); four and four overlapping for 4..7 elements, one by one below that.
template <std::size_t Code>
[[gnu::target("avx2")]] void MergeLanes(const std::int32_t* in, std::int32_t* out,
                                        const std::int16_t* run, std::int32_t count) {
    if (count >= 8) {
        const std::int32_t last = count - 8;
        const auto tail = Combine<Code>(Load<8>(in + last), LoadRun<8>(run + last));
        std::int32_t k = 0;
        for (; k + 8 < last; k += 16) {
            const auto a = Combine<Code>(Load<8>(in + k), LoadRun<8>(run + k));
            const auto b = Combine<Code>(Load<8>(in + k + 8), LoadRun<8>(run + k + 8));
            Store<8>(out + k, a);
            Store<8>(out + k + 8, b);
        }
        if (k < last) Store<8>(out + k, Combine<Code>(Load<8>(in + k), LoadRun<8>(run + k)));
        Store<8>(out + last, tail);
    } else if (count >= 4) {
        const std::int32_t last = count - 4;
        const auto tail = Combine<Code>(Load<4>(in + last), LoadRun<4>(run + last));
        Store<4>(out, Combine<Code>(Load<4>(in), LoadRun<4>(run)));
        Store<4>(out + last, tail);
    } else {
        for (std::int32_t k = 0; k < count; ++k)
            out[k] = kernels::OperatorKernels[Code](in[k], run[k]);
    }
}

template <std::size_t Code>
[[gnu::target("avx2")]] void MergeLanesInPlace(std::int32_t* degrees, const std::int16_t* run,
                                               std::int32_t count) {
    MergeLanes<Code>(degrees, degrees, run, count);
}

} // namespace lanes

#undef VESK_LANES

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

template <std::size_t... Op>
constexpr TRunMerges LaneMergesFor(std::index_sequence<Op...>) {
    return {lanes::MergeLanesInPlace<Op>...};
}
template <std::size_t... Op>
constexpr TRunMergesInto LaneMergesIntoFor(std::index_sequence<Op...>) {
    return {lanes::MergeLanes<Op>...};
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

// The loops for callers that resolve the operator themselves: the written-out lanes where the
// processor has 256-bit integer vectors (512-bit ones included), else the loops above.
const bool HasLanes = WidestVectors() != TVectors::Baseline;
const TRunMerges ResolvedMerges =
    HasLanes ? LaneMergesFor(std::make_index_sequence<OperatorCount>()) : RunMerges;
const TRunMergesInto ResolvedMergesInto =
    HasLanes ? LaneMergesIntoFor(std::make_index_sequence<OperatorCount>()) : RunMergesInto;

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
    return ResolvedMerges[static_cast<std::size_t>(Op)];
}

TDegreeRunMergeInto DegreeRunMergeIntoOf(std::int32_t Op) {
    return ResolvedMergesInto[static_cast<std::size_t>(Op)];
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
