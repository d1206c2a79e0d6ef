// Drawing the window face and each kind of control onto a surface: what the
// Windows program leaves to the platform's own controls and to its
// owner-drawn buttons.
#pragma once

#include <SDL.h>

#include <string>

#include "layout.h"

// Everything is drawn at a whole scale: positions and sizes are the
// control table's (1x) times it, fonts and pictures made for it. Opens the
// fonts of the statics and of the stand-in balls' numbers at that scale;
// false when one could not be opened (its texts are then left out).
bool openDrawing(int scale = 1);
void closeDrawing();
int drawingScale();

void drawFace(SDL_Surface *dst);
// Skinned button c in its normal or pressed picture.
void drawSkin(SDL_Surface *dst, const Control &c, bool pressed);
// Place c: the picture at path (the core's relative path, with its
// backslashes) stretched over the place, or a plain disc of its colour when
// the file cannot be read. Nothing is kept: the file is read at every draw.
void drawPlace(SDL_Surface *dst, const Control &c, const std::string &path);
// One line of black text on white, from the top left corner, clipped.
void drawStatic(SDL_Surface *dst, const Control &c, const std::string &text);
// Whether text fits static c in its font.
bool textFits(const Control &c, const std::string &text);

enum class BoxLook { Normal, Held, Disabled };  // as checkBoxPicture numbers
void drawCheckBox(SDL_Surface *dst, const Control &c, bool checked,
                  BoxLook look);

// A frame one pixel (at 1x) wide along the inside of rectangle (x, y, w, h),
// in one grey level.
void drawFrame(SDL_Surface *dst, int x, int y, int w, int h, int grey);
