// The left button on the controls of a front end that draws its own, as
// Windows buttons behave: the control pressed shows its pressed picture
// while the button is held over it, and a click counts when the button comes
// up over the control it went down on; each one is a command, so a double
// click is two. The statics take no press, nor does the check box while it
// is disabled.
#pragma once

#include "game.h"
#include "layout.h"

// The index in kControls of the control with this id, or -1.
inline int indexOf(int id) {
  const Control *c = findControl(id);
  return c ? int(c - kControls) : -1;
}

class Pointer {
 public:
  // The control drawn pressed, or -1.
  int pressed() const { return over_ ? held_ : -1; }

  // The button going down, moving and coming up at (x, y) of the window,
  // whose controls are arranged as in face; show(i) redraws control i.
  template <class Show>
  void press(const Face &face, int x, int y, bool boxEnabled, Show show) {
    if (held_ >= 0) return;
    held_ = pressableAt(face, x, y, boxEnabled);
    over_ = true;
    if (held_ >= 0) show(held_);
  }

  template <class Show>
  void move(const Face &face, int x, int y, Show show) {
    if (held_ < 0 || inside(face, held_, x, y) == over_) return;
    over_ = !over_;
    show(held_);
  }

  template <class Show>
  void release(const Face &face, int x, int y, Show show) {
    const int i = held_;
    if (i < 0) return;
    const bool click = inside(face, i, x, y);
    held_ = -1;
    show(i);
    if (click) gameCommand(kControls[i].id);
  }

 private:
  static bool inside(const Face &face, int i, int x, int y) {
    const Control &c = face.controls[i];
    return x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h;
  }

  static int pressableAt(const Face &face, int x, int y, bool boxEnabled) {
    for (int i = 0; i < CONTROL_COUNT; ++i) {
      const ControlKind kind = kControls[i].kind;
      if (kind == ControlKind::Static) continue;
      if (kind == ControlKind::CheckBox && !boxEnabled) continue;
      if (inside(face, i, x, y)) return i;
    }
    return -1;
  }

  int held_ = -1;      // the control the button went down on, or -1
  bool over_ = false;  // whether the pointer is still over it
};
