#pragma once
// The tool's JSON answers as Python objects: objects as dicts in the same key order, arrays as
// lists, numbers as int and float (the same doubles), null as None.

#include <pybind11/pybind11.h>

#include "workbench/tool_answers.h"

namespace vesk::python {

pybind11::object PythonOfJson(const TJson& value);

} // namespace vesk::python
