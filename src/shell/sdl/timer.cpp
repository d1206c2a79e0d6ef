#include "timer.h"

#include <cstdint>

#include "layout.h"
#include "shell.h"

namespace {

Uint32 tickType = 0;
SDL_TimerID timer = 0;
// Every start and stop opens a new generation; a tick carries the one it was
// pushed for, so ticks queued before a stop are told apart from later ones.
Sint32 generation = 0;

Uint32 pushTick(Uint32 interval, void *param) {
  SDL_Event e{};
  e.type = tickType;
  e.user.code = Sint32(reinterpret_cast<std::intptr_t>(param));
  SDL_PushEvent(&e);
  return interval;
}

}  // namespace

void startTimer() {
  stopTimer();
  if (!tickType) tickType = SDL_RegisterEvents(1);
  timer = SDL_AddTimer(TIMER_PERIOD_MS, pushTick,
                       reinterpret_cast<void *>(std::intptr_t(generation)));
}

void stopTimer() {
  if (timer) SDL_RemoveTimer(timer);
  timer = 0;
  ++generation;
}

bool isCurrentTick(const SDL_Event &e) {
  return timer && tickType && e.type == tickType && e.user.code == generation;
}
