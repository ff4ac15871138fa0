// "vesk sweep": the "Fitness" command's message for one pattern.

#include <memory>

#include "cli/cli_errors.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/text_stream.h"
#include "workbench/session.h"

namespace vesk::cli {

void AddSweepCommand(CLI::App& tool, int& status) {
    auto hex = std::make_shared<std::string>();
    CLI::App* command = tool.add_subcommand(
        "sweep", "print the fitness of HEX at 100, 500, 1000 and 5000 elements");
    command->add_option("HEX", *hex, "pattern text")->required()->check(PatternValidator());
    command->callback([&status, hex] {
        // A fresh session, as the window starts, with the pattern in its combo box.
        TWorkbenchSession session;
        session.HexaText = *hex;
        const TCommandOutcome outcome = session.Fitness();
        if (outcome.Error) throw ECommandFailure(*outcome.Error);
        WriteOut(outcome.Message.value_or("") + "\n");
        status = ExitSuccess;
    });
}

} // namespace vesk::cli
