#include "workbench/window/kept_settings.h"

#include <QCoreApplication>
#include <QSettings>

#include <algorithm>

namespace {

const char* const SearchGroup = "search";
const char* const TargetKind = "target/kind";
const char* const TargetPath = "target/path";
const char* const TargetDegrees = "target/degrees";
const char* const RecentKey = "targets/recent";

// The target's kind as the settings file spells it, by the enum's order.
const char* const KindWords[] = {"reference", "file", "drawn"};

TKeptTarget::TKind KindOf(const QString& word) {
    for (int kind = 0; kind < static_cast<int>(std::size(KindWords)); ++kind)
        if (word == KindWords[kind]) return static_cast<TKeptTarget::TKind>(kind);
    return TKeptTarget::TKind::Reference;
}

// The degrees "0,12,100" stands for; none when any is not a degree (0..100).
std::vector<std::int32_t> DegreesOf(const QString& text) {
    std::vector<std::int32_t> degrees;
    for (const QString& part : text.split(',', Qt::SkipEmptyParts)) {
        bool whole = false;
        const int degree = part.trimmed().toInt(&whole);
        if (!whole || degree < 0 || degree > 100) return {};
        degrees.push_back(degree);
    }
    return degrees;
}

} // namespace

void NameTheProgram() {
    QCoreApplication::setOrganizationName("Vesk");
    QCoreApplication::setApplicationName("VeskTest");
}

std::vector<vesk::TSearchSetting> SearchSettingsOf(const vesk::TSearchSetup& setup) {
    std::vector<vesk::TSearchSetting> settings;
    for (const vesk::TSearchOption& option : vesk::SearchOptions()) {
        if (!option.TakenBy(vesk::TFrontEnd::Session)) continue;
        std::string value = option.Shown(setup);
        if (value.empty()) value = option.Unset;
        if (!value.empty()) settings.emplace_back(option.Key, std::move(value));
    }
    return settings;
}

std::vector<std::string> TakeKeptSettings(vesk::TSearchSetup& setup,
                                          const std::vector<vesk::TSearchSetting>& settings) {
    if (vesk::ApplySearchSettings(setup, settings).empty()) return {};
    // One at a time: each refused one is left out and the others are taken.
    std::vector<std::string> refused;
    for (const auto& [key, value] : settings)
        if (!vesk::ApplySearchSetting(setup, key, value).empty()) refused.push_back(key);
    return refused;
}

QStringList WithRecentTarget(QStringList list, const QString& path, int limit) {
    list.removeAll(path);
    list.prepend(path);
    while (list.size() > std::max(limit, 0))
        list.removeLast();
    return list;
}

namespace KeptSettings {

void SaveSearch(const vesk::TSearchSetup& setup) {
    QSettings settings;
    settings.beginGroup(SearchGroup);
    settings.remove({}); // keys no longer known go
    for (const auto& [key, value] : SearchSettingsOf(setup))
        settings.setValue(QString::fromStdString(key), QString::fromStdString(value));
}

void RestoreSearch(vesk::TSearchSetup& setup) {
    QSettings settings;
    settings.beginGroup(SearchGroup);
    std::vector<vesk::TSearchSetting> stored;
    for (const QString& key : settings.childKeys())
        stored.emplace_back(key.toStdString(), settings.value(key).toString().toStdString());
    // The settings in the order the session lists them, whatever order the file gives.
    const std::vector<std::string>& order = vesk::SearchSettingKeys();
    const auto rank = [&order](const vesk::TSearchSetting& setting) {
        return std::find(order.begin(), order.end(), setting.first) - order.begin();
    };
    std::stable_sort(stored.begin(), stored.end(),
                     [&rank](const auto& a, const auto& b) { return rank(a) < rank(b); });
    TakeKeptSettings(setup, stored);
}

void SaveTarget(const TKeptTarget& target) {
    QSettings settings;
    settings.setValue(TargetKind, KindWords[static_cast<int>(target.Kind)]);
    settings.setValue(TargetPath, target.Path);
    QStringList degrees;
    for (std::int32_t degree : target.Degrees)
        degrees << QString::number(degree);
    settings.setValue(TargetDegrees, degrees.join(','));
}

TKeptTarget LastTarget() {
    QSettings settings;
    TKeptTarget target;
    target.Kind = KindOf(settings.value(TargetKind).toString());
    if (target.Kind == TKeptTarget::TKind::File) {
        target.Path = settings.value(TargetPath).toString();
        if (target.Path.isEmpty()) target.Kind = TKeptTarget::TKind::Reference;
    } else if (target.Kind == TKeptTarget::TKind::Drawn) {
        target.Degrees = DegreesOf(settings.value(TargetDegrees).toString());
        if (target.Degrees.empty()) target.Kind = TKeptTarget::TKind::Reference;
    }
    return target;
}

void ForgetTarget() {
    QSettings settings;
    settings.remove("target");
}

QStringList RecentTargets() {
    QStringList paths = QSettings().value(RecentKey).toStringList();
    paths.removeAll(QString());
    paths.removeDuplicates();
    return paths.mid(0, RecentTargetLimit);
}

void SetRecentTargets(const QStringList& paths) {
    QSettings settings;
    if (paths.isEmpty())
        settings.remove(RecentKey);
    else
        settings.setValue(RecentKey, paths);
}

} // namespace KeptSettings
