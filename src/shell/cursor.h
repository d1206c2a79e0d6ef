// The keyboard cursor as every front end draws it: a ring over the picture
// of the place the keys act on, shown from an arrow key to the next click.
#pragma once

#include "layout.h"
#include "state.h"

// The ring over the rectangle (x, y, w, h), as frame(x, y, w, h, grey)
// calls, each a frame one pixel wide, from the outside in.
template <class Frame>
void ringFrames(int x, int y, int w, int h, Frame frame) {
  for (int i = 0; i < CURSOR_BLACK + CURSOR_WHITE; ++i)
    frame(x + i, y + i, w - 2 * i, h - 2 * i, i < CURSOR_BLACK ? 0 : 255);
}

// The ring over place k's rectangle when the cursor is shown there.
template <class Frame>
void drawCursorRing(int k, int x, int y, int w, int h, Frame frame) {
  if (cursorShown && cursor == k) ringFrames(x, y, w, h, frame);
}
