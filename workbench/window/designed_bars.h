#pragma once
// The designed window's status bar and its dialog for saving the plot as a bitmap.

class QFileDialog;
class QLabel;
class QMainWindow;
class QStatusBar;
class QWidget;

// The status bar with its caption panel and the read-out panel, set on the window.
struct TDesignedStatusBar {
    QStatusBar* Bar;
    QLabel* ReadOut;
};
TDesignedStatusBar MakeStatusBar(QMainWindow& window);

// "Save Solution Image": Qt's own dialog, which asks before replacing a file; bitmaps first.
QFileDialog* MakeSaveDialog(QWidget* parent);
// Readies the dialog for another image: its title and the bitmap filter.
void PrepareSaveDialog(QFileDialog& dialog);
