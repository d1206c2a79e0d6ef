#include "sound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <alsa/asoundlib.h>

#include "layout.h"
#include "resources.h"
#include "shell.h"

namespace {

enum Channel { GAME_CHANNEL, BEEP_CHANNEL, CHANNELS };

Mix_Chunk *sounds[SOUNDS + 1];  // by k; entry 0 unused
Mix_Chunk *alert;
bool opened;

// ALSA prints its failures itself (for instance, that there is no sound
// card); the program says nothing about a missing device.
void quiet(const char *, int, const char *, int, const char *, ...) {}

// The audio thread wakes once per buffer even in silence; a buffer of about
// a tenth of a second keeps the idle program near asleep.
constexpr int kBufferFrames = 4096;

bool openDevice() {
  return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 &&
         Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2,
                       kBufferFrames) == 0;
}

Mix_Chunk *decode(int id) {
  SDL_RWops *in = openResource(id);
  return in ? Mix_LoadWAV_RW(in, 1) : nullptr;
}

}  // namespace

void openSound() {
  snd_lib_error_set_handler(quiet);
  if (!openDevice()) {
    // No sound card or sound server: play into the dummy device, so every
    // sound call still works and nothing is said.
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
    if (!openDevice()) return;
  }
  opened = true;
  Mix_AllocateChannels(CHANNELS);
  for (int k = 1; k <= SOUNDS; ++k) sounds[k] = decode(soundResource(k));
  alert = decode(WAVE_ALERT);
}

void closeSound() {
  if (!opened) return;
  Mix_HaltChannel(-1);
  for (Mix_Chunk *&chunk : sounds) {
    Mix_FreeChunk(chunk);
    chunk = nullptr;
  }
  Mix_FreeChunk(alert);
  alert = nullptr;
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  opened = false;
}

// The game's sounds share one channel, so a new one cuts the one playing.
void playSound(int k) {
  if (k >= 1 && k <= SOUNDS && sounds[k])
    Mix_PlayChannel(GAME_CHANNEL, sounds[k], 0);
}

// The beep has a channel of its own and cuts no game sound.
void beep() {
  if (alert) Mix_PlayChannel(BEEP_CHANNEL, alert, 0);
}
