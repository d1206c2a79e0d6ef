// The main window (the window operations of shell.h): a borderless SDL
// window painted in software with the face and the 29 controls, which turns
// left-button clicks on the controls and the keys into game commands.
#pragma once

#include <SDL.h>

#include "layout.h"

// Before SDL starts: X errors about a window already gone are ignored.
void tolerateGoneWindows();
// Creates the window of face hidden, draws it whole and only then shows it;
// false when there is no window.
bool openWindow(const Face &face);
void closeWindow();
// False once the game has ended the program.
bool windowOpen();
// Whether e tells that another client destroyed the window.
bool windowDestroyed(const SDL_Event &e);
// Mouse, key and window events of the main window: a click reaching a
// control runs its command, a key the game's.
void handleWindowEvent(const SDL_Event &e);
// The window while it is open, else nullptr.
SDL_Window *mainWindow();
