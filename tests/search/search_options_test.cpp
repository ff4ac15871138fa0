// The search's option table: the budget rule every front end shares, texts that read back as
// what they gave, and help lines in each front end's names.
#include <gtest/gtest.h>

#include <string>

#include "search/search_options.h"

namespace vesk {
namespace {

const TSearchOption& Option(const char* key, TFrontEnd frontEnd) {
    const TSearchOption* option = SearchOptionOf(key, frontEnd);
    EXPECT_NE(option, nullptr) << key;
    return *option;
}

TSearchSettings Applied(const TSearchChoices& choices, std::uint64_t budget) {
    TSearchSettings settings;
    EXPECT_EQ(ApplyChoices(choices, budget, TFrontEnd::Tool, settings), "");
    return settings;
}

// Without evaluations, a time limit or a stop distance is the only limit; with neither, the
// front end's budget; given evaluations always count.
TEST(SearchOptions, EvaluationsAreOptionalWithATimeOrADistance) {
    TSearchChoices choices;
    EXPECT_EQ(Applied(choices, 1234).Evaluations, 1234u);
    choices.Seconds = 2.5;
    TSearchSettings timed = Applied(choices, 1234);
    EXPECT_EQ(timed.Evaluations, MaxEvaluations);
    EXPECT_EQ(timed.Seconds, 2.5);
    choices.Seconds.reset();
    choices.Distance = 0.25;
    EXPECT_EQ(Applied(choices, 1234).Evaluations, MaxEvaluations);
    EXPECT_EQ(Applied(choices, 1234).MeanDistance, 0.25);
    choices.Evaluations = 77;
    EXPECT_EQ(Applied(choices, 1234).Evaluations, 77u);
    EXPECT_EQ(SearchBudget(choices, 1234), 77u);
}

// A start sets the block count; against other blocks it is refused in the front end's names.
TEST(SearchOptions, AStartAndBlocksAgreeOrAreRefusedInEachFrontEndsNames) {
    TSearchChoices choices;
    ASSERT_EQ(ApplyOption(choices, Option("start", TFrontEnd::Tool), "AF65577467"), "");
    TSearchSettings settings;
    EXPECT_EQ(ApplyChoices(choices, 1, TFrontEnd::Tool, settings), "");
    EXPECT_EQ(settings.Blocks, 2);
    ASSERT_TRUE(settings.Start.has_value());
    choices.Blocks = 3;
    EXPECT_EQ(ApplyChoices(choices, 1, TFrontEnd::Tool, settings),
              "--start has 2 blocks and --blocks 3");
    EXPECT_EQ(ApplyChoices(choices, 1, TFrontEnd::Module, settings),
              "start has 2 blocks and blocks 3");
    EXPECT_EQ(ApplyOption(choices, Option("start", TFrontEnd::Tool), ""), "must not be empty");
}

// What a choice shows reads back as the same choice (the window loads a setup's texts and
// applies them again), and a refused text leaves the choices as they were.
TEST(SearchOptions, ShownTextsReadBackAsTheSameChoice) {
    const std::pair<const char*, const char*> given[] = {
        {"objective", "sweep"}, {"algorithm", "ihs"}, {"islands", "3"},  {"seed", "4294967295"},
        {"evaluations", "17"},  {"seconds", "0.1"},   {"distance", "0"}, {"start", "on"},
        {"shapes", "12,0-3"},   {"operators", "15"}};
    TSearchChoices choices;
    for (const auto& [key, text] : given) {
        const TSearchOption& option = Option(key, TFrontEnd::Session);
        ASSERT_EQ(ApplyOption(choices, option, text), "") << key;
        TSearchChoices again = choices;
        ASSERT_EQ(ApplyOption(again, option, option.Shown(choices)), "") << key;
        EXPECT_EQ(option.Shown(again), option.Shown(choices)) << key;
    }
    EXPECT_EQ(Option("shapes", TFrontEnd::Session).Shown(choices), "0,1,2,3,12");
    EXPECT_EQ(Option("seconds", TFrontEnd::Session).Shown(choices), "0.1");
    const TSearchChoices before = choices;
    EXPECT_EQ(ApplyOption(choices, Option("seed", TFrontEnd::Session), "-1"),
              "must be 0 to 4294967295");
    EXPECT_EQ(ApplyOption(choices, Option("algorithm", TFrontEnd::Session), "hill"),
              "'hill' is not one of annealing, fields, gaco, ihs, nsga2, sga");
    EXPECT_EQ(ApplyOption(choices, Option("start", TFrontEnd::Session), "yes"),
              "'yes' is not one of off, on");
    EXPECT_EQ(choices.Seed, before.Seed);
    EXPECT_EQ(choices.Algorithm, before.Algorithm);
}

// Each front end takes its own options, and a help line names the others as it names them.
TEST(SearchOptions, HelpLinesNameOptionsAsEachFrontEndDoes) {
    EXPECT_EQ(SearchOptionOf("pareto", TFrontEnd::Session), nullptr);
    EXPECT_EQ(SearchOptionOf("blocks", TFrontEnd::Session), nullptr);
    EXPECT_EQ(Option("start", TFrontEnd::Tool).Kind, TOptionKind::Pattern);
    EXPECT_EQ(Option("start", TFrontEnd::Session).Kind, TOptionKind::Flag);
    const TSearchOption& evaluations = Option("evaluations", TFrontEnd::Tool);
    EXPECT_EQ(OptionHelp(evaluations, TFrontEnd::Tool, 5000),
              "the evaluation budget (1..1000000000000; default 5000; with --seconds or "
              "--distance, no limit but those)");
    EXPECT_EQ(OptionHelp(evaluations, TFrontEnd::Module, 5000).find("--"), std::string::npos);
    for (const TSearchOption& option : SearchOptions())
        for (TFrontEnd frontEnd : {TFrontEnd::Tool, TFrontEnd::Module, TFrontEnd::Session}) {
            const std::string help = OptionHelp(option, frontEnd, 1);
            EXPECT_EQ(help.find_first_of("{}"), std::string::npos) << help;
        }
}

} // namespace
} // namespace vesk
