// What a screen reader learns of the window on Linux: the application, its
// window and the 29 controls as ATK objects, handed to AT-SPI by ATK's
// bridge on a GLib thread of their own.
#pragma once

#include <SDL.h>

#include "layout.h"

// Starts the bridge once the first frame is shown, when the session has a
// bus to reach readers on and NO_AT_BRIDGE is not 1; else nothing starts.
void openAccess(const Face &face);
// Ends the bridge and its thread.
void closeAccess();
// A reader's click, run as the game's command; false for other events.
bool handleAccessEvent(const SDL_Event &e);
// Tells readers what they would hear differently since they were last told:
// names, texts, states, the keyboard cursor and the window's activity.
void accessChanged();
