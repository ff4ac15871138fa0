#include "workbench/search_setup.h"

namespace vesk {

namespace {

// What every "Evolve" would refuse in the setup, whatever the fields, the target and the current
// pattern: the search's own words, or "".
std::string SetupProblem(const TSearchSetup& setup) {
    TSearchSettings settings; // on the reference, from no start
    if (std::string problem = ApplyChoices(setup, EvolveBudget, TFrontEnd::Session, settings);
        !problem.empty())
        return problem;
    return SearchSettingsProblem(settings);
}

// Takes one setting into the setup without the setup's own check.
std::string TakeSetting(TSearchSetup& setup, const std::string& key, const std::string& value) {
    const TSearchOption* option = SearchOptionOf(key, TFrontEnd::Session);
    if (option == nullptr) {
        std::string keys;
        for (const std::string& known : SearchSettingKeys())
            keys += (keys.empty() ? "" : ", ") + known;
        return "no setting '" + key + "' (the settings: " + keys + ")";
    }
    if (!option->Unset.empty() && value == option->Unset) {
        option->Take(setup, std::monostate());
        return "";
    }
    const std::string problem = ApplyOption(setup, *option, value);
    return problem.empty() ? "" : OptionName(key, TFrontEnd::Tool) + ": " + problem;
}

} // namespace

const std::vector<std::string>& SearchSettingKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> all;
        for (const TSearchOption& option : SearchOptions())
            if (option.TakenBy(TFrontEnd::Session)) all.push_back(option.Key);
        return all;
    }();
    return keys;
}

std::string ApplySearchSettings(TSearchSetup& setup, const std::vector<TSearchSetting>& settings) {
    TSearchSetup changed = setup;
    for (const auto& [key, value] : settings)
        if (std::string problem = TakeSetting(changed, key, value); !problem.empty())
            return problem;
    if (std::string problem = SetupProblem(changed); !problem.empty()) return problem;
    setup = std::move(changed);
    return "";
}

std::string ApplySearchSetting(TSearchSetup& setup, const std::string& key,
                               const std::string& value) {
    return ApplySearchSettings(setup, {{key, value}});
}

std::vector<std::string> SettingProblems(const TSearchSetup& setup,
                                         const std::vector<TSearchSetting>& settings) {
    std::vector<std::string> problems(settings.size());
    bool anyOwn = false;
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const auto& [key, value] = settings[i];
        const TSearchOption* option = SearchOptionOf(key, TFrontEnd::Session);
        if (option == nullptr) {
            TSearchSetup scratch = setup;
            problems[i] = TakeSetting(scratch, key, value);
        } else if (option->Unset.empty() || value != option->Unset) {
            TSearchSetup scratch = setup;
            problems[i] = ApplyOption(scratch, *option, value);
        }
        anyOwn = anyOwn || !problems[i].empty();
    }
    if (anyOwn) return problems;
    TSearchSetup all = setup;
    const std::string together = ApplySearchSettings(all, settings);
    if (together.empty()) return problems;
    for (std::size_t i = 0; i < settings.size(); ++i) {
        std::vector<TSearchSetting> without = settings;
        without.erase(without.begin() + static_cast<std::ptrdiff_t>(i));
        TSearchSetup scratch = setup;
        if (ApplySearchSettings(scratch, without).empty()) problems[i] = together;
    }
    return problems;
}

std::vector<std::string> SearchSettingWords(const TSearchOption& option) {
    std::vector<std::string> words;
    for (const std::string& word : option.Words) {
        TSearchSetup setup;
        if (ApplySearchSetting(setup, option.Key, word).empty()) words.push_back(word);
    }
    return words;
}

} // namespace vesk
