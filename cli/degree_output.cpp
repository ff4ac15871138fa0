#include "cli/degree_output.h"

#include "cli/json_output.h"

namespace vesk::cli {

std::string FormatDegrees(const std::vector<std::int32_t>& degrees, TDegreeFormat format) {
    std::string out;
    switch (format) {
    case TDegreeFormat::Plain:
        for (std::size_t i = 0; i < degrees.size(); ++i) {
            if (i > 0) out += ' ';
            out += std::to_string(degrees[i]);
        }
        break;
    case TDegreeFormat::Csv:
        out = "element,degree";
        for (std::size_t i = 0; i < degrees.size(); ++i) {
            out += '\n';
            out += std::to_string(i);
            out += ',';
            out += std::to_string(degrees[i]);
        }
        break;
    case TDegreeFormat::Json:
        out = JsonText(TJson(degrees));
        break;
    }
    out += '\n';
    return out;
}

} // namespace vesk::cli
