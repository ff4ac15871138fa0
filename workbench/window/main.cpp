// VeskTest: starts the toolkit, shows the workbench window and runs until it is closed.

#include <QApplication>

#include "runtime/atomic_file.h"
#include "workbench/window/home_form.h"
#include "workbench/window/kept_settings.h"

int main(int, char** argv) {
    // A save past the file-size limit (ulimit -f) is reported like any failed save instead of
    // ending the program.
    vesk::IgnoreFileSizeSignal();
    // A write a signal cuts short leaves no temporary behind.
    vesk::RemoveTemporariesOnSignal();
    // The program takes no arguments: the toolkit sees only the program's name.
    int toolkitArgc = 1;
    QApplication application(toolkitArgc, argv);
    NameTheProgram();
    TVeskTestHomeForm VeskTestHomeForm;
    VeskTestHomeForm.show();
    return application.exec();
}
