#pragma once
// How the parts of the window run one of the session's commands: as the window runs them all,
// the fields' texts handed to the session first, the session shown afterwards and the outcome
// reported.

#include <functional>

#include "workbench/session.h"

using TSessionCommand = std::function<vesk::TCommandOutcome()>;
using TCommandRunner = std::function<void(const TSessionCommand&)>;
