#pragma once
// vesk.evolve: the search of "vesk evolve", its options as keyword arguments.

#include <pybind11/pybind11.h>

namespace vesk::python {

void AddEvolve(pybind11::module_& module);

} // namespace vesk::python
