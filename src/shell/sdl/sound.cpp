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

// What the sounds are converted to and the device is asked for, exactly:
// SDL converts it to what the driver plays.
constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr Uint16 kFormat = AUDIO_S16SYS;
// The device closes between sounds, so its buffer need not be long to keep
// the program asleep; a short one starts sounds sooner and closes faster
// (SDL's ALSA driver waits two buffers for the device to drain).
constexpr int kBufferFrames = 1024;

// The game's sounds share one channel, so a new one cuts the one playing;
// the beep has a channel of its own and cuts no game sound.
enum { GAME_CHANNEL, BEEP_CHANNEL };

// The mixer is open only while a sound plays: an open device, even a paused
// one, keeps SDL's audio thread and the sound server awake.
bool driverFound;
Mix_Chunk *sounds[SOUNDS + 1];  // by k; entry 0 unused
Mix_Chunk *alert;
// Pushed by the audio thread once the channels have been silent for half a
// second: a quick run of clicks keeps one device.
Uint32 quietType;
constexpr int kQuietBuffers = kRate / 2 / kBufferFrames;
int quietBuffers;  // the audio thread's

// Called by SDL's audio thread after the mixer has filled a buffer.
void SDLCALL afterMix(void *, Uint8 *, int) {
  if (Mix_Playing(-1))
    quietBuffers = 0;
  else if (++quietBuffers == kQuietBuffers) {
    SDL_Event e{};
    e.type = quietType;
    SDL_PushEvent(&e);
  }
}

// Closing drains the device for two buffers or more (55 ms on SDL's dummy
// driver, 95 ms on its ALSA one), so a thread of its own closes the mixer
// rather than holding up the game; the mixer is not touched again until that
// thread has ended.
SDL_Thread *closer;

int SDLCALL closeMixer(void *) {
  Mix_CloseAudio();
  return 0;
}

void closeInBackground() {
  closer = SDL_CreateThread(closeMixer, "SDLAudioClose", nullptr);
  if (!closer) Mix_CloseAudio();
}

void awaitClose() {
  if (closer) SDL_WaitThread(closer, nullptr);
  closer = nullptr;
}

bool mixerOpen() {
  return !closer && Mix_QuerySpec(nullptr, nullptr, nullptr) != 0;
}

// No change of format is allowed, so the sounds are converted once, as they
// are loaded, and never again by the device.
bool openMixer() {
  quietBuffers = 0;
  if (Mix_OpenAudioDevice(kRate, kFormat, kChannels, kBufferFrames, nullptr,
                          0) != 0)
    return false;
  Mix_SetPostMix(afterMix, nullptr);
  return true;
}

// A new sound opens the mixer, and it plays from the next buffer.
void start(int channel, Mix_Chunk *chunk) {
  if (!driverFound || !chunk) return;
  if (!mixerOpen()) {
    awaitClose();
    if (!openMixer()) return;
  }
  Mix_PlayChannel(channel, chunk, 0);
}

// ALSA prints its failures itself (for instance, that there is no sound
// card); the program says nothing about a missing device.
void quiet(const char *, int, const char *, int, const char *, ...) {}

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
    if (openMixer()) return driverFound = true;
    if (name == "alsa") return false;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  return false;
}

}  // namespace

void openSound() {
  snd_lib_error_set_handler(quiet);
  if (!quietType) quietType = SDL_RegisterEvents(1);
  // Opened to choose the driver, the mixer closes again once it has been
  // quiet for a moment.
  if (!openDevice()) return;
  for (int k = 1; k <= SOUNDS; ++k)
    sounds[k] = Mix_LoadWAV_RW(openResource(soundResource(k)), 1);
  alert = Mix_LoadWAV_RW(openResource(WAVE_ALERT), 1);
}

bool handleSoundEvent(const SDL_Event &e) {
  if (!quietType || e.type != quietType) return false;
  // A sound started since the event was pushed keeps the mixer open.
  if (mixerOpen() && !Mix_Playing(-1)) closeInBackground();
  return true;
}

void closeSound() {
  if (!driverFound) return;
  awaitClose();
  if (mixerOpen()) Mix_CloseAudio();
  driverFound = false;
  for (Mix_Chunk *&chunk : sounds) {
    Mix_FreeChunk(chunk);
    chunk = nullptr;
  }
  Mix_FreeChunk(alert);
  alert = nullptr;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int soundsPlaying() { return mixerOpen() ? Mix_Playing(-1) : 0; }

void playSound(int k) {
  if (k >= 1 && k <= SOUNDS) start(GAME_CHANNEL, sounds[k]);
}

void beep() { start(BEEP_CHANNEL, alert); }
