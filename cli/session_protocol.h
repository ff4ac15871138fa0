#pragma once
// The "vesk session" protocol: workbench commands read line by line, each command answered by
// one JSON line holding the session's state. Kept apart from standard input and output so that
// other drivers (tests, fuzzers) can run it on any stream.

#include <cstdio>
#include <functional>
#include <string>

#include "workbench/session.h"

namespace vesk::cli {

// Receives each answer, one JSON object and its line feed.
using TAnswerSink = std::function<void(const std::string& line)>;

// Runs every line of input on session, to the end of input: "elements", "blocks" and "hexa" set
// a text; "random", "hexa-string", "fitness" and "save PATH" run a command and are answered.
// Blank lines are skipped. Throws EUsageError naming the line for an unknown verb, an argument
// where none belongs or none where one is needed, and for a line longer than MaxLineLength;
// ECommandFailure when input cannot be read.
void RunSessionProtocol(std::FILE* input, TWorkbenchSession& session, const TAnswerSink& answer);

} // namespace vesk::cli
