#include "temporary_places.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtGlobal>

#include "workbench/window/kept_history.h"
#include "workbench/window/kept_settings.h"

void UseTemporaryPlaces() {
    static QTemporaryDir places;
    static bool used = false;
    if (used) return;
    used = true;
    if (!places.isValid()) qFatal("no temporary directory for the kept settings");
    // QSettings finds its file from the configuration folder, the data folder is found anew
    // each time: both are pointed here.
    const QString config = places.filePath("config");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    qputenv("XDG_DATA_HOME", QFile::encodeName(places.filePath("data")));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config);
    NameTheProgram();
}

void ForgetWhatWasKept() {
    UseTemporaryPlaces();
    QSettings().clear();
    QFile::remove(KeptSessionPath());
}
