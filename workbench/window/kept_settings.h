#pragma once
// What a person set, kept between sessions in the program's settings (QSettings, on Linux
// ~/.config/Vesk/VeskTest.conf): the search settings, the last target and the targets loaded
// lately. A stored value is checked by the rules the session's own "settings" lines are, and one
// that is refused (damaged, or from another version) is left out, never trusted.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

#include "workbench/search_setup.h"

// Names the program as its settings and data folder are found by; before anything is kept.
void NameTheProgram();

// How many targets "Recent Targets" lists.
constexpr int RecentTargetLimit = 10;

// The target last chosen: a file loaded (by its path), one drawn (its degrees, since a drawn
// target is no file), or the reference.
struct TKeptTarget {
    enum class TKind { Reference, File, Drawn };
    TKind Kind = TKind::Reference;
    QString Path;
    std::vector<std::int32_t> Degrees;
};

// Every setting of the session as a "settings" line gives it; an option not given by its word
// for that ("default", "off", "all").
std::vector<vesk::TSearchSetting> SearchSettingsOf(const vesk::TSearchSetup& setup);
// Takes the settings into setup as the session would. A refused one is left out and the others
// are still taken; the keys left out are returned.
std::vector<std::string> TakeKeptSettings(vesk::TSearchSetup& setup,
                                          const std::vector<vesk::TSearchSetting>& settings);
// The list with path first, an earlier mention of it dropped, at most limit long.
QStringList WithRecentTarget(QStringList list, const QString& path, int limit = RecentTargetLimit);

// The settings themselves, read and written where QSettings keeps the program's.
namespace KeptSettings {

void SaveSearch(const vesk::TSearchSetup& setup);
// Takes the stored search settings into setup (none stored: setup unchanged).
void RestoreSearch(vesk::TSearchSetup& setup);

void SaveTarget(const TKeptTarget& target);
// The stored target; the reference when none is, or when it is damaged.
TKeptTarget LastTarget();
void ForgetTarget();

// The paths, most recent first.
QStringList RecentTargets();
void SetRecentTargets(const QStringList& paths);

} // namespace KeptSettings
