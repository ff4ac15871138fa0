#pragma once
// A search's curve as plain data: what the Search curve dock shows of a run, and what is kept of
// it between sessions.

#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

struct TSearchRun {
    QString Name; // as the legend names it
    // The best distance after so many evaluations, the evaluations rising.
    std::vector<std::pair<std::uint64_t, double>> Points;
};
