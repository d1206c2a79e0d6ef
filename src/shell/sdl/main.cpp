// Quintara on SDL2: start-up, the event loop and the way out.
#include <SDL.h>
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

}  // namespace

int main(int, char **) {
  setExecutablePath(executablePath());
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
