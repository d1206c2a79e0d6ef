// The factor the window is drawn at on a dense screen: every position, size,
// font and picture times this whole number; and the face it shows.
#pragma once

#include "layout.h"

constexpr int kMaxScale = 4;

// From the settings' texts, each nullptr when unset: QUINTARA_SCALE when it
// is a whole number 1..kMaxScale, else the desktop's GDK_SCALE when it is a
// whole number of at least 1, else the X resource Xft.dpi over 96 rounded;
// at most kMaxScale, and 1 when nothing says more.
int chooseScale(const char *own, const char *gdk, const char *xftDpi);

// scale, made smaller until the face fits a screen of screenW x screenH
// pixels (1 at least): a window larger than its screen could not be played.
int fitScreen(int scale, int screenW, int screenH,
              const Face &face = kLandscape);

// The upright face on a screen held upright that is narrower than the
// window at scale (a phone's), else the window's own.
const Face &faceFor(int scale, int screenW, int screenH);

struct Fit {
  int scale;
  const Face &face;
};
// The factor from the environment and the X server's resources and the
// face for the first screen, fitted to it. Needs SDL's video started.
Fit desktopFit();
