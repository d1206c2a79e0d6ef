#include "window.h"

#include <SDL_syswm.h>

#include <cstring>
#include <string>

#include "draw.h"
#include "game.h"
#include "layout.h"
#include "resources.h"
#include "shell.h"
#include "state.h"
#include "texts.h"

namespace {

SDL_Window *window;
std::string texts[CONTROL_COUNT];  // by index in kControls; statics only
int held = -1;    // the control the left button went down on, or -1
bool heldOver;    // whether the pointer is still over it
bool boxChecked;  // the check box toggles its own mark on each click
bool boxEnabled = true;

int indexOf(int id) {
  const Control *c = findControl(id);
  return c ? int(c - kControls) : -1;
}

bool over(int i, int x, int y) {
  const Control &c = kControls[i];
  return x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h;
}

// The control that takes a press at (x, y), or -1. The statics take none,
// and neither does the check box while it is disabled.
int pressableAt(int x, int y) {
  for (int i = 0; i < CONTROL_COUNT; ++i) {
    const ControlKind kind = kControls[i].kind;
    if (kind == ControlKind::Static) continue;
    if (kind == ControlKind::CheckBox && !boxEnabled) continue;
    if (over(i, x, y)) return i;
  }
  return -1;
}

void paint(SDL_Surface *s, int i) {
  const Control &c = kControls[i];
  const bool pressed = held == i && heldOver;
  switch (c.kind) {
    case ControlKind::SkinnedButton:
      drawSkin(s, c, pressed);
      break;
    case ControlKind::Place:
      drawPlace(s, c, place(placeOf(c.id)).path);
      break;
    case ControlKind::Static:
      drawStatic(s, c, texts[i]);
      break;
    case ControlKind::CheckBox:
      drawCheckBox(s, c, boxChecked,
                   !boxEnabled ? BoxLook::Disabled
                   : pressed   ? BoxLook::Held
                               : BoxLook::Normal);
      break;
  }
}

// Draws control i and puts it on the screen before returning.
void show(int i) {
  SDL_Surface *s = window ? SDL_GetWindowSurface(window) : nullptr;
  if (!s || i < 0) return;
  paint(s, i);
  const Control &c = kControls[i];
  const SDL_Rect r{c.x, c.y, c.w, c.h};
  SDL_UpdateWindowSurfaceRects(window, &r, 1);
}

void paintAll(SDL_Surface *s) {
  drawFace(s);
  for (int i = 0; i < CONTROL_COUNT; ++i) paint(s, i);
}

XErrorHandler xlibErrorHandler;

// An X request about a window that is gone is no reason to end the game:
// another client may have destroyed it, or SDL's late wake-up of its event
// loop (sent to the window over a second connection) may reach the server
// after the window's destruction. Other errors end it as Xlib does.
int onXError(Display *display, XErrorEvent *error) {
  if (error->error_code == BadWindow || error->error_code == BadDrawable)
    return 0;
  return xlibErrorHandler ? xlibErrorHandler(display, error) : 0;
}

SDL_HitTestResult dragStrip(SDL_Window *, const SDL_Point *p, void *) {
  return titleRect.contains(p->x, p->y) ? SDL_HITTEST_DRAGGABLE
                                        : SDL_HITTEST_NORMAL;
}

void press(int x, int y) {
  held = pressableAt(x, y);
  heldOver = true;
  show(held);
}

void track(int x, int y) {
  if (held < 0 || over(held, x, y) == heldOver) return;
  heldOver = !heldOver;
  show(held);
}

// A click counts when the button comes up over the control it went down
// on; each one is a command, so a double click is two.
void release(int x, int y) {
  const int i = held;
  if (i < 0) return;
  const bool click = over(i, x, y);
  held = -1;
  if (click && kControls[i].kind == ControlKind::CheckBox)
    boxChecked = !boxChecked;
  show(i);
  if (click) gameCommand(kControls[i].id);
}

}  // namespace

// SDL keeps the handler it finds and puts it back when it quits.
void tolerateGoneWindows() { xlibErrorHandler = XSetErrorHandler(onXError); }

bool openWindow() {
  SDL_DisplayMode screen{};
  SDL_GetDesktopDisplayMode(0, &screen);
  window = SDL_CreateWindow(WINDOW_TITLE, windowX(screen.w), windowY(screen.h),
                            WINDOW_W, WINDOW_H,
                            SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
  if (!window) return false;
  if (std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0)
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  if (SDL_Surface *icon = loadIcon(ICON_GROUP_SMALL)) {
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
  }
  SDL_SetWindowHitTest(window, dragStrip, nullptr);
  for (int i = 0; i < CONTROL_COUNT; ++i) texts[i] = kControls[i].text;
  if (SDL_Surface *s = SDL_GetWindowSurface(window)) paintAll(s);
  SDL_ShowWindow(window);
  SDL_UpdateWindowSurface(window);
  return true;
}

void closeWindow() {
  if (window) SDL_DestroyWindow(window);
  window = nullptr;
}

bool windowOpen() { return window != nullptr; }

bool windowDestroyed(const SDL_Event &e) {
  if (e.type != SDL_SYSWMEVENT || !window) return false;
  const SDL_SysWMmsg *msg = e.syswm.msg;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  return msg->subsystem == SDL_SYSWM_X11 &&
         msg->msg.x11.event.type == DestroyNotify &&
         SDL_GetWindowWMInfo(window, &info) &&
         msg->msg.x11.event.xdestroywindow.window == info.info.x11.window;
}

SDL_Window *mainWindow() { return window; }

void handleWindowEvent(const SDL_Event &e) {
  switch (e.type) {
    case SDL_MOUSEBUTTONDOWN:
      if (e.button.button == SDL_BUTTON_LEFT && held < 0)
        press(e.button.x, e.button.y);
      break;
    case SDL_MOUSEMOTION:
      track(e.motion.x, e.motion.y);
      break;
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == SDL_BUTTON_LEFT) release(e.button.x, e.button.y);
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED && window)
        SDL_UpdateWindowSurface(window);
      break;
  }
}

void setStaticText(int id, const std::string &text) {
  const int i = indexOf(id);
  if (i < 0) return;
  texts[i] = text;
  show(i);
}

void redrawPlace(int k) { show(indexOf(placeId(k))); }

void redrawWindow() {
  SDL_Surface *s = window ? SDL_GetWindowSurface(window) : nullptr;
  if (!s) return;
  paintAll(s);
  SDL_UpdateWindowSurface(window);
}

void enableIconSetBox(bool enable) {
  boxEnabled = enable;
  show(indexOf(ID_SPORTS));
}

void minimiseWindow() {
  if (window) SDL_MinimizeWindow(window);
}

void endProgram() { closeWindow(); }
