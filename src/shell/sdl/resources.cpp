#include "resources.h"

SDL_RWops *openResource(int id) {
  const Blob blob = resource(id);
  return blob.size ? SDL_RWFromConstMem(blob.data, int(blob.size)) : nullptr;
}

SDL_Surface *loadBitmap(int id) {
  SDL_RWops *in = openResource(id);
  return in ? SDL_LoadBMP_RW(in, 1) : nullptr;
}
