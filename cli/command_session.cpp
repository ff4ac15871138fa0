// "vesk session": the workbench's commands driven line by line from standard input.

#include "cli/arguments.h"
#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/session_protocol.h"
#include "cli/text_stream.h"

namespace vesk::cli {

int RunSession(const TWords& words) {
    TArguments args(words, {});
    args.ExpectPositional(0, SynopsisOf("session"));

    TWorkbenchSession session;
    RunSessionProtocol(stdin, session, [](const std::string& line) {
        WriteOut(line);
        FlushOut(); // a driver waits for each answer
    });
    return ExitSuccess;
}

} // namespace vesk::cli
