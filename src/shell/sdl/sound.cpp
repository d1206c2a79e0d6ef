#include "sound.h"

#include <SDL.h>
#include <alsa/asoundlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "layout.h"
#include "resources.h"
#include "shell.h"

namespace {

// A sound in the device's format, and what of it is still to be played.
using Samples = std::vector<Uint8>;

// What the sounds are decoded to and the device is asked for; SDL converts
// it to what the driver plays.
constexpr int kRate = 44100;
constexpr Uint8 kChannels = 2;
constexpr SDL_AudioFormat kFormat = AUDIO_S16SYS;  // silence is 0
// The device closes between sounds, so its buffer need not be long to keep
// the program asleep; a short one starts sounds sooner and closes faster
// (SDL's ALSA driver waits two buffers for the device to drain).
constexpr int kBufferFrames = 1024;

struct Voice {
  const Uint8 *next = nullptr;
  Uint32 left = 0;
};

// The game's sounds share one voice, so a new one cuts the one playing; the
// beep has a voice of its own and cuts no game sound.
enum { GAME_VOICE, BEEP_VOICE, VOICES };

// Open only while a sound plays: an open device, even a paused one, keeps
// SDL's audio thread and the sound server awake.
SDL_AudioDeviceID device;
bool driverFound;
Samples sounds[SOUNDS + 1];  // by k; entry 0 unused
Samples alert;
Voice voices[VOICES];
// Pushed by the audio thread once the voices have been silent for half a
// second: a quick run of clicks keeps one device.
Uint32 quietType;
constexpr int kQuietBuffers = kRate / 2 / kBufferFrames;
int quietBuffers;  // the audio thread's
// A closing device drains for two buffers (in SDL's ALSA driver for four),
// so a thread of its own closes it rather than holding up the game; the
// next sound waits for that thread before it opens the device again.
SDL_Thread *closer;

// Called by SDL's audio thread for every buffer.
void SDLCALL mix(void *, Uint8 *out, int length) {
  std::memset(out, 0, std::size_t(length));
  bool sounding = false;
  for (Voice &v : voices) {
    const Uint32 n = std::min(v.left, Uint32(length));
    if (!n) continue;
    sounding = true;
    SDL_MixAudioFormat(out, v.next, kFormat, n, SDL_MIX_MAXVOLUME);
    v.next += n;
    v.left -= n;
  }
  if (sounding)
    quietBuffers = 0;
  else if (++quietBuffers == kQuietBuffers) {
    SDL_Event e{};
    e.type = quietType;
    SDL_PushEvent(&e);
  }
}

// A new sound opens the device, and its first buffer starts with the sound.
SDL_AudioDeviceID openStream() {
  SDL_AudioSpec want{};
  want.freq = kRate;
  want.format = kFormat;
  want.channels = kChannels;
  want.samples = kBufferFrames;
  want.callback = mix;
  quietBuffers = 0;
  const SDL_AudioDeviceID id =
      SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
  if (id) SDL_PauseAudioDevice(id, 0);
  return id;
}

int SDLCALL closeDevice(void *id) {
  SDL_CloseAudioDevice(SDL_AudioDeviceID(reinterpret_cast<std::uintptr_t>(id)));
  return 0;
}

void closeStream() {
  closer = SDL_CreateThread(closeDevice, "SDLAudioClose",
                            reinterpret_cast<void *>(std::uintptr_t(device)));
  if (!closer) SDL_CloseAudioDevice(device);
  device = 0;
}

// Until it has closed, the old device's thread still reads the voices.
void awaitClose() {
  if (closer) SDL_WaitThread(closer, nullptr);
  closer = nullptr;
}

void start(int voice, const Samples &samples) {
  if (!driverFound || samples.empty()) return;
  if (device) {
    SDL_LockAudioDevice(device);
    voices[voice] = {samples.data(), Uint32(samples.size())};
    SDL_UnlockAudioDevice(device);
    return;
  }
  awaitClose();
  voices[voice] = {samples.data(), Uint32(samples.size())};
  if (!(device = openStream())) voices[voice] = {};
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
    device = openStream();
    if (device) return driverFound = true;
    if (name == "alsa") return false;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  return false;
}

// A carried WAV converted to the device's format; empty if it cannot be.
Samples decode(int id) {
  SDL_RWops *in = openResource(id);
  SDL_AudioSpec wavFormat;
  Uint8 *wav = nullptr;
  Uint32 length = 0;
  if (!in || !SDL_LoadWAV_RW(in, 1, &wavFormat, &wav, &length)) return {};
  SDL_AudioCVT cvt;
  Samples samples;
  if (SDL_BuildAudioCVT(&cvt, wavFormat.format, wavFormat.channels,
                        wavFormat.freq, kFormat, kChannels, kRate) >= 0) {
    samples.assign(wav, wav + length);
    samples.resize(std::size_t(length) * std::size_t(cvt.len_mult));
    cvt.buf = samples.data();
    cvt.len = int(length);
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0)
      samples.clear();
    else
      samples.resize(cvt.needed ? std::size_t(cvt.len_cvt) : length);
  }
  SDL_FreeWAV(wav);
  return samples;
}

}  // namespace

void openSound() {
  snd_lib_error_set_handler(quiet);
  if (!quietType) quietType = SDL_RegisterEvents(1);
  // Opened to choose the driver, the device closes again once it has been
  // quiet for a moment.
  if (!openDevice()) return;
  for (int k = 1; k <= SOUNDS; ++k) sounds[k] = decode(soundResource(k));
  alert = decode(WAVE_ALERT);
}

bool handleSoundEvent(const SDL_Event &e) {
  if (!quietType || e.type != quietType) return false;
  // A sound started since the event was pushed keeps the device open.
  if (device && !soundsPlaying()) closeStream();
  return true;
}

void closeSound() {
  if (!driverFound) return;
  awaitClose();
  if (device) SDL_CloseAudioDevice(device);
  device = 0;
  driverFound = false;
  for (Voice &v : voices) v = {};
  for (Samples &samples : sounds) samples.clear();
  alert.clear();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int soundsPlaying() {
  if (!device) return 0;
  SDL_LockAudioDevice(device);
  const int playing =
      int(std::count_if(std::begin(voices), std::end(voices),
                        [](const Voice &v) { return v.left > 0; }));
  SDL_UnlockAudioDevice(device);
  return playing;
}

void playSound(int k) {
  if (k >= 1 && k <= SOUNDS) start(GAME_VOICE, sounds[k]);
}

void beep() { start(BEEP_VOICE, alert); }
