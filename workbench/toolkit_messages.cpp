#include "workbench/toolkit_messages.h"

#include <cstdlib>

#include <QtGlobal>

namespace vesk {

namespace {

void Dropped(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

void QuietToolkitMessages() {
    if (std::getenv("QT_LOGGING_RULES") != nullptr || std::getenv("QT_DEBUG_PLUGINS") != nullptr)
        return;
    qInstallMessageHandler(Dropped);
}

} // namespace vesk
