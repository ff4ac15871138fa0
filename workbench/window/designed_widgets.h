#pragma once
// The plain pieces the designed panels are made of.

#include <string>

class QFrame;
class QLabel;
class QPoint;
class QString;
class QWidget;

// A caption at a designed position, sized to its text (kept as given, leading blanks too).
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, QPoint position);
// Frames a designed panel: raised, one pixel wide.
void FrameAsPanel(QFrame* panel, const char* name);
// Shows caption, resizing the label only when the text changes.
void SetCaption(QLabel* label, const std::string& caption);
// A field that takes no edits looks it: it takes the window's background instead of the base.
void ShowReadOnly(QWidget* field, bool readOnly);
