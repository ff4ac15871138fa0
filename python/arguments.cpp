#include "python/arguments.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include <pybind11/numpy.h>

#include "search/option_text.h"
#include "search/target_file.h"
#include "vesk/pattern_check.h"

namespace vesk::python {

namespace {

std::string TypeName(py::handle value) {
    return py::str(py::type::handle_of(value).attr("__name__"));
}

[[noreturn]] void Refuse(const char* name, const std::string& problem) {
    throw py::value_error(std::string(name) + ": " + problem);
}

[[noreturn]] void WrongType(const char* name, const char* wanted, py::handle value) {
    throw py::type_error(std::string(name) + ": must be " + wanted + ", not " + TypeName(value));
}

// The digits of an integer (any object with __index__), or a TypeError.
std::string WholeText(py::handle value, const char* name) {
    // __index__ takes Python's and numpy's integers and refuses reals and texts.
    PyObject* index = PyNumber_Index(value.ptr());
    if (index == nullptr) {
        PyErr_Clear();
        WrongType(name, "a whole number", value);
    }
    return py::str(py::reinterpret_steal<py::object>(index));
}

// The shortest text that reads back as the real's double (an integer past every double: its
// digits), or a TypeError.
std::string RealText(py::handle value, const char* name) {
    if (py::isinstance<py::str>(value) || py::isinstance<py::bytes>(value))
        WrongType(name, "a number", value);
    PyObject* real = PyNumber_Float(value.ptr());
    if (real == nullptr) {
        const bool tooLarge = PyErr_ExceptionMatches(PyExc_OverflowError);
        PyErr_Clear();
        if (tooLarge) return py::str(value);
        WrongType(name, "a number", value);
    }
    const double number = PyFloat_AsDouble(real);
    Py_DECREF(real);
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, number);
    return std::string(text, written.ptr);
}

} // namespace

std::int64_t WholeArgument(py::handle value, const char* name, std::int64_t lowest,
                           std::uint64_t highest) {
    const std::string text = WholeText(value, name);
    if (std::string problem = WholeNumberProblem(text, lowest, highest); !problem.empty())
        Refuse(name, problem);
    std::int64_t whole = 0;
    std::from_chars(text.data(), text.data() + text.size(), whole);
    return whole;
}

std::string TextArgument(py::handle value, const char* name) {
    if (!py::isinstance<py::str>(value)) WrongType(name, "a str", value);
    Py_ssize_t size = 0;
    const char* text = PyUnicode_AsUTF8AndSize(value.ptr(), &size);
    if (text == nullptr) { // lone surrogates have no UTF-8
        PyErr_Clear();
        Refuse(name, "is not text that UTF-8 can hold");
    }
    return std::string(text, static_cast<std::size_t>(size));
}

std::string PatternArgument(py::handle value, const char* name) {
    std::string text = TextArgument(value, name);
    if (auto problem = PatternProblem(text)) Refuse(name, *problem);
    return text;
}

std::string SearchOptionText(py::handle value, const TSearchOption& option) {
    const char* name = option.Key.c_str();
    switch (option.Kind) {
    case TOptionKind::Whole:
        return WholeText(value, name);
    case TOptionKind::Real:
        return RealText(value, name);
    case TOptionKind::Word:
    case TOptionKind::Pattern:
        return TextArgument(value, name);
    case TOptionKind::Flag:
        if (!py::isinstance<py::bool_>(value))
            throw py::type_error(option.Key + ": must be a bool");
        return value.cast<bool>() ? "on" : "off";
    case TOptionKind::CodeList:
        break;
    }
    if (py::isinstance<py::str>(value)) return TextArgument(value, name);
    if (!py::isinstance<py::iterable>(value))
        WrongType(name, "a list of codes like \"0-7,12\" or of whole numbers", value);
    std::string text;
    for (py::handle code : value)
        text += (text.empty() ? "" : ",") +
                std::to_string(WholeArgument(code, name, 0, option.Whole.Highest));
    return text;
}

TFuzzySet TargetArgument(py::handle value, const char* name) {
    if (py::isinstance<py::str>(value) || py::isinstance<py::bytes>(value))
        WrongType(name, "an array of degrees", value);
    const py::module_ numpy = py::module_::import("numpy");
    const py::array given = numpy.attr("asarray")(value);
    if (given.ndim() != 1)
        Refuse(name,
               "must be one-dimensional, not " + std::to_string(given.ndim()) + "-dimensional");
    const char kind = given.dtype().kind();
    if (kind != 'i' && kind != 'u' && kind != 'f')
        throw py::type_error(std::string(name) + ": must hold whole numbers 0..100, not " +
                             std::string(py::str(given.dtype())));
    const py::ssize_t count = given.size();
    if (count == 0) Refuse(name, "no degrees");
    if (count > MaxTargetElements)
        Refuse(name, "more than " + std::to_string(MaxTargetElements) + " degrees");
    // Every integer past 100 stays past 100 as a double, so one check serves every kind.
    const auto reals =
        py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(given);
    const double* degrees = reals.data();
    TFuzzySet target;
    for (py::ssize_t i = 0; i < count; ++i) {
        const double degree = degrees[i];
        if (!(degree >= 0 && degree <= 100 && degree == std::floor(degree)))
            Refuse((std::string(name) + "[" + std::to_string(i) + "]").c_str(),
                   std::string(py::str(given[py::int_(i)])) + " " + NotADegree);
        target.AddDegree(static_cast<std::int32_t>(degree));
    }
    return target;
}

py::object DegreeArray(const std::vector<std::int32_t>& degrees) {
    py::array_t<std::int32_t> array(static_cast<py::ssize_t>(degrees.size()));
    std::copy(degrees.begin(), degrees.end(), array.mutable_data());
    return array;
}

} // namespace vesk::python
