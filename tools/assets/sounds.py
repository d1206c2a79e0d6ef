"""A small synthesiser for the game's sounds: mallets, bells, a soft pad and
bass for the two study-phase tunes, and filtered noise and tones for the
effects. Pure standard library, so every run gives the same samples."""
import math
import struct

TAU = 2 * math.pi

# Each sound's file, channels, sample rate, bits and data bytes. The data
# sizes fix the lengths the game was timed against.
FORMATS = {
    "click": (1, 22050, 16, 1362),
    "minimise": (1, 8000, 8, 2261),
    "round-won": (1, 44100, 16, 920894),
    "new-game": (1, 11025, 16, 223970),
    "ball": (2, 22050, 16, 18464),
    "time-up": (1, 11025, 16, 46366),
    "hidden": (1, 11025, 16, 13922),
}
ORDER = ["click", "minimise", "round-won", "new-game", "ball", "time-up", "hidden"]
# The Linux program's stand-in for the system beep: 0.2 s.
ALERT = (1, 22050, 16, 8820)


class Noise:
    """A fixed white-noise sequence (xorshift32), the same on every run."""

    def __init__(self, seed):
        self.state = seed

    def __call__(self):
        s = self.state
        s ^= (s << 13) & 0xFFFFFFFF
        s ^= s >> 17
        s ^= (s << 5) & 0xFFFFFFFF
        self.state = s
        return s / 2147483648.0 - 1.0


def hz(midi):
    return 440.0 * 2 ** ((midi - 69) / 12.0)


def note(buf, rate, start, dur, freq, partials, amp, attack=0.004, decay=0.4, release=0.05):
    """Add a note: partials are (ratio, weight, decay factor); the envelope
    is a short linear attack, an exponential decay and a release at the end
    of its duration."""
    first = int(start * rate)
    count = min(int((dur + release) * rate), len(buf) - first)
    nyquist = rate / 2.0
    parts = [(TAU * freq * r / rate, w, 1.0 / (decay * k * rate))
             for r, w, k in partials if freq * r < nyquist * 0.9]
    for i in range(count):
        t = i / rate
        env = min(1.0, t / attack) if attack else 1.0
        if t > dur:
            env *= max(0.0, 1.0 - (t - dur) / release)
        s = 0.0
        for step, w, d in parts:
            s += w * math.exp(-i * d) * math.sin(step * i)
        buf[first + i] += amp * env * s


MALLET = [(1, 1.0, 1.0), (3.98, 0.25, 0.25), (9.9, 0.05, 0.1)]
BELL = [(1, 1.0, 1.0), (2.0, 0.35, 0.6), (3.0, 0.12, 0.4), (4.2, 0.1, 0.25), (5.4, 0.04, 0.2)]
BASS = [(1, 1.0, 1.0), (2, 0.3, 0.6), (3, 0.1, 0.4)]
PAD = [(1, 1.0, 100.0), (2, 0.2, 100.0), (1.004, 0.8, 100.0)]


def _chord_tones(root, minor):
    return [root, root + (3 if minor else 4), root + 7]


def tune(rate, frames, beat, key, chords, melody, flourish=(), bright=1.0):
    """A short piece: flowing mallet arpeggios over bass and a pad on each
    chord, a bell melody on top; chords are (root offset, minor, beats),
    melody notes (offset, beats), all offsets in semitones from the key note.
    The bass lies an octave below the key note, pad and mallets an octave
    above it, the melody and the flourish higher still."""
    buf = [0.0] * frames
    lead_in = len(flourish) * beat / 4
    for i, m in enumerate(flourish):
        note(buf, rate, i * beat / 4, beat * 1.5, hz(key + 24 + m), BELL, 0.22 * bright,
             decay=0.6)
    t = lead_in
    for n, (off, minor, beats) in enumerate(chords):
        root = key + off
        tones = _chord_tones(root, minor)
        last = n == len(chords) - 1
        length = beats * beat
        ring = frames / rate - t if last else length
        note(buf, rate, t, ring - 0.1, hz(root - 12), BASS, 0.45, attack=0.02, decay=1.2,
             release=0.1)
        for p in tones:
            note(buf, rate, t, ring - 0.3, hz(p + 12), PAD, 0.06, attack=0.25, decay=100.0,
                 release=0.3)
        if last:
            for k, p in enumerate(tones + [root + 12]):
                note(buf, rate, t + 0.04 * k, ring - 0.2, hz(p + 12), MALLET, 0.2, decay=0.9)
        else:
            pattern = [0, 7, 12, tones[1] - root + 12, 12, 7, tones[1] - root, 7]
            for k in range(int(beats * 2)):
                p = root + 12 + pattern[k % len(pattern)]
                note(buf, rate, t + k * beat / 2, beat / 2, hz(p), MALLET,
                     0.22 if k % 2 == 0 else 0.16, decay=0.3)
        t += length
    t = lead_in
    for m, beats in melody:
        note(buf, rate, t, beats * beat, hz(key + 12 + m), BELL, 0.26 * bright,
             decay=0.5 + 0.25 * beats, release=0.08)
        t += beats * beat
    return buf


def room(samples, rate, wet=0.25):
    """A small room: four damped feedback combs in parallel, then two
    all-pass stages (Schroeder's reverberator), mixed under the dry sound."""
    combs = []
    for ms in (29.7, 37.1, 41.1, 43.7):
        n = int(rate * ms / 1000)
        line, pos, low, out = [0.0] * n, 0, 0.0, []
        for x in samples:
            y = line[pos]
            low = 0.7 * y + 0.3 * low
            line[pos] = x + 0.78 * low
            pos = (pos + 1) % n
            out.append(y)
        combs.append(out)
    tail = [a + b + c + d for a, b, c, d in zip(*combs)]
    for ms in (5.0, 1.7):
        n = int(rate * ms / 1000)
        line, pos, out = [0.0] * n, 0, []
        for x in tail:
            y = line[pos]
            v = x + 0.5 * y
            line[pos] = v
            out.append(y - 0.5 * v)
            pos = (pos + 1) % n
        tail = out
    return [x + wet * 0.25 * y for x, y in zip(samples, tail)]


def new_game(rate, frames):
    # C major: C, Am, F, G, and home to C.
    chords = [(0, False, 4), (-3, True, 4), (5, False, 4), (7, False, 4), (0, False, 4)]
    melody = [(16, 2), (19, 2), (21, 2), (16, 1), (12, 1), (17, 2), (21, 1), (19, 1),
              (19, 1), (23, 1), (26, 2), (24, 4)]
    return room(tune(rate, frames, 0.5, 48, chords, melody), rate)


def round_won(rate, frames):
    # G major with a rising flourish: G, Em, C, D, and home to G.
    chords = [(0, False, 4), (-3, True, 4), (5, False, 4), (7, False, 4), (0, False, 4)]
    melody = [(19, 1.5), (16, 0.5), (12, 1), (16, 1), (19, 1.5), (21, 0.5), (19, 2),
              (17, 1), (21, 1), (24, 2), (23, 1), (21, 1), (19, 1), (21, 1), (24, 4)]
    flourish = [7, 11, 14, 19]
    return room(tune(rate, frames, 0.47, 43, chords, melody, flourish, bright=1.1), rate)


def click(rate, frames):
    noise = Noise(7)
    out = []
    for i in range(frames):
        t = i / rate
        s = 0.7 * math.exp(-t / 0.004) * math.sin(TAU * 1900 * t)
        s += 0.3 * math.exp(-t / 0.0025) * math.sin(TAU * 3100 * t)
        s += 0.15 * math.exp(-t / 0.0012) * noise()
        out.append(s)
    return out


def _bandpass(samples, rate, centre, q):
    """A state-variable band-pass whose centre may change per sample."""
    low = band = 0.0
    out = []
    for i, x in enumerate(samples):
        f = 2 * math.sin(math.pi * min(centre(i), rate / 6.0) / rate)
        high = x - low - band / q
        band += f * high
        low += f * band
        out.append(band)
    return out


def minimise(rate, frames):
    noise = Noise(11)
    raw = [noise() for _ in range(frames)]
    sweep = _bandpass(raw, rate, lambda i: 1800 * (1 - i / frames) ** 2 + 200, 1.8)
    return [s * math.sin(math.pi * i / frames) ** 1.5 for i, s in enumerate(sweep)]


def ball(rate, frames):
    """Stereo: a woody tap, a little brighter on the right."""
    noise = Noise(3)
    left, right = [], []
    for i in range(frames):
        t = i / rate
        body = math.exp(-t / 0.045) * math.sin(TAU * 880 * t)
        overtone = math.exp(-t / 0.015) * math.sin(TAU * 3520 * t)
        tick = math.exp(-t / 0.0015) * noise()
        left.append(body + 0.15 * overtone + 0.1 * tick)
        right.append(body + 0.25 * overtone + 0.1 * tick)
    return [v for pair in zip(left, right) for v in pair]


def time_up(rate, frames):
    """A falling 'wah, wah, wah, waah' on a soft brass-like tone."""
    buf = [0.0] * frames
    phrase = [(0.0, 0.36, 67), (0.42, 0.36, 66), (0.84, 0.36, 65), (1.26, 0.75, 64)]
    for start, dur, midi in phrase:
        first = int(start * rate)
        count = min(int((dur + 0.06) * rate), frames - first)
        phase = 0.0
        for i in range(count):
            t = i / rate
            vib = 1 + (0.012 * math.sin(TAU * 5.5 * t) * min(1, t / 0.3) if dur > 0.5 else 0)
            f = hz(midi - 12) * vib
            phase += TAU * f / rate
            env = min(1.0, t / 0.03) * (1 - 0.35 * t / dur if t < dur else 0.65 * max(
                0.0, 1 - (t - dur) / 0.06))
            bright = 0.45 + 0.55 * math.sin(math.pi * min(1.0, t / dur)) ** 0.5
            s = 0.0
            for h in range(1, 9):
                if f * h < rate * 0.42:
                    s += math.sin(h * phase) * (bright ** (h - 1)) / h
            buf[first + i] += env * s
    return buf


def hidden(rate, frames):
    """Three quick falling chimes: the board has gone."""
    buf = [0.0] * frames
    for k, midi in enumerate((88, 83, 76)):
        note(buf, rate, 0.09 * k, 0.3, hz(midi), BELL, 1.0 - 0.15 * k, attack=0.002,
             decay=0.18, release=0.2)
    return buf


def alert(rate, frames):
    buf = [0.0] * frames
    note(buf, rate, 0.0, 0.12, hz(69), MALLET, 1.0, decay=0.12, release=0.07)
    note(buf, rate, 0.0, 0.12, hz(76), MALLET, 0.5, decay=0.1, release=0.07)
    return buf


MAKERS = {"click": click, "minimise": minimise, "round-won": round_won,
          "new-game": new_game, "ball": ball, "time-up": time_up, "hidden": hidden,
          "alert": alert}
# Peak level of each sound (the rest 0.7), set so that they sound about as
# loud as each other.
PEAKS = {"round-won": 0.8, "new-game": 0.8, "click": 0.6, "ball": 0.6, "time-up": 0.55}


def _shape(samples, rate, channels, peak):
    """Scale to the peak and fade both ends so that nothing clicks."""
    top = max(abs(s) for s in samples) or 1.0
    n = len(samples) // channels
    fade_in = max(2, int(0.0015 * rate))
    fade_out = max(4, min(n // 4, int(0.03 * rate)))
    out = []
    for i, s in enumerate(samples):
        f = i // channels
        g = min(1.0, f / fade_in, (n - 1 - f) / fade_out)
        out.append(s / top * peak * max(0.0, g))
    return out


def wav_bytes(samples, channels, rate, bits):
    """RIFF/WAVE with a 16-byte PCM format chunk and a data chunk, padded to
    an even size as RIFF requires."""
    if bits == 8:
        data = bytes(max(0, min(255, 128 + round(s * 127))) for s in samples)
    else:
        data = struct.pack("<%dh" % len(samples),
                           *(max(-32767, min(32767, round(s * 32767))) for s in samples))
    align = channels * bits // 8
    fmt = struct.pack("<HHIIHH", 1, channels, rate, rate * align, align, bits)
    body = b"WAVE" + b"fmt " + struct.pack("<I", 16) + fmt + b"data" + struct.pack(
        "<I", len(data)) + data + (b"\0" if len(data) % 2 else b"")
    return b"RIFF" + struct.pack("<I", len(body)) + body


def make(name):
    channels, rate, bits, size = FORMATS.get(name, ALERT)
    frames = size // (channels * bits // 8)
    samples = _shape(MAKERS[name](rate, frames), rate, channels, PEAKS.get(name, 0.7))
    return wav_bytes(samples, channels, rate, bits)
