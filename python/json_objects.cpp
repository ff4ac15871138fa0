#include "python/json_objects.h"

namespace vesk::python {

namespace py = pybind11;

py::object PythonOfJson(const TJson& value) {
    switch (value.type()) {
    case TJson::value_t::null:
        return py::none();
    case TJson::value_t::boolean:
        return py::bool_(value.get<bool>());
    case TJson::value_t::number_integer:
        return py::int_(value.get<std::int64_t>());
    case TJson::value_t::number_unsigned:
        return py::int_(value.get<std::uint64_t>());
    case TJson::value_t::number_float:
        return py::float_(value.get<double>());
    case TJson::value_t::string:
        return py::str(value.get_ref<const std::string&>());
    case TJson::value_t::array: {
        py::list list;
        for (const TJson& item : value)
            list.append(PythonOfJson(item));
        return list;
    }
    case TJson::value_t::object: {
        py::dict dict;
        for (const auto& [key, item] : value.items())
            dict[py::str(key)] = PythonOfJson(item);
        return dict;
    }
    default:
        throw std::logic_error("no Python form for this JSON value");
    }
}

} // namespace vesk::python
