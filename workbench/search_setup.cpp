#include "workbench/search_setup.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "search/option_text.h"

namespace vesk {

namespace {

double RealOf(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    return value;
}

std::uint64_t WholeOf(const std::string& text) {
    std::uint64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// One setting: its key and how a value is checked and taken ("" when taken).
struct TSetting {
    const char* Key;
    std::string (*Apply)(TSearchSetup& setup, const std::string& value);
};

const TSetting Settings[] = {
    {"objective",
     [](TSearchSetup& s, const std::string& v) -> std::string {
         const auto objective = ObjectiveOfWord(v);
         if (objective) s.Objective = *objective;
         return objective ? "" : NotAmongWords(v, ObjectiveWords());
     }},
    {"algorithm",
     [](TSearchSetup& s, const std::string& v) -> std::string {
         const auto algorithm = AlgorithmOfName(v);
         if (algorithm) s.Algorithm = algorithm;
         return algorithm ? "" : NotAmongWords(v, AlgorithmNames());
     }},
    {"islands",
     [](TSearchSetup& s, const std::string& v) -> std::string {
         std::string problem = WholeNumberProblem(v, 1, MaxIslands);
         if (problem.empty()) s.Islands = static_cast<int>(WholeOf(v));
         return problem;
     }},
    {"seed",
     [](TSearchSetup& s, const std::string& v) -> std::string {
         std::string problem = WholeNumberProblem(v, 0, std::numeric_limits<unsigned>::max());
         if (problem.empty()) s.Seed = static_cast<unsigned>(WholeOf(v));
         return problem;
     }},
    {"evaluations",
     [](TSearchSetup& s, const std::string& v) -> std::string {
         std::string problem = WholeNumberProblem(v, 1, MaxEvaluations);
         if (problem.empty()) s.Evaluations = WholeOf(v);
         return problem;
     }},
    {"seconds",
     [](TSearchSetup& s, const std::string& v) -> std::string {
         if (v == "off") return s.Seconds.reset(), "";
         std::string problem = RealNumberProblem(v, 0, false, MaxSeconds);
         if (problem.empty()) s.Seconds = RealOf(v);
         return problem;
     }},
    {"distance",
     [](TSearchSetup& s, const std::string& v) -> std::string {
         if (v == "off") return s.Distance.reset(), "";
         std::string problem = RealNumberProblem(v, 0, true, 1e9);
         if (problem.empty()) s.Distance = RealOf(v);
         return problem;
     }},
    {"start",
     [](TSearchSetup& s, const std::string& v) -> std::string {
         if (v != "on" && v != "off") return NotAmongWords(v, {"off", "on"});
         s.Start = v == "on";
         return "";
     }},
    {"shapes",
     [](TSearchSetup& s, const std::string& v) -> std::string {
         if (v == "all") return s.Shapes.clear(), "";
         std::string why;
         const auto codes = ParseCodeList(v, FieldHighest(ShapeField), why);
         if (codes) s.Shapes = *codes;
         return codes ? "" : why;
     }},
    {"operators",
     [](TSearchSetup& s, const std::string& v) -> std::string {
         if (v == "all") return s.Operators.clear(), "";
         std::string why;
         const auto codes = ParseCodeList(v, FieldHighest(OpField), why);
         if (codes) s.Operators = *codes;
         return codes ? "" : why;
     }},
};

} // namespace

const std::vector<std::string>& SearchSettingKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> all;
        for (const TSetting& setting : Settings)
            all.push_back(setting.Key);
        return all;
    }();
    return keys;
}

std::string ApplySearchSetting(TSearchSetup& setup, const std::string& key,
                               const std::string& value) {
    for (const TSetting& setting : Settings)
        if (key == setting.Key) {
            TSearchSetup changed = setup;
            const std::string problem = setting.Apply(changed, value);
            if (!problem.empty()) return "--" + key + ": " + problem;
            setup = std::move(changed);
            return "";
        }
    std::string keys;
    for (const TSetting& setting : Settings)
        keys += (keys.empty() ? "" : ", ") + std::string(setting.Key);
    return "no setting '" + key + "' (the settings: " + keys + ")";
}

} // namespace vesk
