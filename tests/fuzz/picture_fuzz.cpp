// What a ball file goes through before the Linux program draws it: the
// shared check, then, for a file it accepts, SDL's decoder, the conversion
// to the window's format and the stretch onto a place at both scales, as
// draw.cpp does. A file the check accepts must decode and draw, and drawing
// must stay inside the place.
#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "picture.h"

namespace {

constexpr int kPlace = 48;  // a place's side at scale 1
constexpr int kMargin = 3;  // window pixels around the place, watched

[[noreturn]] void fail(const char *what) {
  std::fprintf(stderr, "accepted file: %s: %s\n", what, SDL_GetError());
  std::abort();
}

// The picture onto a place in a window of the given format: the smooth
// stretch, else the plain scaled blit, and that blit once more, which is
// what scale 1 draws. Both draw a copy in the window's format: SDL scales
// no palettized picture onto another format.
void draw(SDL_Surface *picture, Uint32 format, int scale) {
  const int side = kPlace * scale, around = side + 2 * kMargin;
  SDL_Surface *window =
      SDL_CreateRGBSurfaceWithFormat(0, around, around, 32, format);
  if (!window) fail("window");
  const Uint32 mark = SDL_MapRGB(window->format, 255, 0, 255);
  SDL_FillRect(window, nullptr, mark);
  SDL_Rect rect{kMargin, kMargin, side, side};
  SDL_Surface *same = SDL_ConvertSurface(picture, window->format, 0);
  if (!same) fail("conversion");
  if (SDL_SoftStretchLinear(same, nullptr, window, &rect) != 0 &&
      SDL_BlitScaled(same, nullptr, window, &rect) != 0)
    fail("stretch");
  if (SDL_BlitScaled(same, nullptr, window, &rect) != 0) fail("blit");
  SDL_FreeSurface(same);
  const auto *pixels = static_cast<const Uint32 *>(window->pixels);
  for (int y = 0; y < around; ++y)
    for (int x = 0; x < around; ++x) {
      const bool inside = x >= kMargin && x < kMargin + side && y >= kMargin &&
                          y < kMargin + side;
      if (!inside && pixels[y * window->pitch / 4 + x] != mark)
        fail("drawn outside the place");
    }
  SDL_FreeSurface(window);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data,
                                      std::size_t size) {
  // The program reads no larger file.
  if (std::int64_t(size) > kPictureFileBytes) return 0;
  if (!pictureReadable(data, size)) return 0;
  SDL_Surface *picture = SDL_LoadBMP_RW(SDL_RWFromConstMem(data, int(size)), 1);
  if (!picture) fail("not decoded");
  for (Uint32 format : {SDL_PIXELFORMAT_ARGB8888, SDL_PIXELFORMAT_XRGB8888})
    for (int scale : {1, 2}) draw(picture, format, scale);
  SDL_FreeSurface(picture);
  return 0;
}
