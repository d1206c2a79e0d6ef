// The core's two entry points, called by a front end from its event handling.
#pragma once

// A click on the control with this id; ids of no control do nothing.
void gameCommand(int id);
// One tick of timer ID_TIMER.
void gameTick();
