// The window operations of shell.h for a front end that draws its own
// controls through the painter (Linux and web), and the left button on
// them. The front end hands over its canvas and its pointer events; every
// redraw the game asks for is painted there at once.
#pragma once

#include <string>

#include "painter.h"

// The canvas drawn on, or nullptr while there is none (no window yet, or
// the game has ended): the controls' state is kept, nothing is drawn.
void attachCanvas(Canvas *canvas);
// The left button going down, moving and coming up at (x, y) of the
// control table's pixels.
void pointerDown(int x, int y);
void pointerMove(int x, int y);
void pointerUp(int x, int y);
// Place k's file has loaded (drawn) or failed to, after Loaded::Later.
void placeFileLoaded(int k, bool drawn);
// What the window shows: static id's text, and whether the check box takes
// clicks.
const std::string &staticText(int id);
bool iconSetBoxEnabled();
