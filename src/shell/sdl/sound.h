// The seven sounds and the beep (playSound and beep of shell.h), converted
// once from the executable and mixed by SDL_mixer.
#pragma once

#include <SDL.h>

// Opens the first audio driver that has a device: the one SDL_AUDIODRIVER
// names, then SDL's own order, down to the silent "dummy" device.
void openSound();
void closeSound();
// Closes the device once its sounds have ended, so that nothing wakes while
// nothing plays; false for the events of others.
bool handleSoundEvent(const SDL_Event &e);
// How many sounds play at the moment: the game's and the beep, at most two.
int soundsPlaying();
