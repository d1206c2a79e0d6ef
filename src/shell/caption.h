// How a caption drawn at run time, or a static's text, fits its room, for
// every front end alike: at its own size if it can; else narrowed, down to
// kCaptionNarrowest of its width; else a pixel (of 1x) smaller at a time,
// down to kCaptionFloor.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>

#include "layout.h"

struct CaptionFit {
  double size;    // device pixels
  double narrow;  // the width kept, 1 for none
  bool fits;      // false: even the floor's narrowest is too wide
};

// width(size) gives the words' natural width in device pixels at a size in
// device pixels; size and room are in device pixels, scale the device's
// pixels per pixel of 1x.
template <class Width>
CaptionFit fitWords(double size, double room, double scale, Width width) {
  double w = width(size);
  for (;;) {
    if (w <= room) return {size, 1, true};
    if (w * kCaptionNarrowest <= room) return {size, room / w, true};
    if (size <= kCaptionFloor * scale + 1e-9)
      return {size, kCaptionNarrowest, false};
    size = std::max(size - scale, kCaptionFloor * scale);
    w = width(size);
  }
}

// Says on the standard error that words did not fit their room, for the
// translator: they were drawn at the floor's size, narrowed, and clipped.
inline void reportMisfit(const std::string &words) {
  std::fprintf(stderr, "quintara: \"%s\" does not fit its room\n",
               words.c_str());
}

template <class Width>
CaptionFit fitCaption(const Caption &c, double room, double scale,
                      Width width) {
  return fitWords(c.size * scale, room, scale, width);
}

// Where a caption's words sit in the room their width leaves: 0 at its
// left, 1 at its right. A language read right to left reads from the
// room's right edge.
inline double captionAlignment(const Caption &c, bool rightToLeft) {
  if (c.align == CaptionAlign::Middle) return 0.5;
  return c.align == CaptionAlign::End || rightToLeft ? 1 : 0;
}
