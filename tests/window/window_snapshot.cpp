// Renders the workbench window after the first preset pattern has been shown and saves it as a
// PNG: window_snapshot <file.png>. Run on the offscreen platform to refresh docs/workbench.png.

#include <cstdio>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QToolButton>

#include "runtime/random_source.h"
#include "workbench/window/home_form.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_snapshot <file.png>\n");
        return 2;
    }
    QApplication application(argc, argv);
    vesk::RandomSource.Seed = 0;
    TVeskTestHomeForm form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;

    form.findChild<QComboBox*>("HexaComboBox")->setCurrentIndex(0);
    form.findChild<QToolButton*>("HexaToolButton")->click();
    QApplication::processEvents();

    if (!form.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "window_snapshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
