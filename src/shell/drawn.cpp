#include "drawn.h"

#include <string>

#include "pointer.h"
#include "shell.h"

namespace {

Canvas *canvas;
Pointer pointer;
bool boxEnabled = true;

// The statics' texts, by index in kControls.
struct Texts {
  Texts() {
    for (int i = 0; i < CONTROL_COUNT; ++i) by[i] = kControls[i].text;
  }
  std::string by[CONTROL_COUNT];
} texts;

Looks looks() { return {pointer.pressed(), boxEnabled, texts.by}; }

const Face &face() { return canvas ? canvas->face() : kLandscape; }

void show(int i) {
  if (canvas) paintControl(*canvas, i, looks());
}

}  // namespace

void attachCanvas(Canvas *c) { canvas = c; }

void pointerDown(int x, int y) {
  pointer.press(face(), x, y, boxEnabled, show);
}
void pointerMove(int x, int y) { pointer.move(face(), x, y, show); }
void pointerUp(int x, int y) { pointer.release(face(), x, y, show); }

void placeFileLoaded(int k, bool drawn) {
  if (canvas && k >= 1 && k <= PLACES)
    placeLoaded(*canvas, canvas->face().controls[indexOf(placeId(k))], drawn);
}

void setStaticText(int id, const std::string &text) {
  const int i = indexOf(id);
  if (i < 0) return;
  texts.by[i] = text;
  show(i);
}

void redrawPlace(int k) { show(indexOf(placeId(k))); }

void redrawWindow() {
  if (canvas) paintWindow(*canvas, looks());
}

void enableIconSetBox(bool enable) {
  boxEnabled = enable;
  show(indexOf(ID_SPORTS));
}

const std::string &staticText(int id) { return texts.by[indexOf(id)]; }

bool iconSetBoxEnabled() { return boxEnabled; }
