#include "workbench/window/kept_history.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

#include "workbench/saved_file.h"

namespace {

using TJson = nlohmann::ordered_json;

constexpr int FormatVersion = 1;
// The longest pattern text kept: far beyond the 32 blocks a pattern has.
constexpr std::size_t LongestHex = 4096;

TJson EntryJson(const vesk::THistoryEntry& entry) {
    TJson json = {{"hex", entry.Hex},           {"source", entry.Source},
                  {"blocks", entry.Blocks},     {"elements", entry.Elements},
                  {"distance", entry.Distance}, {"fitness", entry.Fitness},
                  {"when", entry.When}};
    if (entry.TargetDistance) json["target_distance"] = *entry.TargetDistance;
    return json;
}

double Finite(const TJson& json) {
    const double value = json.get<double>();
    if (!std::isfinite(value)) throw std::domain_error("not a number");
    return value;
}

// The entry a JSON object holds; throws when it is not one.
vesk::THistoryEntry EntryOf(const TJson& json) {
    vesk::THistoryEntry entry;
    entry.Hex = json.at("hex").get<std::string>();
    // The history holds texts "Hexa String" could show: whole groups of five printable letters.
    if (entry.Hex.size() % 5 != 0 || entry.Hex.size() > LongestHex ||
        !std::all_of(entry.Hex.begin(), entry.Hex.end(), [](char c) { return c > ' ' && c < 127; }))
        throw std::domain_error("not a pattern");
    entry.Source = json.at("source").get<std::string>();
    entry.Blocks = json.at("blocks").get<std::int32_t>();
    entry.Elements = json.at("elements").get<std::int32_t>();
    entry.Distance = Finite(json.at("distance"));
    entry.Fitness = json.at("fitness").get<std::int32_t>();
    if (json.contains("target_distance")) entry.TargetDistance = Finite(json["target_distance"]);
    entry.When = json.at("when").get<std::string>();
    return entry;
}

TSearchRun RunOf(const TJson& json) {
    TSearchRun run;
    run.Name = QString::fromStdString(json.at("name").get<std::string>());
    if (!json.at("points").is_array()) throw std::domain_error("no points");
    for (const TJson& point : json.at("points")) {
        if (!point.is_array() || point.size() != 2) throw std::domain_error("not a point");
        const auto evaluations = point.at(0).get<std::uint64_t>();
        if (evaluations == 0 || (!run.Points.empty() && evaluations <= run.Points.back().first))
            throw std::domain_error("evaluations not rising");
        run.Points.emplace_back(evaluations, Finite(point.at(1)));
    }
    return run;
}

template <typename T> void KeepNewest(std::vector<T>& list, std::size_t limit) {
    if (list.size() > limit) list.erase(list.begin(), list.end() - static_cast<long>(limit));
}

} // namespace

std::string KeptSessionText(const TKeptSession& kept) {
    TJson history = TJson::array();
    for (const vesk::THistoryEntry& entry : kept.History)
        history.push_back(EntryJson(entry));
    TJson runs = TJson::array();
    for (const TSearchRun& run : kept.Runs) {
        TJson points = TJson::array();
        for (const auto& [evaluations, best] : run.Points)
            points.push_back({evaluations, best});
        runs.push_back({{"name", run.Name.toStdString()}, {"points", std::move(points)}});
    }
    const TJson file = {{"version", FormatVersion}, {"history", history}, {"runs", runs}};
    return file.dump(1) + "\n";
}

std::optional<TKeptSession> ParseKeptSession(std::string_view text) {
    try {
        const TJson file = TJson::parse(text);
        if (file.at("version").get<int>() != FormatVersion || !file.at("history").is_array() ||
            !file.at("runs").is_array())
            return std::nullopt;
        TKeptSession kept;
        for (const TJson& entry : file.at("history"))
            kept.History.push_back(EntryOf(entry));
        for (const TJson& run : file.at("runs"))
            kept.Runs.push_back(RunOf(run));
        return kept;
    } catch (const std::exception&) {
        return std::nullopt; // json's own errors and the checks above alike
    }
}

TKeptSession Joined(TKeptSession earlier, const TKeptSession& later) {
    earlier.History.insert(earlier.History.end(), later.History.begin(), later.History.end());
    earlier.Runs.insert(earlier.Runs.end(), later.Runs.begin(), later.Runs.end());
    KeepNewest(earlier.History, KeptEntryLimit);
    KeepNewest(earlier.Runs, KeptRunLimit);
    return earlier;
}

QString KeptSessionPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath("session.json");
}

TKeptSession ReadKeptSession(const QString& path) {
    QFile file(path);
    // Far more than the limits let the file grow to: not a file this program wrote.
    constexpr qint64 Largest = 64 << 20;
    if (!file.open(QIODevice::ReadOnly) || file.size() > Largest) return {};
    const QByteArray bytes = file.readAll();
    return ParseKeptSession(std::string_view(bytes.constData(), bytes.size()))
        .value_or(TKeptSession());
}

std::optional<std::string> WriteKeptSession(const QString& path, const TKeptSession& kept) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return vesk::SaveFile(QFile::encodeName(path).toStdString(), KeptSessionText(kept));
}
