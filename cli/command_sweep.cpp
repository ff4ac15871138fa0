// "vesk sweep": the "Fitness" command's message for one pattern.

#include "cli/arguments.h"
#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/pattern_check.h"
#include "cli/text_stream.h"
#include "workbench/session.h"

namespace vesk::cli {

int RunSweep(const TWords& words) {
    TArguments args(words, {});
    args.ExpectPositional(1, SynopsisOf("sweep"));
    RequirePattern(args.Positional[0]);

    // A fresh session, as the window starts, with the pattern in its combo box.
    TWorkbenchSession session;
    session.HexaText = args.Positional[0];
    const TCommandOutcome outcome = session.Fitness();
    if (outcome.Error) throw ECommandFailure(*outcome.Error);
    WriteOut(outcome.Message.value_or("") + "\n");
    return ExitSuccess;
}

} // namespace vesk::cli
