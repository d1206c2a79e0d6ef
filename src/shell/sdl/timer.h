// The game's one timer (startTimer and stopTimer of shell.h): SDL's timer
// thread pushes a tick event every TIMER_PERIOD_MS, and the event loop hands
// the current ones to the game.
#pragma once

#include <SDL.h>

// Whether e is a tick of the timer as it runs now (not a stale one).
bool isCurrentTick(const SDL_Event &e);
