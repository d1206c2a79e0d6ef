// The seven sounds and the beep (playSound and beep of shell.h), decoded once
// from the executable and played through SDL_mixer.
#pragma once

// Opens the first audio driver that has a device: the one SDL_AUDIODRIVER
// names, then SDL's own order, down to the silent "dummy" device.
void openSound();
void closeSound();
