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
Each of the last four prints one JSON object: the fields' and the combo's texts, the
four captions, "message" and "error". Blank lines are skipped.)";

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
