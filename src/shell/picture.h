// Whether the bytes of a ball picture file make a bitmap both front ends can
// draw in full. Anything else gets the stand-in disc of fallback.h, decided
// here before a decoder sees the file: a header may claim any size, and the
// decoders draw a damaged file as a black square or not at all.
#pragma once

#include <cstddef>
#include <cstdint>

// The largest picture drawn, in pixels; each draw decodes the whole file.
constexpr std::int64_t kPicturePixels = 4096 * 4096;
// The longest side drawn: SDL stretches none longer than 16 bits count.
constexpr std::int64_t kPictureSide = 0xFFFF;
// No readable picture within that budget needs a bigger file (32 bits a
// pixel, its header and a full palette).
constexpr std::int64_t kPictureFileBytes = 4 * kPicturePixels + 2048;

namespace picture_detail {

inline std::uint32_t le(const unsigned char *p, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

// An RLE8 or RLE4 stream of w x h pixels in data[at, size): every run stays
// in its row and below the top row, and the stream ends with its end mark.
inline bool rleFits(const unsigned char *data, std::int64_t size,
                    std::int64_t at, std::int64_t w, std::int64_t h,
                    bool four) {
  std::int64_t x = 0, y = 0;
  while (at + 2 <= size) {
    const int n = data[at], c = data[at + 1];
    at += 2;
    if (n > 0) {
      x += n;
    } else if (c == 0) {
      x = 0;
      ++y;
      continue;
    } else if (c == 1) {
      return true;
    } else if (c == 2) {
      if (at + 2 > size) return false;
      x += data[at];
      y += data[at + 1];
      at += 2;
      if (x > w || y > h) return false;
      continue;
    } else {
      const std::int64_t bytes = four ? (c + 1) / 2 : c;
      at += bytes + (bytes & 1);
      x += c;
      if (at > size) return false;
    }
    if (x > w || y >= h) return false;
  }
  return false;
}

// The colour masks of a BITFIELDS picture that both GDI and SDL draw:
// 5-5-5 or 5-6-5 in 16 bits, 8-8-8 in 32, with no alpha or all the rest.
inline bool masksKnown(const unsigned char *m, std::uint32_t alpha, int bits) {
  const std::uint32_t r = le(m, 4), g = le(m + 4, 4), b = le(m + 8, 4);
  const bool known = bits == 16 ? ((r == 0x7C00 && g == 0x03E0) ||
                                   (r == 0xF800 && g == 0x07E0)) &&
                                      b == 0x1F
                                : r == 0xFF0000 && g == 0xFF00 && b == 0xFF;
  const std::uint32_t rest =
      (bits == 16 ? 0xFFFFu : 0xFFFFFFFFu) & ~(r | g | b);
  return known && (alpha == 0 || alpha == rest);
}

// Every pixel of an uncompressed palette picture names one of its colours:
// SDL refuses a picture with one past them.
inline bool indicesFit(const unsigned char *pixels, std::int64_t w,
                       std::int64_t h, int bits, std::int64_t colours) {
  const std::int64_t stride = (w * bits + 31) / 32 * 4;
  for (std::int64_t y = 0; y < h; ++y)
    for (std::int64_t x = 0; x < w; ++x) {
      const int at = int(x * bits % 8),
                byte = pixels[y * stride + x * bits / 8];
      if ((byte >> (8 - bits - at) & ((1 << bits) - 1)) >= colours)
        return false;
    }
  return true;
}

}  // namespace picture_detail

inline bool pictureReadable(const unsigned char *data, std::size_t length) {
  using picture_detail::le;
  const auto size = static_cast<std::int64_t>(length);
  if (size < 26 || data[0] != 'B' || data[1] != 'M') return false;
  const std::int64_t offset = le(data + 10, 4), header = le(data + 14, 4);
  const bool core = header == 12;
  if (!core && (header < 40 || header > 124)) return false;
  if (14 + header > size) return false;
  const unsigned char *info = data + 14;
  const std::int64_t w =
      core ? std::int16_t(le(info + 4, 2)) : std::int32_t(le(info + 4, 4));
  const std::int64_t signedH =
      core ? std::int16_t(le(info + 6, 2)) : std::int32_t(le(info + 8, 4));
  const int planes = int(le(info + (core ? 8 : 12), 2));
  const int bits = int(le(info + (core ? 10 : 14), 2));
  const std::uint32_t compression = core ? 0 : le(info + 16, 4);
  const std::int64_t h = signedH < 0 ? -signedH : signedH;
  if (w <= 0 || h <= 0 || w > kPictureSide || h > kPictureSide || planes != 1 ||
      w * h > kPicturePixels)
    return false;

  enum { RGB, RLE8, RLE4, BITFIELDS };
  bool bitsFit = false;
  switch (compression) {
    case RGB:
      bitsFit = bits == 1 || bits == 4 || bits == 8 || bits == 16 ||
                bits == 24 || bits == 32;
      break;
    case RLE8:
    case RLE4:
      bitsFit = bits == (compression == RLE8 ? 8 : 4) && signedH > 0;
      break;
    case BITFIELDS:
      // Not after a header of 41 to 51 bytes, where GDI and SDL look for
      // the masks in different places, nor of 64 (OS/2's), where SDL
      // ignores them.
      bitsFit = (bits == 16 || bits == 32) &&
                (header == 40 || (header >= 52 && header != 64));
      break;
  }
  if (!bitsFit) return false;

  // The masks (after a 40-byte header) and the palette lie between the
  // header and the pixels.
  const std::int64_t masks = compression == BITFIELDS && header == 40 ? 12 : 0;
  const std::int64_t used = core ? 0 : le(info + 32, 4);
  const std::int64_t most = bits <= 8 ? std::int64_t(1) << bits : 0;
  if (used > most && bits <= 8) return false;
  const std::int64_t colours = bits <= 8 ? (used ? used : most) : 0;
  if (offset < 14 + header + masks + colours * (core ? 3 : 4) || offset > size)
    return false;
  if (compression == BITFIELDS &&
      !picture_detail::masksKnown(info + 40,
                                  header >= 56 ? le(info + 52, 4) : 0, bits))
    return false;
  if (compression == RLE8 || compression == RLE4)
    return picture_detail::rleFits(data, size, offset, w, h,
                                   compression == RLE4);
  if ((w * bits + 31) / 32 * 4 * h > size - offset) return false;
  return colours == most ||
         picture_detail::indicesFit(data + offset, w, h, bits, colours);
}
