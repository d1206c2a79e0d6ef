// Quintara on SDL2: start-up, the event loop and the way out.
#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "draw.h"
#include "game.h"
#include "shell.h"
#include "sound.h"
#include "state.h"
#include "timer.h"
#include "window.h"

namespace {

std::string executablePath() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, std::size_t(n)) : std::string();
}

// SDL wakes its waiting event loop with an event sent to the window over a
// second X connection. The server may take the window's destruction from
// the main connection first; the late wake-up then fails with BadWindow,
// which Xlib's default handler turns into exit code 1 when SDL closes that
// connection. That one error is harmless and dropped; every other goes on
// to Xlib's handler. Set before SDL starts, which restores it at the end.
XErrorHandler xlibHandler;

int dropLateWakeups(Display *display, XErrorEvent *error) {
  if (error->error_code == BadWindow && error->request_code == X_SendEvent)
    return 0;
  return xlibHandler(display, error);
}

}  // namespace

int main(int, char **) {
  setExecutablePath(executablePath());
  xlibHandler = XSetErrorHandler(dropLateWakeups);
  // The window is drawn in software; its pixels go straight to the X
  // server rather than through an OpenGL texture.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // A click that activates the window is a click, as on Windows.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) return 0;
  openSound();
  openDrawing();
  if (openWindow()) {
    // The program sleeps in the wait; every click and tick wakes it.
    SDL_Event e;
    while (windowOpen() && SDL_WaitEvent(&e)) {
      if (e.type == SDL_QUIT) break;
      if (isCurrentTick(e))
        gameTick();
      else
        handleWindowEvent(e);
    }
  }
  stopTimer();
  closeWindow();
  closeDrawing();
  closeSound();
  SDL_Quit();
  return 0;
}
