#include "cli/commands.h"

#include <string_view>

namespace vesk::cli {

const TCommand Commands[7] = {
    {"session", "vesk session",
     "run workbench commands read from standard input, one per line (see below)", RunSession},
    {"reference", "vesk reference N [--format plain|csv|json]",
     "print the degrees of the reference set of N elements", RunReference},
    {"project", "vesk project HEX N [--format plain|csv|json]",
     "print the degrees of the pattern HEX projected onto N elements", RunProject},
    {"shape", "vesk shape CODE W [--format plain|csv|json]",
     "print shape CODE (0..17) over elements 0..W", RunShape},
    {"sweep", "vesk sweep HEX", "print the fitness of HEX at 100, 500, 1000 and 5000 elements",
     RunSweep},
    {"plot", "vesk plot HEX [-n N] [--size WxH] -o FILE",
     "write the reference (blue) and pattern (red) curves as a BMP file", RunPlot},
    {"score", "vesk score [-n N]", "print the fitness of each hex pattern read from standard input",
     RunScore},
};

const char* SynopsisOf(const char* name) {
    for (const TCommand& command : Commands)
        if (std::string_view(command.Name) == name) return command.Synopsis;
    return name;
}

std::string UsageText() {
    std::string text = "Usage: vesk COMMAND [ARGUMENTS]\n\nCommands:\n";
    for (const TCommand& command : Commands)
        text += "  " + std::string(command.Synopsis) + "\n      " + command.Summary + "\n";
    text += R"(
HEX is a pattern text of 5 hexadecimal digits a block (shape, centre, spread 0-7,
repeats 0-7, operator), at most 32 blocks; the empty text is a pattern of no blocks.
N is an element count, 0 to 1000000 (default 100); the plot is 611x236 pixels by default.
"score" reads one pattern a line, skips blank lines, prints one fitness a valid line
and reports invalid lines on standard error.

"session" reads lines of the form VERB or VERB ARGUMENT (one space, then the rest of
the line verbatim):
  elements TEXT   set the element field's text
  blocks TEXT     set the block field's text
  hexa TEXT       set the combo box's text
  random          run "Random Vesk"
  hexa-string     run "Hexa String"
  fitness         run "Fitness"
  save PATH       run "Save Image" to PATH
Each of the last four prints one JSON object: the fields' and the combo's texts, the
four captions, "message" and "error". Blank lines are skipped.

Exit status: 0 on success, 1 when a floating-point fault or an unwritable file stops a
command (or a "score" line is rejected), 2 for a usage error.
)";
    return text;
}

} // namespace vesk::cli
