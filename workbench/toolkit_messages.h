#pragma once
// The toolkit's own log lines (a plugin it could not load, a paint engine that failed) kept off
// standard error in the headless tool, whose own message says what went wrong in its words. (A
// library such as the Python module leaves the process's log handler alone.)

namespace vesk {

// From here on the toolkit logs nothing, unless QT_LOGGING_RULES or QT_DEBUG_PLUGINS asks it to.
void QuietToolkitMessages();

} // namespace vesk
