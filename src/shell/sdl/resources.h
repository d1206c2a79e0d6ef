// The pictures and sounds the executable carries, under the Windows
// program's resource ids.
#pragma once

#include <SDL.h>

#include <cstddef>

#include "layout.h"

struct Blob {
  const unsigned char *data;
  std::size_t size;
};

// The bytes of resource id; {nullptr, 0} when the executable has none.
Blob resource(int id);
// Bitmap resource id as a new surface, or nullptr.
SDL_Surface *loadBitmap(int id);
// A reader over resource id for SDL's loaders, or nullptr.
SDL_RWops *openResource(int id);
