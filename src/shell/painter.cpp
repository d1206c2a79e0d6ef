#include "painter.h"

#include <cmath>

#include "caption.h"
#include "cursor.h"
#include "fallback.h"
#include "language.h"
#include "state.h"
#include "texts.h"

namespace {

constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255};

Rgb body(int value) {
  const unsigned char *c = kBallBody[value];
  return {c[0], c[1], c[2]};
}

int device(const Canvas &canvas, double v) {
  return static_cast<int>(std::lround(v * canvas.scale()));
}

Stretch stretchAt(const Canvas &canvas) {
  return canvas.scale() == 1 ? Stretch::Exact : Stretch::Smooth;
}

// One of the face's own pictures.
void picture(Canvas &canvas, const Face &face, int id, const Box &box) {
  canvas.picture(face.picture(id), box, stretchAt(canvas));
}

// The keyboard cursor's ring over place c, each band a frame of lines one
// pixel of the control table wide.
void ring(Canvas &canvas, const Control &c) {
  ringFrames(c.x, c.y, c.w, c.h, [&](int x, int y, int w, int h, int grey) {
    const Rgb colour = grey ? kWhite : kBlack;
    for (const Box line : {Box{x, y, w, 1},
                           {x, y + h - 1, w, 1},
                           {x, y, 1, h},
                           {x + w - 1, y, 1, h}})
      canvas.fill(onDevice(canvas, line.x, line.y, line.w, line.h), colour);
  });
}

// What a place shows when its picture cannot be read: the empty cell, and
// for a colour a plain disc of the ball's body colour with its number, so
// that the board stays playable. The disc is laid out in device pixels, so
// that it is round at any scale.
void standIn(Canvas &canvas, const Control &c, int value) {
  const Box cell = onDevice(canvas, c);
  canvas.fill(cell, body(0));
  if (!value) return;
  fallbackDisc(device(canvas, c.x + c.w / 2.0), device(canvas, c.y + c.h / 2.0),
               device(canvas, kDiscRadius), [&](int x, int y, int w) {
                 canvas.fill({x, y, w, 1}, body(value));
               });
  canvas.text(cell, Typeface::Gui, std::string(1, char('0' + value)),
              fallbackInkIsBlack(value) ? kBlack : kWhite, Align::Centre);
}

// The core's image path, whose folders are separated as on Windows, with
// the separator every other platform takes.
std::string portable(std::string path) {
  for (char &ch : path)
    if (ch == '\\') ch = '/';
  return path;
}

void finishPlace(Canvas &canvas, const Control &c, const std::string &path,
                 bool ringed, bool drawn) {
  if (!drawn) standIn(canvas, c, pathValue(path));
  if (ringed) ring(canvas, c);
}

Rgb rgb(unsigned c) {
  return {static_cast<unsigned char>(c >> 16),
          static_cast<unsigned char>(c >> 8), static_cast<unsigned char>(c)};
}

// The captions on button (0: on the face itself), moved by (dx, dy).
void captions(Canvas &canvas, const Face &face, int button, int dx, int dy) {
  for (int n = 0; n < face.captionCount; ++n)
    if (face.captions[n].button == button)
      paintCaption(canvas, face.captions[n], dx, dy);
}

void draw(Canvas &canvas, int i, const Looks &looks) {
  const Face &face = *looks.face;
  const Control &c = face.controls[i];
  const bool pressed = looks.held == i;
  const int k = placeOf(c.id);
  const int skin = pressed ? skinPressed(c.id) : skinNormal(c.id);
  switch (c.kind) {
    case ControlKind::SkinnedButton:
      picture(canvas, face, looks.words ? skin : bareOf(skin),
              onDevice(canvas, c));
      if (!looks.words)
        captions(canvas, face, c.id, c.x + pressed, c.y + pressed);
      break;
    case ControlKind::Place:
      paintPlace(canvas, c, *looks.paths[k - 1], looks.cursor == k);
      break;
    case ControlKind::Static:
      // A view that keeps the statics' texts shows their boxes too.
      if (looks.texts) paintStatic(canvas, c, looks.texts[i]);
      break;
    case ControlKind::CheckBox:
      paintCheckBox(canvas, face, c, looks.ticked,
                    !looks.boxEnabled ? BoxLook::Disabled
                    : pressed         ? BoxLook::Held
                                      : BoxLook::Normal,
                    looks.words);
      break;
  }
}

}  // namespace

Box onDevice(const Canvas &canvas, int x, int y, int w, int h) {
  const int left = device(canvas, x), top = device(canvas, y);
  return {left, top, device(canvas, x + w) - left, device(canvas, y + h) - top};
}

Box onDevice(const Canvas &canvas, const Control &c) {
  return onDevice(canvas, c.x, c.y, c.w, c.h);
}

void paintPlace(Canvas &canvas, const Control &c, const std::string &path,
                bool ringed) {
  const Loaded loaded = canvas.ball(placeOf(c.id), portable(path),
                                    onDevice(canvas, c), stretchAt(canvas));
  if (loaded != Loaded::Later)
    finishPlace(canvas, c, path, ringed, loaded == Loaded::Drawn);
}

void placeLoaded(Canvas &canvas, int i, const Looks &looks, bool drawn) {
  const Control &c = looks.face->controls[i];
  const int k = placeOf(c.id);
  finishPlace(canvas, c, *looks.paths[k - 1], looks.cursor == k, drawn);
}

// A blank text leaves its box blank.
void paintStatic(Canvas &canvas, const Control &c, const std::string &text) {
  const Box box = onDevice(canvas, c);
  canvas.fill(box, kWhite);
  if (!text.empty())
    canvas.text(box, c.id == ID_STATUS ? Typeface::Gui : Typeface::System, text,
                kBlack, rightToLeft() ? Align::TopRight : Align::TopLeft);
}

void paintCheckBox(Canvas &canvas, const Face &face, const Control &c,
                   bool ticked, BoxLook look, bool words) {
  const int id = checkBoxPicture(ticked, int(look));
  picture(canvas, face, words ? id : bareOf(id), onDevice(canvas, c));
}

bool paintCaption(Canvas &canvas, const Caption &c, double dx, double dy) {
  const double scale = canvas.scale();
  const std::string words = formatText(text(Text(c.text)), 0, PROGRAM_VERSION);
  const CaptionFit fit = fitCaption(c, c.w * scale, scale, [&](double size) {
    return canvas.captionWidth(c.font, size, words);
  });
  const double width =
      canvas.captionWidth(c.font, fit.size, words) * fit.narrow;
  const double x = (c.x + dx) * scale +
                   (c.w * scale - width) * captionAlignment(c, rightToLeft());
  const double y = (c.y + dy + c.baseline) * scale;
  if (c.shadow != kNoShadow)
    canvas.caption(x + 0.7 * scale, y + 0.7 * scale, c.font, fit.size,
                   fit.narrow, words, rgb(c.shadow));
  canvas.caption(x, y, c.font, fit.size, fit.narrow, words, rgb(c.ink));
  if (!fit.fits) reportMisfit(words);
  return fit.fits;
}

void paintControl(Canvas &canvas, int i, const Looks &looks) {
  draw(canvas, i, looks);
  canvas.show(onDevice(canvas, looks.face->controls[i]));
}

void paintWindow(Canvas &canvas, const Looks &looks) {
  const Box all = onDevice(canvas, 0, 0, looks.face->w, looks.face->h);
  picture(canvas, *looks.face, looks.words ? BMP_FACE : bareOf(BMP_FACE), all);
  if (!looks.words) captions(canvas, *looks.face, 0, 0, 0);
  for (int i = 0; i < CONTROL_COUNT; ++i) draw(canvas, i, looks);
  canvas.show(all);
}
