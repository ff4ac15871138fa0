// "vesk session": the workbench's commands driven line by line from standard input.

#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/session_protocol.h"
#include "cli/text_stream.h"

namespace vesk::cli {

const char* const SessionFooter = R"(
Reads lines of the form VERB or VERB ARGUMENT (one space, then the rest of the line
verbatim) from standard input:
  elements TEXT   set the element field's text
  blocks TEXT     set the block field's text
  hexa TEXT       set the combo box's text
  random          run "Random Vesk"
  hexa-string     run "Hexa String"
  fitness         run "Fitness"
  save PATH       run "Save Image" to PATH
  evolve [BUDGET] run "Evolve" (with the settings, BUDGET standing for their evaluations)
  target FILE     fit a target of one's own with "Evolve" (a file vesk evolve --target
                  reads); "target reference" goes back to the built-in reference
  settings KEY VALUE
                  a setting of "Evolve", named as the option of vesk evolve: objective,
                  algorithm, islands, seed, evaluations, seconds (or off), distance (or off),
                  start (on: from the current pattern, or off), shapes and operators (a
                  list like 0-7,12, or all)
Each verb from "random" on prints one JSON object: the fields' and the combo's texts, the
four captions, "message" and "error"; with a target of one's own also "target" and
"target_distance", the current pattern's distance to it (null while the text is not a
pattern). A refused setting or target
file is the answer's error, and the session goes on. Blank lines are skipped.)";

void AddSessionCommand(CLI::App& tool, int& status) {
    CLI::App* command = tool.add_subcommand(
        "session", "run workbench commands read from standard input, one per line");
    command->footer(SessionFooter);
    command->callback([&status] {
        TWorkbenchSession session;
        RunSessionProtocol(stdin, session, [](const std::string& line) {
            WriteOut(line);
            FlushOut(); // a driver waits for each answer
        });
        status = ExitSuccess;
    });
}

} // namespace vesk::cli
