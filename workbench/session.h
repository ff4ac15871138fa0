#pragma once
// The workbench session: the state behind the window and the logic of its four commands,
// independent of any widget. The window and the vesk tool both drive it.

#include <optional>
#include <string>
#include <vector>

#include "fuzzyset/fuzzy_set.h"
#include "search/pattern_search.h"
#include "workbench/bitmap_image.h"
#include "workbench/search_setup.h"
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

// A pattern the session showed: where it came from, and how close it came to the designed
// reference (and to the own target, when there was one).
struct THistoryEntry {
    std::string Hex;
    std::string Source; // "random", "typed", or "evolved" and the search's settings
    std::int32_t Blocks = 0, Elements = 0;
    double Distance = 0; // Hamming distance to the reference of Elements
    std::int32_t Fitness = 0;
    std::optional<double> TargetDistance;
    std::string When; // local time, hh:mm:ss
};

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

    // What "Evolve" searches for and how (the reference and the defaults until told otherwise).
    TSearchSetup Search;
    // Every pattern "Random Vesk", "Hexa String" and "Evolve" showed, oldest first (the same
    // pattern shown again straight after itself is not repeated).
    std::vector<THistoryEntry> History;
    // Makes a target file's set (read as `vesk evolve --target` reads it; the reader's error,
    // FILE:LINE: ..., otherwise) or the reference ("reference") what "Evolve" fits.
    TCommandOutcome SetTarget(const std::string& path);
    // The distance of the current pattern's projection to the own target, when there is one
    // and the Hexa String text is a pattern.
    std::optional<double> TargetDistance() const;

    // "Random Vesk", "Hexa String", "Fitness" and "Save Image". A fault ends a command where it
    // strikes; what was done before stays and the outcome carries the error text.
    TCommandOutcome RandomVesk();
    TCommandOutcome HexaString();
    TCommandOutcome Fitness();
    TCommandOutcome SaveImage(const std::string& path);

    // "Evolve" in two halves, so that a window can search off its own thread: the settings of
    // the search for the fields and Search (committed as the other commands commit them; the
    // reference of 2..9 elements faults, and the outcome gives the fault's error, settings
    // untouched; so do settings the search refuses, in the tool's words), then the end of it:
    // the best pattern becomes the combo text, is appended to the list and is shown as "Hexa
    // String" shows it. evaluations, when given, stands for Search.Evaluations; without
    // either, a time limit or a stop distance is the only limit, and with none EvolveBudget is.
    TCommandOutcome PrepareEvolve(TSearchSettings& settings,
                                  std::optional<std::uint64_t> evaluations = std::nullopt);
    TCommandOutcome FinishEvolve(const TSearchResult& result);
    // Both halves on the calling thread.
    TCommandOutcome Evolve(std::optional<std::uint64_t> evaluations = std::nullopt);

    // The combo box's double click: appends the current text to the list, unchecked.
    void AppendHexaItem();

    // True when the combo text's length is a multiple of 5, as "Hexa String" and "Fitness" need.
    bool HexaTextUsable() const;

private:
    // The steps "Random Vesk" (random) and "Hexa String" share.
    TCommandOutcome ShowPattern(bool random);
    void Remember(const std::string& source, std::int32_t fitness);
};

} // namespace vesk
