// The Python module "vesk": the exact core and the search, as the vesk tool offers them, with
// NumPy arrays where the tool prints lists.

#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "fuzzyset/shapes.h"
#include "python/arguments.h"
#include "python/evolve.h"
#include "python/interruptible.h"
#include "python/json_objects.h"
#include "runtime/atomic_file.h"
#include "runtime/fp_fault.h"
#include "runtime/resource_errors.h"
#include "runtime/thread_team.h"
#include "search/target_file.h"
#include "vesk/agent.h"
#include "vesk/exact_hex.h"
#include "vesk/pattern_description.h"
#include "vesk/pattern_scorer.h"
#include "workbench/session.h"
#include "workbench/tool_answers.h"

namespace vesk::python {

namespace {

// vesk.FloatingPointFault, set when the module loads.
py::handle FaultType;

py::object Reference(const py::object& n) {
    const auto count = static_cast<std::int32_t>(WholeArgument(n, "n", 0, MaxReferenceElements));
    TFuzzySet reference;
    {
        py::gil_scoped_release released;
        reference.MakeReference(count, false);
    }
    return DegreeArray(reference.Degrees());
}

py::object Project(const py::object& hex, const py::object& n) {
    TVesk pattern;
    pattern.LoadFromHex(PatternArgument(hex, "hex"));
    const auto count = static_cast<std::int32_t>(WholeArgument(n, "n", 0, MaxReferenceElements));
    TFuzzySet projected;
    {
        py::gil_scoped_release released;
        ProjectPattern(pattern, pattern.Count(), count, projected);
    }
    return DegreeArray(projected.Degrees());
}

py::object Shape(const py::object& code, const py::object& width) {
    const auto shape =
        static_cast<std::int32_t>(WholeArgument(code, "code", 0, ShapeCodeCount - 1));
    const auto last =
        static_cast<std::int32_t>(WholeArgument(width, "width", 0, MaxReferenceElements - 1));
    return DegreeArray(ShapeDegrees(shape, last));
}

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
};

py::tuple Score(const py::object& patterns, const py::object& n, const py::object& target,
                const py::object& jobs) {
    if (py::isinstance<py::str>(patterns))
        throw py::type_error("patterns: must be a sequence of pattern texts, not one text");
    if (!py::isinstance<py::iterable>(patterns))
        throw py::type_error("patterns: must be a sequence of pattern texts");
    std::vector<std::string> texts;
    for (py::handle pattern : patterns) {
        const std::string name = "patterns[" + std::to_string(texts.size()) + "]";
        texts.push_back(PatternArgument(pattern, name.c_str()));
    }
    if (!n.is_none() && !target.is_none()) throw py::value_error("n: excludes target");
    const int threads = static_cast<int>(WholeArgument(jobs, "jobs", 0, 1024));
    std::optional<TFuzzySet> own;
    if (!target.is_none()) own = TargetArgument(target, "target");
    const auto count =
        n.is_none() ? 100
                    : static_cast<std::int32_t>(WholeArgument(n, "n", 0, MaxReferenceElements));

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
            // A reference of n elements that cannot be built faults every pattern: the first.
            fault.Note(0, ShownFaultMessage(error));
            return;
        }
        TThreadTeam team(threads);
        std::vector<TPatternScorer> scorers;
        for (int member = 0; member < team.Threads(); ++member)
            scorers.emplace_back(tables);
        team.ForRanges(texts.size(), 64, [&](int member, std::size_t begin, std::size_t end) {
            std::array<TFuzzyBlock, MaxBlocks> blocks;
            for (std::size_t i = begin; i != end && !stop.load(std::memory_order_relaxed); ++i) {
                const std::int32_t blockCount = ReadExactPattern(texts[i], blocks);
                try {
                    const TPatternScore score =
                        scorers[static_cast<std::size_t>(member)].ScoreBlocks(
                            {blocks.data(), static_cast<std::size_t>(blockCount)});
                    fitnessOut[i] = score.Fitness;
                    distanceOut[i] = score.Distance;
                } catch (const EFloatingPointFault& error) {
                    fault.Note(i, ShownFaultMessage(error));
                }
            }
        });
    });
    if (fault.Index) {
        py::object error = py::reinterpret_borrow<py::object>(FaultType)(fault.Message);
        error.attr("index") = *fault.Index;
        PyErr_SetObject(FaultType.ptr(), error.ptr());
        throw py::error_already_set();
    }
    return py::make_tuple(fitness, distance);
}

py::list Describe(const py::object& hex, const py::object& n) {
    const std::string text = TextArgument(hex, "hex");
    const auto count = static_cast<std::int32_t>(WholeArgument(n, "n", 1, MaxReferenceElements));
    const TPatternDescription description = DescribePattern(text, count);
    if (description.Problem) throw py::value_error("hex: " + *description.Problem);
    py::list blocks;
    for (const TBlockDescription& block : description.Blocks)
        blocks.append(PythonOfJson(BlockAnswer(block)));
    return blocks;
}

// The agents of the "Fitness" command draw from the program's random source, so this one
// keeps the interpreter's lock: one sweep at a time.
std::string Sweep(const py::object& hex) {
    TWorkbenchSession session;
    session.HexaText = PatternArgument(hex, "hex");
    const TCommandOutcome outcome = session.Fitness();
    if (outcome.Error) {
        PyErr_SetString(FaultType.ptr(), outcome.Error->c_str());
        throw py::error_already_set();
    }
    return outcome.Message.value_or("");
}

py::list ReadTargets(const py::object& path) {
    // A path as os.fsdecode gives it (str, bytes or a path object), without a NUL: the file
    // system would end the name there.
    const std::string name = TextArgument(py::module_::import("os").attr("fsdecode")(path), "path");
    if (name.find('\0') != std::string::npos)
        throw py::value_error("path: embedded null character");
    std::vector<TTargetLine> lines;
    // A FIFO or a slow device is waited on with Ctrl-C still heard.
    try {
        RunInterruptibly(
            [&](const std::atomic<bool>& stop) { lines = ReadTargetLines(name, &stop); });
    } catch (const ETargetError& error) {
        if (error.SystemError == 0) throw py::value_error(error.what());
        // What the system said, as Python's own open says it: OSError picks the subclass the
        // errno calls for (FileNotFoundError, IsADirectoryError, PermissionError, ...).
        py::object raised = py::reinterpret_borrow<py::object>(PyExc_OSError)(
            error.SystemError, std::strerror(error.SystemError), path);
        PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(raised.ptr())), raised.ptr());
        throw py::error_already_set();
    }
    py::list targets;
    for (const TTargetLine& line : lines)
        targets.append(py::make_tuple(line.Line, DegreeArray(line.Target.Degrees())));
    return targets;
}

unsigned TargetSeed(const py::object& seed, const py::object& line) {
    return TargetLineSeed(
        static_cast<unsigned>(WholeArgument(seed, "seed", 0, std::numeric_limits<unsigned>::max())),
        static_cast<long>(WholeArgument(line, "line", 1, std::numeric_limits<long>::max())));
}

} // namespace

} // namespace vesk::python

PYBIND11_MODULE(vesk, module) {
    namespace py = pybind11;
    using namespace vesk::python;
    module.doc() =
        "The Vesk workbench's exact core and pattern search, as the vesk tool offers them.\n\n"
        "Degree lists are numpy int32 arrays; every figure is the tool's, to the last bit.\n"
        "Faults of the arithmetic raise vesk.FloatingPointFault (a FloatingPointError) with\n"
        "the program's own message; usage mistakes raise ValueError or TypeError.";
    module.attr("__version__") = VESK_VERSION;
    // The interpreter ignores SIGXFSZ itself; one embedding it may not, and a write past the
    // file-size limit should then fail with an error rather than end the program.
    vesk::IgnoreFileSizeSignal();
    static py::exception<vesk::EFloatingPointFault> fault(module, "FloatingPointFault",
                                                          PyExc_FloatingPointError);
    FaultType = fault;
    // The message as the window's error box and the tool show it, with its full stop.
    py::register_exception_translator([](std::exception_ptr raised) {
        try {
            if (raised) std::rethrow_exception(raised);
        } catch (const vesk::EFloatingPointFault& error) {
            PyErr_SetString(FaultType.ptr(), vesk::ShownFaultMessage(error).c_str());
        } catch (const std::bad_alloc& error) {
            // Memory, or threads the system would not start, in the tool's words.
            PyErr_SetString(PyExc_MemoryError, vesk::ResourceMessage(error));
        }
    });
    module.attr("MAX_ELEMENTS") = vesk::MaxReferenceElements;
    module.attr("MAX_BLOCKS") = vesk::MaxBlocks;

    module.def("reference", &Reference, py::arg("n") = 100,
               "reference(n=100) -> numpy.ndarray\n\n"
               "The degrees of the reference set of n elements (0..185360), as \"vesk reference "
               "N\"\nprints them. Some counts fault (vesk.FloatingPointFault), as in the "
               "workbench.");
    module.def("project", &Project, py::arg("hex"), py::arg("n") = 100,
               "project(hex, n=100) -> numpy.ndarray\n\n"
               "The degrees of the pattern text hex projected onto n elements (0..185360), as\n"
               "\"vesk project HEX N\" prints them.");
    module.def(
        "shape", &Shape, py::arg("code"), py::arg("width"),
        "shape(code, width) -> numpy.ndarray\n\n"
        "The degrees of shape code (0..17) over elements 0..width, as \"vesk shape CODE W\"\n"
        "prints them (width + 1 degrees).");
    module.def("score", &Score, py::arg("patterns"), py::arg("n") = py::none(),
               py::arg("target") = py::none(), py::arg("jobs") = 0,
               "score(patterns, n=100, target=None, jobs=0) -> (fitness, distance)\n\n"
               "The fitness (int32) and Hamming distance (float64) of each pattern text, in\n"
               "input order, as \"vesk score --format csv\" gives them: against the reference "
               "of n\nelements, or against target (an array of degrees 0..100; the fitness as "
               "the agent's\nrule gives it for that distance). jobs threads score (0: every "
               "hardware thread),\nthe interpreter's lock released. A text that is not a "
               "pattern is a ValueError naming\nit; a fault raises vesk.FloatingPointFault "
               "whose index attribute names the first\npattern that faulted (0 when the "
               "reference of n elements itself faults).");
    module.def("describe", &Describe, py::arg("hex"), py::arg("n") = 100,
               "describe(hex, n=100) -> list[dict]\n\n"
               "The blocks of the pattern text hex in words, as \"vesk describe --format json\" "
               "lists\nthem: index, digits, shape, shape_name, centre, spread, repeats, op, "
               "op_name, first\nand last (the elements it covers; None when dropped), zeroed "
               "and dropped. Any text\nwhose length is a multiple of 5 is described; bad groups "
               "read as 00000.");
    module.def("sweep", &Sweep, py::arg("hex"),
               "sweep(hex) -> str\n\n"
               "The \"Fitness\" command's message for the pattern: its fitness at 100, 500, 1000 "
               "and\n5000 elements, as \"vesk sweep HEX\" prints it.");
    module.def("read_targets", &ReadTargets, py::arg("path"),
               "read_targets(path) -> list[tuple[int, numpy.ndarray]]\n\n"
               "The targets of a file holding one a line, as \"vesk evolve --targets\" reads "
               "them\n(degrees separated by blanks or commas, or a JSON array; blank lines "
               "skipped): each\nwith its line number. A line that is not a target is a "
               "ValueError naming it;\na file that cannot be read raises the OSError the "
               "system gives (FileNotFoundError,\nIsADirectoryError, PermissionError, ...).");
    module.def("target_seed", &TargetSeed, py::arg("seed"), py::arg("line"),
               "target_seed(seed, line) -> int\n\n"
               "The seed \"vesk evolve --targets --seed SEED\" searches the target on that "
               "line with,\nso that evolve(target, seed=target_seed(seed, line)) with the "
               "same budget gives the\nsame answer.");
    AddEvolve(module);
}
