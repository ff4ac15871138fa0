#include "workbench/window/designed_bars.h"

#include <QFileDialog>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include "workbench/window/designed_geometry.h"

namespace {

namespace Designed = DesignedGeometry;

const char* const StatusCaption = "Vesk patterns";
const char* const SaveDialogTitle = "Save Solution Image";
const QStringList SaveDialogFilters{"bitmap files (*.bmp)", "all files (*.*)"};

} // namespace

TDesignedStatusBar MakeStatusBar(QMainWindow& window) {
    auto* bar = new QStatusBar(&window);
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(true);
    bar->setFixedHeight(Designed::StatusBarHeight);
    const auto panel = [bar](int width, const QString& caption) {
        auto* label = new QLabel(caption, bar);
        label->setFixedWidth(width);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        bar->addWidget(label);
        return label;
    };
    panel(Designed::StatusCaptionWidth, StatusCaption)->setObjectName("StatusPanel1");
    QLabel* readOut = panel(Designed::StatusReadOutWidth, {});
    readOut->setObjectName("StatusPanel2");
    window.setStatusBar(bar);
    return {bar, readOut};
}

QFileDialog* MakeSaveDialog(QWidget* parent) {
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName("SaveDialog1");
    // Qt's own dialog, the same on every desktop; it asks before replacing an existing file.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilters(SaveDialogFilters);
    dialog->setDefaultSuffix({});
    dialog->setSizeGripEnabled(true);
    return dialog;
}

void PrepareSaveDialog(QFileDialog& dialog) {
    dialog.setWindowTitle(SaveDialogTitle);
    dialog.selectNameFilter(SaveDialogFilters.first());
}
