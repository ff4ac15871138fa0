#include "workbench/session.h"

#include <ctime>

#include "runtime/fp_fault.h"
#include "search/target_file.h"
#include "vesk/agent.h"
#include "vesk/hex_text.h"
#include "workbench/text_format.h"

namespace vesk {

const char* const ProgramTitle = "Vesk Test";
const char* const PresetPatterns[2] = {"77467C422E8C46887454", "AF6553666D22533E1571"};

namespace {

TCommandOutcome ErrorOutcome(std::string text) {
    TCommandOutcome outcome;
    outcome.Error = std::move(text);
    return outcome;
}

// A fault as the error box shows it: its message and a full stop.
TCommandOutcome FaultOutcome(const EFloatingPointFault& fault) {
    return ErrorOutcome(ShownFaultMessage(fault));
}

} // namespace

const char* const HexaLengthError = "Hexa string length must be a multiple of 5.";
const char* const NoImageYet = "There is no image to save yet.";

TWorkbenchSession::TWorkbenchSession()
    : HexaItems(std::begin(PresetPatterns), std::end(PresetPatterns)) {}

bool TWorkbenchSession::HexaTextUsable() const {
    return HexaText.size() % 5 == 0;
}

TCommandOutcome TWorkbenchSession::RandomVesk() {
    return ShowPattern(true);
}

TCommandOutcome TWorkbenchSession::HexaString() {
    if (!HexaTextUsable()) return ErrorOutcome(HexaLengthError);
    return ShowPattern(false);
}

// The steps "Random Vesk" and "Hexa String" share. Each field commits before it is read, so no
// command works on a value outside the field's bounds.
TCommandOutcome TWorkbenchSession::ShowPattern(bool random) {
    try {
        ReferenceSet.ClearDegrees();
        std::int32_t n = Elements.CommitAndRead();
        ReferenceSet.MakeReference(n, false);
        ReferenceSet.Plot(Image, Blue, true);
        PatternSet.ClearDegrees();
        n = Elements.CommitAndRead();
        const std::int32_t b = Blocks.CommitAndRead();

        TVeskAgent agent(b, n, random);
        if (random) {
            HexaText = agent.Pattern.SaveToHex();
        } else {
            agent.LoadHex(HexaText);
            Blocks.WriteValue(agent.BlockCount);
        }
        agent.Project(PatternSet);
        PatternSet.Plot(Image, Red, false);

        const float cardinality = static_cast<float>(PatternSet.Cardinality());
        CardinalityCaption = FormatReal8_2(cardinality);
        SubsethoodCaption = FormatReal8_2(PatternSet.Subsethood(ReferenceSet));
        const float hamming = static_cast<float>(PatternSet.HammingDistance(ReferenceSet));
        HammingCaption = FormatReal8_2(hamming);
        agent.Evaluate(PatternSet, ReferenceSet);
        FitnessCaption = FormatInteger(agent.Fitness, 10);
        Remember(random ? "random" : "typed", agent.Fitness);
        agent.Release();
    } catch (const EFloatingPointFault& fault) {
        return FaultOutcome(fault);
    }
    return {};
}

void TWorkbenchSession::Remember(const std::string& source, std::int32_t fitness) {
    THistoryEntry entry;
    entry.Hex = HexaText;
    entry.Source = source;
    entry.Blocks = Blocks.CommitAndRead();
    entry.Elements = ReferenceSet.Count();
    entry.Distance = PatternSet.HammingDistance(ReferenceSet);
    entry.Fitness = fitness;
    entry.TargetDistance = TargetDistance();
    const std::time_t now = std::time(nullptr);
    char when[16];
    std::strftime(when, sizeof when, "%H:%M:%S", std::localtime(&now));
    entry.When = when;
    if (!History.empty() && History.back().Hex == entry.Hex &&
        History.back().Elements == entry.Elements)
        return;
    History.push_back(std::move(entry));
}

TCommandOutcome TWorkbenchSession::Fitness() {
    if (!HexaTextUsable()) return ErrorOutcome(HexaLengthError);
    std::vector<std::int32_t> found;
    try {
        for (std::int32_t n : SweepSizes) {
            ReferenceSet.ClearDegrees();
            ReferenceSet.MakeReference(n, false);
            PatternSet.ClearDegrees();
            const std::int32_t b = Blocks.CommitAndRead();

            TVeskAgent agent(b, n, false);
            agent.LoadHex(HexaText);
            Blocks.WriteValue(agent.BlockCount);
            agent.Project(PatternSet);
            agent.Evaluate(PatternSet, ReferenceSet);
            found.push_back(agent.Fitness);
            agent.Release();
        }
    } catch (const EFloatingPointFault& fault) {
        return FaultOutcome(fault);
    }
    TCommandOutcome outcome;
    outcome.Message = SweepMessage(found);
    return outcome;
}

TCommandOutcome TWorkbenchSession::SaveImage(const std::string& path) {
    TCommandOutcome outcome;
    if (!Image.HasBitmap()) {
        outcome.Information = NoImageYet;
        return outcome;
    }
    // The name is used as given: no extension is added. The bitmap is written at its own size.
    if (auto error = Image.SaveBmp(path)) outcome.Error = std::move(error);
    return outcome;
}

TCommandOutcome TWorkbenchSession::PrepareEvolve(TSearchSettings& settings,
                                                 std::optional<std::uint64_t> evaluations) {
    TSearchSettings prepared;
    if (Search.Target) {
        prepared.Target = *Search.Target;
    } else {
        try {
            prepared.Target.ClearDegrees();
            prepared.Target.MakeReference(Elements.CommitAndRead(), false);
        } catch (const EFloatingPointFault& fault) {
            return FaultOutcome(fault);
        }
    }
    prepared.Blocks = Blocks.CommitAndRead();
    TSearchChoices choices = Search;
    if (evaluations) choices.Evaluations = evaluations;
    // The session's choices hold neither blocks nor a start pattern, so nothing here is refused.
    ApplyChoices(choices, EvolveBudget, TFrontEnd::Session, prepared);
    TCommandOutcome refused;
    if (Search.StartFromCurrent) {
        // The current pattern, read as "Hexa String" reads it; its block count is the search's.
        if (!HexaTextUsable() || HexaText.empty()) {
            refused.Error = "start from the current pattern: " +
                            (HexaText.empty() ? std::string("there is no pattern to start from")
                                              : std::string(HexaLengthError));
            return refused;
        }
        TVesk current;
        current.LoadFromHex(HexaText);
        prepared.Start = current.Blocks();
        prepared.Blocks = current.Count();
    }
    if (Search.Target && Search.Objective == TObjective::Sweep) {
        refused.Error = "the sweep objective scores against the built-in reference only";
        return refused;
    }
    if (const std::string problem = SearchSettingsProblem(prepared); !problem.empty()) {
        refused.Error = problem;
        return refused;
    }
    settings = std::move(prepared);
    return {};
}

TCommandOutcome TWorkbenchSession::SetTarget(const std::string& path) {
    TCommandOutcome outcome;
    if (path == "reference") {
        Search.Target.reset();
        Search.TargetName.clear();
        return outcome;
    }
    try {
        Search.Target = ReadTargetFile(path);
        Search.TargetName = path;
    } catch (const ETargetError& error) {
        outcome.Error = error.what();
    }
    return outcome;
}

std::optional<double> TWorkbenchSession::TargetDistance() const {
    // A text that is not a pattern has no distance (not the empty pattern's).
    if (!Search.Target || !HexaTextUsable()) return std::nullopt;
    TVesk current;
    current.LoadFromHex(HexaText);
    TFuzzySet projected;
    ProjectPattern(current, current.Count(), Search.Target->Count(), projected);
    return projected.HammingDistance(*Search.Target);
}

TCommandOutcome TWorkbenchSession::FinishEvolve(const TSearchResult& result) {
    HexaText = PatternHex(result.Pattern);
    AppendHexaItem();
    TCommandOutcome outcome = HexaString();
    // What "Hexa String" remembered as typed was found by the search.
    if (!outcome.Error && !History.empty() && History.back().Hex == HexaText)
        History.back().Source = std::string("evolved: ") + AlgorithmName(result.Algorithm) +
                                ", seed " + std::to_string(Search.Seed) + ", " +
                                std::to_string(result.Evaluations) + " evaluations" +
                                (Search.Target ? ", target " + Search.TargetName : "");
    return outcome;
}

TCommandOutcome TWorkbenchSession::Evolve(std::optional<std::uint64_t> evaluations) {
    TSearchSettings settings;
    if (TCommandOutcome outcome = PrepareEvolve(settings, evaluations); outcome.Error)
        return outcome;
    return FinishEvolve(RunSearch(settings));
}

void TWorkbenchSession::AppendHexaItem() {
    HexaItems.push_back(HexaText);
}

} // namespace vesk
