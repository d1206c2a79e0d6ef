#include "drawn.h"

#include <string>

#include "language.h"
#include "names.h"
#include "pointer.h"
#include "shell.h"
#include "state.h"
#include "texts.h"

namespace {

Canvas *canvas;
ControlView *view;
Pointer pointer;
bool boxEnabled = true;

// The statics' texts, by index in kControls: made when first asked for,
// once the front end has put its language in use.
struct Texts {
  Texts() {
    for (int i = 0; i < CONTROL_COUNT; ++i) by[i] = startText(kControls[i]);
  }
  std::string by[CONTROL_COUNT];
};

Texts &texts() {
  static Texts made;
  return made;
}

bool ticked() { return sportset % 2; }

Looks looks() {
  Looks looks{&view->face(),
              pointer.pressed(),
              boxEnabled,
              ticked(),
              cursorShown ? cursor : 0,
              view->ownsTexts() ? nullptr : texts().by,
              {}};
  for (int k = 1; k <= PLACES; ++k) looks.paths[k - 1] = &place(k).path;
  looks.words = textsInEnglish();
  return looks;
}

const Face &face() { return view ? view->face() : kLandscape; }

// Control i's text or name, as the view keeps it.
void tell(int i) {
  const Control &c = kControls[i];
  if (c.kind == ControlKind::Static)
    view->text(c.id, texts().by[i]);
  else
    view->describe(c.id, controlName(c.id), ticked(), boxEnabled);
}

void show(int i) {
  if (!canvas || i < 0 || i >= CONTROL_COUNT) return;
  paintControl(*canvas, i, looks());
  tell(i);
}

}  // namespace

void attachCanvas(Canvas *c, ControlView *v) {
  canvas = c;
  view = v;
}

void pointerDown(int x, int y) {
  pointer.press(face(), x, y, boxEnabled, show);
}
void pointerMove(int x, int y) { pointer.move(face(), x, y, show); }
void pointerUp(int x, int y) { pointer.release(face(), x, y, show); }

void placeFileLoaded(int k, bool drawn) {
  if (canvas && k >= 1 && k <= PLACES)
    placeLoaded(*canvas, indexOf(placeId(k)), looks(), drawn);
}

void setStaticText(int id, const std::string &text) {
  const int i = indexOf(id);
  if (i < 0) return;
  texts().by[i] = text;
  show(i);
}

void redrawPlace(int k) { show(indexOf(placeId(k))); }

void redrawWindow() {
  if (!canvas) return;
  paintWindow(*canvas, looks());
  for (int i = 0; i < CONTROL_COUNT; ++i) tell(i);
}

void enableIconSetBox(bool enable) {
  boxEnabled = enable;
  show(indexOf(ID_SPORTS));
}

const std::string &staticText(int id) { return texts().by[indexOf(id)]; }

bool iconSetBoxEnabled() { return boxEnabled; }
