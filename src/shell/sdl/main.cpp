// Quintara on SDL2: start-up, the event loop and the way out.
#include <SDL.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "access.h"
#include "draw.h"
#include "game.h"
#include "help.h"
#include "language.h"
#include "scale.h"
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

int main(int argc, char **argv) {
  std::vector<std::string> wanted = overridePreferences();
  if (wanted.empty()) wanted = gettextPreferences();
  useLanguage(wanted);
  if (argc == 2 && std::strcmp(argv[1], kErrorBoxSwitch) == 0)
    return runErrorBox();
  setExecutablePath(executablePath());
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
  tolerateGoneWindows();
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return noDisplay(SDL_GetError());
  const Fit fit = desktopFit();
  openDrawing(fit.scale);
  if (!openWindow(fit.face)) return noDisplay(SDL_GetError());
  // The timer's thread, sound and the readers' bridge come after the first
  // frame, so that they cannot hold it up: SDL waits for a new thread to run,
  // which on a busy machine may take a while.
  SDL_InitSubSystem(SDL_INIT_TIMER);
  openSound();
  openAccess(fit.face);
  // The program sleeps in the wait; every click and tick wakes it.
  SDL_Event e;
  bool destroyed = false;
  while (windowOpen() && SDL_WaitEvent(&e)) {
    if (e.type == SDL_QUIT) break;
    if ((destroyed = windowDestroyed(e))) break;
    if (isCurrentTick(e))
      gameTick();
    else if (!handleSoundEvent(e) && !handleAccessEvent(e))
      handleWindowEvent(e);
    accessChanged();
  }
  closeAccess();
  closeHelp();
  // The sounds are freed on the way out; no audio thread may still play
  // them.
  closeSound();
  // A window another client destroyed is not closed again: SDL would hide
  // it first and wait for ever for it to be unmapped.
  if (destroyed) return 0;
  stopTimer();
  closeWindow();
  closeDrawing();
  SDL_Quit();
  return 0;
}
