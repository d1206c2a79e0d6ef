// A bare SDL2 window of the game's size and place, filled with one colour:
// the yardstick for the game's start-up. Arguments: x y w h r g b.
#include <SDL.h>

#include <cstdlib>

int main(int argc, char **argv) {
  // As the game: the surface goes to the X server without OpenGL.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (argc != 8 || SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  int v[7];
  for (int i = 0; i < 7; ++i) v[i] = atoi(argv[i + 1]);
  SDL_Window *w = SDL_CreateWindow("bare", v[0], v[1], v[2], v[3],
                                   SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
  SDL_Surface *s = w ? SDL_GetWindowSurface(w) : nullptr;
  if (!s) return 1;
  SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, v[4], v[5], v[6]));
  SDL_ShowWindow(w);
  SDL_UpdateWindowSurface(w);
  SDL_Event e;
  while (SDL_WaitEvent(&e) && e.type != SDL_QUIT) {
  }
  SDL_Quit();
  return 0;
}
