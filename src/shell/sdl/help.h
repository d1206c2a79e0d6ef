// The help error box runs in a helper process of its own (this executable
// started with kErrorBoxSwitch), so that the game goes on behind it and can
// end it: one box at a time, and none outlives the game.
#pragma once

constexpr const char *kErrorBoxSwitch = "--help-error-box";

// The helper's whole work: shows the box until it is closed or the game
// is gone. Returns the exit code.
int runErrorBox();
// Ends the box, if one is up; later presses of Help bring none.
void closeHelp();
