#include "window.h"

#include <SDL_syswm.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "draw.h"
#include "drawn.h"
#include "game.h"
#include "keys.h"
#include "layout.h"
#include "resources.h"
#include "shell.h"
#include "texts.h"

namespace {

SDL_Window *window;
std::optional<SurfaceCanvas> canvas;

// The window's face; its statics' texts are painted, and readers have no
// way in.
struct WindowView final : ControlView {
  const Face *arranged = &kLandscape;
  const Face &face() const override { return *arranged; }
} view;

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
  return canvas && view.face().title.contains(p->x / k, p->y / k)
             ? SDL_HITTEST_DRAGGABLE
             : SDL_HITTEST_NORMAL;
}

// The key's virtual-key code, for the game's one key table.
int virtualKey(SDL_Keycode sym) {
  if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + int(sym - SDLK_a);
  switch (sym) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return vk::Return;
    case SDLK_ESCAPE:
      return vk::Escape;
    case SDLK_SPACE:
      return vk::Space;
    case SDLK_LEFT:
      return vk::Left;
    case SDLK_UP:
      return vk::Up;
    case SDLK_RIGHT:
      return vk::Right;
    case SDLK_DOWN:
      return vk::Down;
    case SDLK_F1:
      return vk::F1;
    case SDLK_F2:
      return vk::F2;
  }
  return 0;
}

void takeKey(const SDL_Keysym &k) {
  const Modifiers held{(k.mod & KMOD_CTRL) != 0, (k.mod & KMOD_ALT) != 0,
                       (k.mod & KMOD_GUI) != 0};
  Key key;
  if (keyOfCode(virtualKey(k.sym), held, key)) gameKey(key);
}

}  // namespace

// SDL keeps the handler it finds and puts it back when it quits.
void tolerateGoneWindows() { xlibErrorHandler = XSetErrorHandler(onXError); }

bool openWindow(const Face &face) {
  SDL_DisplayMode screen{};
  SDL_GetDesktopDisplayMode(0, &screen);
  const int k = drawingScale(), w = screen.w / k, h = screen.h / k;
  // The upright face fills a phone's narrow screen: it is centred there.
  const bool upright = &face == &kPortrait;
  const int x = upright ? std::max(0, (w - face.w) / 2) : windowX(w);
  const int y = upright ? std::max(0, (h - face.h) / 2) : windowY(h);
  window = SDL_CreateWindow(WINDOW_TITLE, k * x, k * y, face.w * k, face.h * k,
                            SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
  if (!window) return false;
  if (std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0)
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  if (SDL_Surface *icon =
          loadBitmap(atScale(BMP_WINDOW_ICON, artworkScale(k)))) {
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
  }
  SDL_SetWindowHitTest(window, dragStrip, nullptr);
  view.arranged = &face;
  attachCanvas(&canvas.emplace(window), &view);
  redrawWindow();
  SDL_ShowWindow(window);
  SDL_UpdateWindowSurface(window);
  return true;
}

void closeWindow() {
  attachCanvas(nullptr, nullptr);
  canvas.reset();
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
        pointerDown(at(e.button.x), at(e.button.y));
      break;
    case SDL_MOUSEMOTION:
      pointerMove(at(e.motion.x), at(e.motion.y));
      break;
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == SDL_BUTTON_LEFT)
        pointerUp(at(e.button.x), at(e.button.y));
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

void minimiseWindow() {
  if (window) SDL_MinimizeWindow(window);
}

void endProgram() { closeWindow(); }
