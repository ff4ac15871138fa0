#pragma once
// The history and the search curves of the last sessions, kept as a small JSON file in the
// program's data folder (on Linux ~/.local/share/Vesk/VeskTest/session.json) until they are
// restored or forgotten. The file says its format ("version": 1); one that is damaged, or of
// another version, is read as holding nothing.

#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workbench/session.h"
#include "workbench/window/search_run.h"

// What is kept of the sessions that ended, oldest first.
struct TKeptSession {
    std::vector<vesk::THistoryEntry> History;
    std::vector<TSearchRun> Runs;

    bool Empty() const { return History.empty() && Runs.empty(); }
};

// How much is kept: the newest entries and runs.
constexpr std::size_t KeptEntryLimit = 1000;
constexpr std::size_t KeptRunLimit = 20;

// The file's text.
std::string KeptSessionText(const TKeptSession& kept);
// What a file's text holds; nothing when it is not a kept session of this version, or any entry
// or point in it is damaged (a pattern that is not one, a distance that is not a number).
std::optional<TKeptSession> ParseKeptSession(std::string_view text);
// later after earlier, each list cut to its newest within the limits.
TKeptSession Joined(TKeptSession earlier, const TKeptSession& later);

// Where the file is kept.
QString KeptSessionPath();
// What the file holds: nothing when it is absent or damaged.
TKeptSession ReadKeptSession(const QString& path);
// Writes the file whole, its folder made first; the message of a failure otherwise.
std::optional<std::string> WriteKeptSession(const QString& path, const TKeptSession& kept);
