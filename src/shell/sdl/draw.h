// The painter's canvas on an SDL surface: the carried artwork, the ball
// files read and checked at every draw, and the statics' two fonts.
#pragma once

#include <SDL.h>

#include <string>

#include "painter.h"

// Everything is drawn at a whole scale: positions and sizes are the
// control table's (1x) times it, fonts and pictures made for it. Opens the
// fonts of the statics and of the stand-in balls' numbers at that scale;
// false when one could not be opened (its texts are then left out).
bool openDrawing(int scale = 1);
void closeDrawing();
int drawingScale();

// Whether text fits static c in its font as it is; and at all, narrowed or
// made smaller as a text too long is.
bool textFits(const Control &c, const std::string &text);
bool textFitted(const Control &c, const std::string &text);

// Draws on a window's surface and shows on the window, or on a surface of
// its own that nothing shows.
class SurfaceCanvas final : public Canvas {
 public:
  explicit SurfaceCanvas(SDL_Window *window) : window_(window) {}
  explicit SurfaceCanvas(SDL_Surface *surface) : surface_(surface) {}

  double scale() const override;
  void picture(int id, const Box &box, Stretch how) override;
  Loaded ball(int k, const std::string &path, const Box &box,
              Stretch how) override;
  void fill(const Box &box, Rgb colour) override;
  void text(const Box &box, Typeface font, const std::string &text, Rgb ink,
            Align align) override;
  double captionWidth(CaptionFont font, double size,
                      const std::string &text) override;
  void caption(double x, double y, CaptionFont font, double size, double narrow,
               const std::string &text, Rgb ink) override;
  void show(const Box &box) override;

 private:
  SDL_Surface *target() const;

  SDL_Window *window_ = nullptr;
  SDL_Surface *surface_ = nullptr;
};
