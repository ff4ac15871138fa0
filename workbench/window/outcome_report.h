#pragma once
// How the window shows what a command reported.

#include "workbench/session.h"

class QWidget;

// Shows the outcome in a modal box over parent, captioned with the program's title and with one
// OK button: a message without an icon, an error with the critical icon, information with the
// information icon. Nothing is shown for an empty outcome.
void ReportOutcome(QWidget* parent, const vesk::TCommandOutcome& outcome);
