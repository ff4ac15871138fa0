#pragma once
// The workbench session: the state behind the window and the logic of its four commands,
// independent of any widget. The window and the vesk tool both drive it.

#include <optional>
#include <string>
#include <vector>

#include "fuzzyset/fuzzy_set.h"
#include "search/pattern_search.h"
#include "workbench/bitmap_image.h"
#include "workbench/spin_field.h"

namespace vesk {

// What a command leaves for its driver to show. At most one field is set.
struct TCommandOutcome {
    std::optional<std::string> Message;     // shown in a plain message box ("Fitness")
    std::optional<std::string> Error;       // shown in an error box, exactly this text
    std::optional<std::string> Information; // shown in an information box
};

extern const char* const ProgramTitle;      // "Vesk Test"
extern const char* const PresetPatterns[2]; // the combo box's two list items
extern const char* const HexaLengthError;   // the error of a combo text of a wrong length
extern const char* const NoImageYet;        // the information "Save Image" gives before any plot
constexpr std::uint64_t EvolveBudget = 1'000'000; // "Evolve"'s evaluations unless told otherwise
constexpr unsigned EvolveSeed = 1;                // the same fields give the same pattern

// The window's state and commands.
class TWorkbenchSession {
public:
    TWorkbenchSession();

    TFuzzySet PatternSet;
    TFuzzySet ReferenceSet;

    TSpinField Elements{1, 2048, 100};
    TSpinField Blocks{1, 32, 16};
    std::string HexaText;
    std::vector<std::string> HexaItems;

    std::string CardinalityCaption = "0.0";
    std::string SubsethoodCaption = "0.0";
    std::string HammingCaption = "0.0";
    std::string FitnessCaption = "0";

    TBitmapImage Image;

    // "Random Vesk", "Hexa String", "Fitness" and "Save Image". A fault ends a command where it
    // strikes; what was done before stays and the outcome carries the error text.
    TCommandOutcome RandomVesk();
    TCommandOutcome HexaString();
    TCommandOutcome Fitness();
    TCommandOutcome SaveImage(const std::string& path);

    // "Evolve" in two halves, so that a window can search off its own thread: the settings of
    // the search for the fields (committed as the other commands commit them; the reference
    // of 2..9 elements faults, and the outcome gives the fault's error, settings untouched),
    // then the end of it: the best pattern becomes the combo text, is appended to the list and
    // is shown as "Hexa String" shows it.
    TCommandOutcome PrepareEvolve(TSearchSettings& settings,
                                  std::uint64_t evaluations = EvolveBudget);
    TCommandOutcome FinishEvolve(const TSearchResult& result);
    // Both halves on the calling thread.
    TCommandOutcome Evolve(std::uint64_t evaluations = EvolveBudget);

    // The combo box's double click: appends the current text to the list, unchecked.
    void AppendHexaItem();

    // True when the combo text's length is a multiple of 5, as "Hexa String" and "Fitness" need.
    bool HexaTextUsable() const;

private:
    // The steps "Random Vesk" (random) and "Hexa String" share.
    TCommandOutcome ShowPattern(bool random);
};

} // namespace vesk
