#include "sound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <alsa/asoundlib.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

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

// SDL's ALSA driver watches for new devices from a thread of its own, and
// shutting it down while that thread is at work can hang the program. So
// ALSA is only handed to SDL once its device is known to open, and is never
// shut down during start-up. Without its server, sndio plays through the
// same device, and says so on stderr when it cannot.
bool alsaPlays() {
  const char *device = SDL_getenv("AUDIODEV");
  snd_pcm_t *pcm = nullptr;
  if (snd_pcm_open(&pcm, device && *device ? device : "default",
                   SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) != 0)
    return false;
  snd_pcm_close(pcm);
  return true;
}

// The drivers to try, in order: the ones SDL_AUDIODRIVER names, then SDL's
// own order; never the "disk" driver unless named, as it writes a file.
std::vector<std::string> candidates() {
  std::vector<std::string> known, order;
  for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i)
    known.emplace_back(SDL_GetAudioDriver(i));
  const auto add = [&](const std::string &name) {
    if (std::find(known.begin(), known.end(), name) != known.end() &&
        std::find(order.begin(), order.end(), name) == order.end())
      order.push_back(name);
  };
  if (const char *named = SDL_getenv("SDL_AUDIODRIVER")) {
    std::stringstream list(named);
    for (std::string name; std::getline(list, name, ',');) add(name);
  }
  for (const std::string &name : known)
    if (name != "disk") add(name);
  return order;
}

// The first driver that starts and opens its device. Without a sound card
// that is the last one, "dummy", which plays into nothing, so every sound
// call still works and nothing is said.
bool openDevice() {
  for (const std::string &name : candidates()) {
    if ((name == "alsa" || name == "sndio") && !alsaPlays()) continue;
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, name.c_str(),
                            SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) continue;
    if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2,
                      kBufferFrames) == 0)
      return true;
    if (name == "alsa") return false;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  return false;
}

Mix_Chunk *decode(int id) {
  SDL_RWops *in = openResource(id);
  return in ? Mix_LoadWAV_RW(in, 1) : nullptr;
}

}  // namespace

void openSound() {
  snd_lib_error_set_handler(quiet);
  if (!openDevice()) return;
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
