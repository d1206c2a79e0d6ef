// The seven sounds and the beep (playSound and beep of shell.h), decoded once
// from the executable and played through SDL_mixer.
#pragma once

// Opens the audio device, or the silent "dummy" device when there is none.
void openSound();
void closeSound();
