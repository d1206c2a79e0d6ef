// How every control looks, decided once for the front ends that draw their
// own (Linux and web): the face, the skins up and pressed, the places with
// their pictures or stand-ins and the keyboard cursor's ring, the statics'
// text in their boxes and the check box's six looks. The painter works out
// what goes where in device pixels from the state it is handed and draws
// through a Canvas, which each of those front ends implements in a few calls
// of its platform.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>

#include "layout.h"

// A rectangle of device pixels.
struct Box {
  int x, y, w, h;
};

struct Rgb {
  unsigned char r, g, b;
};

// The status line's font (the Windows GUI font) and the other statics' (the
// bold System font); the stand-in's number is in the first.
enum class Typeface { Gui, System };

// Text from the box's top left or (in a language read right to left) top
// right corner, or centred in it; clipped to it.
enum class Align { TopLeft, TopRight, Centre };

// A picture of another size than its box: stretched pixel by pixel (at 1x,
// as the Windows program does) or smoothly (at any other scale).
enum class Stretch { Exact, Smooth };

// Whether a ball file is on the canvas: drawn, unreadable, or still loading
// (the front end then calls placeLoaded when it knows).
enum class Loaded { Drawn, Missing, Later };

// The drawing primitives, in device pixels: all the painter asks of a
// front end to paint.
class Canvas {
 public:
  // Device pixels per pixel of the control table: 1, 2, or any ratio.
  virtual double scale() const = 0;
  // Picture resource id, from the artwork of the canvas's scale, over box.
  virtual void picture(int id, const Box &box, Stretch how) = 0;
  // The ball file at path (relative to the current folder or the site,
  // with '/' between folders) over box; k is its place, which the front end
  // names again when a Loaded::Later file has loaded.
  virtual Loaded ball(int k, const std::string &path, const Box &box,
                      Stretch how) = 0;
  virtual void fill(const Box &box, Rgb colour) = 0;
  virtual void text(const Box &box, Typeface font, const std::string &text,
                    Rgb ink, Align align) = 0;
  // A caption's natural width at size (both in device pixels).
  virtual double captionWidth(CaptionFont font, double size,
                              const std::string &text) = 0;
  // A caption at size, narrowed to narrow of its width, its baseline's left
  // end at (x, y), in device pixels.
  virtual void caption(double x, double y, CaptionFont font, double size,
                       double narrow, const std::string &text, Rgb ink) = 0;
  // Puts what was drawn in box on the screen.
  virtual void show(const Box &box) = 0;

 protected:
  ~Canvas() = default;
};

// The nearest scale of carried artwork at or above scale, at most the
// largest carried.
inline int artworkScale(double scale) {
  int n = static_cast<int>(scale);
  if (n < scale) ++n;
  return n < 1 ? 1 : n > ARTWORK_SCALES ? ARTWORK_SCALES : n;
}

// The game's own ball picture whose file holds exactly these bytes, as its
// resource id, or 0: one the program carries at every scale. carried(id)
// gives the {data, size} of what the program carries of it, which lacks the
// file's first header bytes where the platform keeps bitmaps without their
// file header.
template <class Carried>
int ownBall(const unsigned char *file, std::size_t size, std::size_t header,
            Carried carried) {
  for (const bool sport : {false, true})
    for (int n = 0; n < 8; ++n) {
      const int id = ballPicture(sport, n);
      const auto [data, length] = carried(id);
      if (data && length + header == size &&
          std::equal(data, data + length, file + header))
        return id;
    }
  return 0;
}

// The control table's rectangle (x, y, w, h) in device pixels; edges are
// rounded alike, so neighbours still meet at any scale.
Box onDevice(const Canvas &canvas, int x, int y, int w, int h);
Box onDevice(const Canvas &canvas, const Control &c);

enum class BoxLook { Normal, Held, Disabled };  // as checkBoxPicture numbers

// Every picture of a face's carried artwork the painter may draw, by
// resource id with its words and without them (where the front end draws
// the captions), and whether it is a pressed look (drawn only while a
// control is held).
template <class Each>
void everyArtwork(const Face &face, Each each) {
  const auto art = [&](int id, bool pressed) {
    each(face.picture(id), face.picture(bareOf(id)), pressed);
  };
  art(BMP_FACE, false);
  for (const Control &c : kControls)
    if (c.kind == ControlKind::SkinnedButton) {
      art(skinNormal(c.id), false);
      art(skinPressed(c.id), true);
    }
  for (const bool ticked : {false, true})
    for (int look = 0; look < 3; ++look)
      art(checkBoxPicture(ticked, look), look == int(BoxLook::Held));
}

// Everything the controls' looks depend on, from the core and the front end.
struct Looks {
  const Face *face = &kLandscape;
  int held = -1;  // the control drawn pressed, by index in kControls
  bool boxEnabled = true;
  bool ticked = false;  // the check box's mark: the sport set is in play
  int cursor = 0;       // the place with the keyboard cursor's ring, or 0
  // The statics' texts, by index; nullptr where the front end shows them
  // itself, over their blank boxes.
  const std::string *texts = nullptr;
  const std::string *paths[PLACES] = {};  // place k's image path at k - 1
  // Whether the pictures carry their captions (English), or the painter
  // draws them over the caption-free ones.
  bool words = true;
};

// Control i (an index in kControls) as it looks now, put on the screen.
void paintControl(Canvas &canvas, int i, const Looks &looks);
// The face and every control, put on the screen.
void paintWindow(Canvas &canvas, const Looks &looks);
// Place control i once its file has loaded (drawn) or failed to.
void placeLoaded(Canvas &canvas, int i, const Looks &looks, bool drawn);

// Each look on its own.
void paintPlace(Canvas &canvas, const Control &c, const std::string &path,
                bool ringed = false);
void paintStatic(Canvas &canvas, const Control &c, const std::string &text);
void paintCheckBox(Canvas &canvas, const Face &face, const Control &c,
                   bool ticked, BoxLook look, bool words = true);
// A caption in the language in use, its room moved by (dx, dy) pixels of
// 1x; whether it fits.
bool paintCaption(Canvas &canvas, const Caption &c, double dx, double dy);
