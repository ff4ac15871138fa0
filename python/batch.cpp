#include "python/batch.h"

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <pybind11/numpy.h>

#include "python/arguments.h"
#include "python/interruptible.h"
#include "runtime/fp_fault.h"
#include "runtime/thread_team.h"
#include "vesk/agent.h"
#include "vesk/exact_hex.h"
#include "vesk/pattern_scorer.h"

namespace vesk::python {

namespace {

// vesk.FloatingPointFault, set when the module loads.
py::handle LoadedFaultType;

// The first pattern that faulted and the fault's message.
struct TFirstFault {
    std::mutex Guard;
    std::optional<std::size_t> Index;
    std::string Message;
    void Note(std::size_t index, std::string message) {
        std::lock_guard lock(Guard);
        if (Index && *Index < index) return;
        Index = index;
        Message = std::move(message);
    }
    // Raises vesk.FloatingPointFault with the index, if a pattern faulted.
    void RaiseAny() const {
        if (!Index) return;
        py::object error = py::reinterpret_borrow<py::object>(LoadedFaultType)(Message);
        error.attr("index") = *Index;
        PyErr_SetObject(LoadedFaultType.ptr(), error.ptr());
        throw py::error_already_set();
    }
};

// The texts of a sequence of patterns. Without refused, a text that is not a pattern is a
// ValueError naming its index; with it, its index is marked there and its text left empty.
std::vector<std::string> PatternTexts(const py::object& patterns,
                                      std::vector<std::uint8_t>* refused = nullptr) {
    if (py::isinstance<py::str>(patterns))
        throw py::type_error("patterns: must be a sequence of pattern texts, not one text");
    if (!py::isinstance<py::iterable>(patterns))
        throw py::type_error("patterns: must be a sequence of pattern texts");
    std::vector<std::string> texts;
    for (py::handle pattern : patterns) {
        const std::string name = "patterns[" + std::to_string(texts.size()) + "]";
        if (!refused) {
            texts.push_back(PatternArgument(pattern, name.c_str()));
            continue;
        }
        std::string text;
        bool good = py::isinstance<py::str>(pattern);
        if (good) {
            try {
                text = PatternArgument(pattern, name.c_str());
            } catch (const py::value_error&) {
                good = false;
            }
        }
        refused->push_back(good ? 0 : 1);
        texts.push_back(good ? std::move(text) : std::string());
    }
    return texts;
}

std::int32_t ElementCount(const py::object& n, std::int32_t unset) {
    return n.is_none() ? unset
                       : static_cast<std::int32_t>(WholeArgument(n, "n", 0, MaxReferenceElements));
}

} // namespace

void SetFaultType(py::handle type) { LoadedFaultType = type; }

py::handle FaultType() { return LoadedFaultType; }

py::tuple Score(const py::object& patterns, const py::object& n, const py::object& target,
                const py::object& jobs, bool mask) {
    std::vector<std::uint8_t> bad;
    const std::vector<std::string> texts = PatternTexts(patterns, mask ? &bad : nullptr);
    if (!n.is_none() && !target.is_none()) throw py::value_error("n: excludes target");
    const int threads = static_cast<int>(WholeArgument(jobs, "jobs", 0, 1024));
    std::optional<TFuzzySet> own;
    if (!target.is_none()) own = TargetArgument(target, "target");
    const std::int32_t count = ElementCount(n, 100);
    if (!mask) bad.assign(texts.size(), 0);

    py::array_t<std::int32_t> fitness(static_cast<py::ssize_t>(texts.size()));
    py::array_t<double> distance(static_cast<py::ssize_t>(texts.size()));
    std::int32_t* fitnessOut = fitness.mutable_data();
    double* distanceOut = distance.mutable_data();
    TFirstFault fault;
    // Ctrl-C stops the scoring within a tenth of a second, the rest of the patterns unscored.
    RunInterruptibly([&](const std::atomic<bool>& stop) {
        std::shared_ptr<const TScoringTables> tables;
        try {
            tables = own ? std::make_shared<const TScoringTables>(std::move(*own))
                         : ReferenceTables(count);
        } catch (const EFloatingPointFault& error) {
            // A reference of n elements that cannot be built faults every pattern.
            fault.Note(0, ShownFaultMessage(error));
            bad.assign(texts.size(), 1);
            return;
        }
        TThreadTeam team(threads);
        std::vector<TPatternScorer> scorers;
        for (int member = 0; member < team.Threads(); ++member)
            scorers.emplace_back(tables);
        team.ForRanges(texts.size(), 64, [&](int member, std::size_t begin, std::size_t end) {
            std::array<TFuzzyBlock, MaxBlocks> blocks;
            for (std::size_t i = begin; i != end && !stop.load(std::memory_order_relaxed); ++i) {
                if (bad[i]) continue;
                const std::int32_t blockCount = ReadExactPattern(texts[i], blocks);
                try {
                    const TPatternScore score =
                        scorers[static_cast<std::size_t>(member)].ScoreBlocks(
                            {blocks.data(), static_cast<std::size_t>(blockCount)});
                    fitnessOut[i] = score.Fitness;
                    distanceOut[i] = score.Distance;
                } catch (const EFloatingPointFault& error) {
                    fault.Note(i, ShownFaultMessage(error));
                    bad[i] = 1;
                }
            }
        });
    });
    if (!mask) {
        fault.RaiseAny();
        return py::make_tuple(fitness, distance);
    }
    std::vector<py::ssize_t> marked;
    for (std::size_t i = 0; i < bad.size(); ++i)
        if (bad[i]) {
            fitnessOut[i] = -1;
            distanceOut[i] = std::numeric_limits<double>::quiet_NaN();
            marked.push_back(static_cast<py::ssize_t>(i));
        }
    py::array_t<py::ssize_t> indices(static_cast<py::ssize_t>(marked.size()));
    std::copy(marked.begin(), marked.end(), indices.mutable_data());
    return py::make_tuple(fitness, distance, indices);
}

py::object ProjectMany(const py::object& patterns, const py::object& n, const py::object& jobs) {
    const std::vector<std::string> texts = PatternTexts(patterns);
    const std::int32_t count = ElementCount(n, 100);
    const int threads = static_cast<int>(WholeArgument(jobs, "jobs", 0, 1024));
    py::array_t<std::int32_t> rows(
        {static_cast<py::ssize_t>(texts.size()), static_cast<py::ssize_t>(count)});
    std::int32_t* out = rows.mutable_data();
    TFirstFault fault;
    RunInterruptibly([&](const std::atomic<bool>& stop) {
        TThreadTeam team(threads);
        team.ForRanges(texts.size(), 16, [&](int, std::size_t begin, std::size_t end) {
            TVesk pattern;
            TFuzzySet projected;
            for (std::size_t i = begin; i != end && !stop.load(std::memory_order_relaxed); ++i) {
                try {
                    pattern.LoadFromHex(texts[i]);
                    ProjectPattern(pattern, pattern.Count(), count, projected);
                    std::copy(projected.Degrees().begin(), projected.Degrees().end(),
                              out + i * static_cast<std::size_t>(count));
                } catch (const EFloatingPointFault& error) {
                    fault.Note(i, ShownFaultMessage(error));
                }
            }
        });
    });
    fault.RaiseAny();
    return rows;
}

} // namespace vesk::python
