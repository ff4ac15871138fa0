// The compiled core of the Python package "vesk": the exact core and the search, as the vesk
// tool offers them, with NumPy arrays where the tool prints lists.

#include <array>
#include <cstdio>
#include <cstring>
#include <limits>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "fuzzyset/shapes.h"
#include "python/arguments.h"
#include "python/batch.h"
#include "python/evolve.h"
#include "python/interruptible.h"
#include "python/json_objects.h"
#include "runtime/atomic_file.h"
#include "runtime/fp_fault.h"
#include "runtime/resource_errors.h"
#include "search/pattern_problem.h"
#include "search/search_options.h"
#include "search/target_file.h"
#include "vesk/agent.h"
#include "vesk/exact_hex.h"
#include "vesk/pattern_description.h"
#include "workbench/curve_colours.h"
#include "workbench/text_format.h"
#include "workbench/tool_answers.h"

namespace vesk::python {

namespace {

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

// The "Fitness" command's four values and its message: (values, message).
py::tuple Sweep(const py::object& hex) {
    std::array<TFuzzyBlock, MaxBlocks> blocks;
    const std::int32_t count = ReadExactPattern(PatternArgument(hex, "hex"), blocks);
    std::array<std::int32_t, std::size(SweepSizes)> values{};
    {
        py::gil_scoped_release released;
        values = SweepFitness({blocks.data(), static_cast<std::size_t>(count)});
    }
    return py::make_tuple(DegreeArray({values.begin(), values.end()}), SweepMessage(values));
}

// An option's kind as the Python type its argument has.
const char* KindAnnotation(TOptionKind kind) {
    switch (kind) {
    case TOptionKind::Whole: return "int";
    case TOptionKind::Real: return "float";
    case TOptionKind::Flag: return "bool";
    case TOptionKind::CodeList: return "CodeList";
    case TOptionKind::Word:
    case TOptionKind::Pattern: break;
    }
    return "str";
}

// The search options the module takes, in the order help lists them: (key, kind, help), the
// help with its range and default as the module names them.
py::list EvolveOptions() {
    py::list options;
    for (const TSearchOption& option : SearchOptions())
        if (option.TakenBy(TFrontEnd::Module))
            options.append(py::make_tuple(option.Key, KindAnnotation(option.Kind),
                                          OptionHelp(option, TFrontEnd::Module, ToolEvolveBudget)));
    return options;
}

std::string ColourText(TColour c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.Red, c.Green, c.Blue);
    return text;
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

PYBIND11_MODULE(_core, module) {
    namespace py = pybind11;
    using namespace vesk::python;
    // The compiled half of the package vesk, whose __init__ gives each function its signature
    // and documentation; these take their arguments as the tool takes its options.
    module.attr("__version__") = VESK_VERSION;
    // The interpreter ignores SIGXFSZ itself; one embedding it may not, and a write past the
    // file-size limit should then fail with an error rather than end the program.
    vesk::IgnoreFileSizeSignal();
    static py::exception<vesk::EFloatingPointFault> fault(module, "FloatingPointFault",
                                                          PyExc_FloatingPointError);
    fault.attr("__module__") = "vesk";
    fault.attr("index") = py::none();
    SetFaultType(fault);
    // The message as the window's error box and the tool show it, with its full stop.
    py::register_exception_translator([](std::exception_ptr raised) {
        try {
            if (raised) std::rethrow_exception(raised);
        } catch (const vesk::EFloatingPointFault& error) {
            PyErr_SetString(FaultType().ptr(), vesk::ShownFaultMessage(error).c_str());
        } catch (const std::bad_alloc& error) {
            // Memory, or threads the system would not start, in the tool's words.
            PyErr_SetString(PyExc_MemoryError, vesk::ResourceMessage(error));
        }
    });
    module.attr("MAX_ELEMENTS") = vesk::MaxReferenceElements;
    module.attr("MAX_BLOCKS") = vesk::MaxBlocks;
    module.attr("MAX_TARGET_ELEMENTS") = vesk::MaxTargetElements;
    module.attr("EVOLVE_BUDGET") = vesk::ToolEvolveBudget;
    py::tuple sizes(std::size(vesk::SweepSizes));
    for (std::size_t k = 0; k < std::size(vesk::SweepSizes); ++k)
        sizes[k] = vesk::SweepSizes[k];
    module.attr("SWEEP_ELEMENTS") = sizes;
    py::dict colours;
    colours["reference"] = ColourText(vesk::ReferenceColour);
    colours["pattern"] = ColourText(vesk::PatternColour);
    colours["target"] = ColourText(vesk::TargetColour);
    module.attr("COLOURS") = colours;

    module.def("reference", &Reference);
    module.def("project", &Project);
    module.def("project_many", &ProjectMany);
    module.def("shape", &Shape);
    module.def("score", &Score);
    module.def("describe", &Describe);
    module.def("sweep", &Sweep);
    module.def("read_targets", &ReadTargets);
    module.def("target_seed", &TargetSeed);
    module.def("evolve_options", &EvolveOptions);
    AddEvolve(module);
}
