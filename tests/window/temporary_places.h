#pragma once
// Test support: the window's settings and data folder in a directory of the test program's own,
// removed when it ends, so that no test reads or writes what the user's program keeps.

// Points the settings and the data folder there; before the first window opens. Once is enough.
void UseTemporaryPlaces();
// Drops all that the windows kept there: the settings and the kept session.
void ForgetWhatWasKept();
