// Quintara on SDL2: start-up, the event loop and the way out.
#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
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

// The video drivers of the displays the environment names. SDL would
// otherwise fall back to a window in memory, and the program would run on
// unseen; SDL_VIDEODRIVER still chooses any driver.
std::string displayDrivers() {
  const auto named = [](const char *variable) {
    const char *value = std::getenv(variable);
    return value && *value;
  };
  if (named("SDL_VIDEODRIVER")) return std::getenv("SDL_VIDEODRIVER");
  std::string drivers;
  if (named("DISPLAY")) drivers = "x11";
  if (named("WAYLAND_DISPLAY"))
    drivers += drivers.empty() ? "wayland" : ",wayland";
  return drivers;
}

// The one thing the program ever says: that it has nowhere to show itself.
int noDisplay(const char *why) {
  std::fprintf(stderr, "quintara: needs a graphical display (%s)\n", why);
  SDL_Quit();
  return 1;
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
  const std::string drivers = displayDrivers();
  if (drivers.empty())
    return noDisplay("neither DISPLAY nor WAYLAND_DISPLAY is set");
  SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, drivers.c_str(),
                          SDL_HINT_OVERRIDE);
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0)
    return noDisplay(SDL_GetError());
  openDrawing();
  if (!openWindow()) return noDisplay(SDL_GetError());
  // Sound comes after the first frame, so that it cannot hold it up.
  openSound();
  // The program sleeps in the wait; every click and tick wakes it.
  SDL_Event e;
  while (windowOpen() && SDL_WaitEvent(&e)) {
    if (e.type == SDL_QUIT) break;
    if (isCurrentTick(e))
      gameTick();
    else
      handleWindowEvent(e);
  }
  stopTimer();
  closeWindow();
  closeDrawing();
  closeSound();
  SDL_Quit();
  return 0;
}
