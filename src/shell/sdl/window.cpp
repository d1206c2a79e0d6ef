#include "window.h"

#include <SDL_syswm.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "cursor.h"
#include "draw.h"
#include "game.h"
#include "layout.h"
#include "pointer.h"
#include "resources.h"
#include "shell.h"
#include "state.h"
#include "texts.h"

namespace {

SDL_Window *window;
std::string texts[CONTROL_COUNT];  // by index in kControls; statics only
Pointer pointer;
bool boxEnabled = true;

void paint(SDL_Surface *s, int i) {
  const Control &c = kControls[i];
  const bool pressed = pointer.pressed(i);
  switch (c.kind) {
    case ControlKind::SkinnedButton:
      drawSkin(s, c, pressed);
      break;
    case ControlKind::Place:
      drawPlace(s, c, place(placeOf(c.id)).path);
      drawCursorRing(placeOf(c.id), c.x, c.y, c.w, c.h,
                     [s](int x, int y, int w, int h, int grey) {
                       drawFrame(s, x, y, w, h, grey);
                     });
      break;
    case ControlKind::Static:
      drawStatic(s, c, texts[i]);
      break;
    case ControlKind::CheckBox:
      // The mark shows the set in play, whether a click or a key chose it.
      drawCheckBox(s, c, sportset % 2,
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
  const int k = drawingScale();
  const SDL_Rect r{c.x * k, c.y * k, c.w * k, c.h * k};
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
  const int k = drawingScale();
  return titleRect.contains(p->x / k, p->y / k) ? SDL_HITTEST_DRAGGABLE
                                                : SDL_HITTEST_NORMAL;
}

// The game's keys; Alt with anything is the desktop's.
void takeKey(const SDL_Keysym &k) {
  struct Binding {
    SDL_Keycode sym;
    Key key;
  };
  static constexpr Binding bindings[] = {
      {SDLK_LEFT, Key::Left},     {SDLK_RIGHT, Key::Right},
      {SDLK_UP, Key::Up},         {SDLK_DOWN, Key::Down},
      {SDLK_SPACE, Key::Act},     {SDLK_RETURN, Key::Act},
      {SDLK_KP_ENTER, Key::Act},  {SDLK_F2, Key::NewGame},
      {SDLK_n, Key::NewGame},     {SDLK_ESCAPE, Key::Cancel},
      {SDLK_c, Key::ColourCount}, {SDLK_s, Key::IconSet},
      {SDLK_F1, Key::Help},
  };
  if (k.mod & (KMOD_ALT | KMOD_CTRL | KMOD_GUI)) {
    if (k.sym == SDLK_q && !(k.mod & (KMOD_ALT | KMOD_GUI))) gameKey(Key::Quit);
    return;
  }
  for (const Binding &b : bindings)
    if (b.sym == k.sym) return gameKey(b.key);
}

}  // namespace

// SDL keeps the handler it finds and puts it back when it quits.
void tolerateGoneWindows() { xlibErrorHandler = XSetErrorHandler(onXError); }

bool openWindow() {
  SDL_DisplayMode screen{};
  SDL_GetDesktopDisplayMode(0, &screen);
  const int k = drawingScale();
  window = SDL_CreateWindow(
      WINDOW_TITLE, k * windowX(screen.w / k), k * windowY(screen.h / k),
      WINDOW_W * k, WINDOW_H * k, SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
  if (!window) return false;
  if (std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0)
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  if (SDL_Surface *icon =
          loadIcon(atScale(ICON_GROUP_SMALL, std::min(k, ARTWORK_SCALES)))) {
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
  // The pointer in the control table's pixels; a pixel left of or above the
  // window stays outside it.
  const int k = drawingScale();
  const auto at = [k](int v) { return v < 0 ? -1 : v / k; };
  switch (e.type) {
    case SDL_MOUSEBUTTONDOWN:
      if (e.button.button == SDL_BUTTON_LEFT)
        pointer.press(at(e.button.x), at(e.button.y), boxEnabled, show);
      break;
    case SDL_MOUSEMOTION:
      pointer.move(at(e.motion.x), at(e.motion.y), show);
      break;
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == SDL_BUTTON_LEFT)
        pointer.release(at(e.button.x), at(e.button.y), show);
      break;
    case SDL_KEYDOWN:
      takeKey(e.key.keysym);
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
