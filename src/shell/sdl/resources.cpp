#include "resources.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

std::uint32_t le32(const unsigned char *p) {
  return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
}

void putLe32(unsigned char *p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = (v >> 8 * i) & 0xFF;
}

}  // namespace

SDL_RWops *openResource(int id) {
  const Blob blob = resource(id);
  return blob.size ? SDL_RWFromConstMem(blob.data, int(blob.size)) : nullptr;
}

SDL_Surface *loadBitmap(int id) {
  SDL_RWops *in = openResource(id);
  return in ? SDL_LoadBMP_RW(in, 1) : nullptr;
}

// An icon file holds, for its first image, a bitmap without its file header
// whose height counts the colour rows and the 1-bit mask rows below them.
// SDL reads the colour rows once a file header is put in front and the height
// halved; the mask then becomes the alpha channel.
SDL_Surface *loadIcon(int id) {
  const Blob ico = resource(id);
  constexpr std::size_t kDirSize = 6, kEntrySize = 16, kFileHeader = 14;
  if (ico.size < kDirSize + kEntrySize) return nullptr;
  const std::uint32_t size = le32(ico.data + kDirSize + 8);
  const std::uint32_t offset = le32(ico.data + kDirSize + 12);
  if (offset > ico.size || size > ico.size - offset || size < 40)
    return nullptr;
  const unsigned char *dib = ico.data + offset;
  const int width = int(le32(dib + 4)), height = int(le32(dib + 8)) / 2;
  const int bits = dib[14] | dib[15] << 8;
  const std::uint32_t colours = le32(dib + 32);
  const std::uint32_t palette = 4 * (colours     ? colours
                                     : bits <= 8 ? 1u << bits
                                                 : 0);
  const std::uint32_t pixels = 40 + palette;
  const std::uint32_t colourBytes = ((width * bits + 31) / 32) * 4 * height;
  const std::uint32_t maskStride = ((width + 31) / 32) * 4;
  if (width <= 0 || height <= 0 || pixels + colourBytes > size) return nullptr;

  std::vector<unsigned char> bmp(kFileHeader + pixels + colourBytes);
  bmp[0] = 'B';
  bmp[1] = 'M';
  putLe32(&bmp[2], std::uint32_t(bmp.size()));
  putLe32(&bmp[10], kFileHeader + pixels);
  std::memcpy(&bmp[kFileHeader], dib, pixels + colourBytes);
  putLe32(&bmp[kFileHeader + 8], std::uint32_t(height));
  SDL_Surface *read =
      SDL_LoadBMP_RW(SDL_RWFromConstMem(bmp.data(), int(bmp.size())), 1);
  if (!read) return nullptr;
  SDL_Surface *icon =
      SDL_ConvertSurfaceFormat(read, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(read);
  const bool masked =
      bits < 32 && pixels + colourBytes + maskStride * height <= size;
  if (!icon || !masked) return icon;

  const unsigned char *mask = dib + pixels + colourBytes;
  for (int y = 0; y < height; ++y) {
    const unsigned char *row = mask + maskStride * (height - 1 - y);
    auto *out = reinterpret_cast<std::uint32_t *>(
        static_cast<unsigned char *>(icon->pixels) + y * icon->pitch);
    for (int x = 0; x < width; ++x)
      if (row[x / 8] & 0x80 >> x % 8) out[x] &= 0x00FFFFFF;
  }
  return icon;
}
