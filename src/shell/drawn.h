// The window operations of shell.h for a front end that draws its own
// controls through the painter (Linux and web), and the left button on
// them. The front end hands over its canvas, its view of the controls and
// its pointer events; every redraw the game asks for is painted there at
// once.
#pragma once

#include <string>

#include "painter.h"

// What a front end keeps of the controls beside their pixels: the face they
// are arranged in and, where the statics' texts and the controls' names are
// elements of its own (the web page), what each says.
class ControlView {
 public:
  virtual const Face &face() const = 0;
  // Whether the statics' texts are shown by text() rather than painted.
  virtual bool ownsTexts() const { return false; }
  // Static id says text now.
  virtual void text(int, const std::string &) {}
  // What a screen reader hears of control id, a button, place or the check
  // box: its name and, for the check box, whether it is ticked and takes
  // clicks.
  virtual void describe(int, const std::string &, bool, bool) {}

 protected:
  ~ControlView() = default;
};

// The canvas drawn on and the view of its controls, or nullptr for both
// while there is none (no window yet, or the game has ended): the
// controls' state is kept, nothing is drawn.
void attachCanvas(Canvas *canvas, ControlView *view);
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
