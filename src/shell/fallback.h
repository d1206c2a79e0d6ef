// What every front end draws on a place whose ball picture cannot be read:
// the empty cell and, for a colour, a plain disc of the ball's body colour
// (kBallBody) with its number, so that the board stays playable.
#pragma once

#include "ball_colors.h"

// The disc's radius in pixels at 1x.
constexpr int kDiscRadius = 20;

// The disc of radius r pixels centred on (cx, cy), as rows: row(x, y, w)
// fills w pixels from (x, y).
template <class Row>
void fallbackDisc(int cx, int cy, int r, Row row) {
  for (int dy = -r; dy < r; ++dy) {
    int half = 0;
    while ((half + 0.5) * (half + 0.5) + (dy + 0.5) * (dy + 0.5) <= r * r)
      ++half;
    row(cx - half, cy + dy, 2 * half);
  }
}

// Whether the number goes in black (on a light disc) rather than white.
inline bool fallbackInkIsBlack(int value) {
  const unsigned char *c = kBallBody[value];
  return 299 * c[0] + 587 * c[1] + 114 * c[2] > 128000;
}
