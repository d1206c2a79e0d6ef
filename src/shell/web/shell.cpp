// Quintara in a web page: the shell operations, the mouse and the keys, over
// the drawing, timer, sound and help functions of page.js. The controls are
// painted on a canvas from the same control table as the window; the statics
// are text elements laid over it.
#include "shell.h"

#include <emscripten.h>

#include <cmath>
#include <string>

#include "cursor.h"
#include "fallback.h"
#include "game.h"
#include "keys.h"
#include "layout.h"
#include "pointer.h"
#include "state.h"
#include "texts.h"

// page.js
extern "C" {
void pageFill(int x, int y, int w, int h, int r, int g, int b, bool device);
double pageRatio();
void pagePicture(int x, int y, int w, int h, const char *url, int place);
void pageNumber(int x, int y, int w, int h, const char *text, bool black);
void pageAddStatic(int id, int x, int y, int w, int h, bool gui,
                   const char *text);
void pageSetText(int id, const char *text);
void pagePreload(const char *url);
void pageSound(int k, const char *url);
void pageStart(int w, int h, int scales);
void pagePlay(int k, bool beep);
void pageTimer(int period);
void pageHelp(const char *url, const char *title, const char *text);
void pageEnd();
}

namespace {

struct File {
  int id;
  const char *url;
};
// The pictures and sounds the page carries (resources.txt), files beside it
// under their own names.
constexpr File kFiles[] = {
#include "files.inc"
};

const char *urlOf(int id) {
  for (const File &f : kFiles)
    if (f.id == id) return f.url;
  return "";
}

constexpr const char *kHelpPage = "help/index.html";

Pointer pointer;
bool boxEnabled = true;
bool ended;

void fill(int x, int y, int w, int h, int grey) {
  pageFill(x, y, w, h, grey, grey, grey, false);
}

void paint(int i) {
  if (ended || i < 0) return;
  const Control &c = kControls[i];
  const bool pressed = pointer.pressed(i);
  switch (c.kind) {
    case ControlKind::SkinnedButton:
      pagePicture(c.x, c.y, c.w, c.h,
                  urlOf(pressed ? skinPressed(c.id) : skinNormal(c.id)), 0);
      break;
    case ControlKind::Place: {
      // The core's relative path, with the page's separator.
      std::string url = place(placeOf(c.id)).path;
      for (char &ch : url)
        if (ch == '\\') ch = '/';
      pagePicture(c.x, c.y, c.w, c.h, url.c_str(), placeOf(c.id));
      break;
    }
    case ControlKind::Static:
      break;  // text elements of their own
    case ControlKind::CheckBox:
      // The mark shows the set in play, whether a click or a key chose it.
      pagePicture(c.x, c.y, c.w, c.h,
                  urlOf(checkBoxPicture(sportset % 2, !boxEnabled ? 2
                                                      : pressed   ? 1
                                                                  : 0)),
                  0);
      break;
  }
}

}  // namespace

// The keyboard cursor over place k, once its picture is drawn.
extern "C" EMSCRIPTEN_KEEPALIVE void quintaraRing(int k) {
  const Control &c = *findControl(placeId(k));
  drawCursorRing(k, c.x, c.y, c.w, c.h,
                 [](int x, int y, int w, int h, int grey) {
                   fill(x, y, w, 1, grey);
                   fill(x, y + h - 1, w, 1, grey);
                   fill(x, y, 1, h, grey);
                   fill(x + w - 1, y, 1, h, grey);
                 });
}

// What a place shows when its picture cannot be read: the empty cell, and
// for a colour a plain disc of the ball's body colour with its number.
extern "C" EMSCRIPTEN_KEEPALIVE void quintaraStandIn(int k) {
  const Control &c = *findControl(placeId(k));
  const int value = fallbackValue(place(k).path);
  const unsigned char *cell = kBallBody[0], *body = kBallBody[value];
  pageFill(c.x, c.y, c.w, c.h, cell[0], cell[1], cell[2], false);
  if (!value) return quintaraRing(k);
  // The disc in the canvas's own pixels, round at any ratio.
  const double ratio = pageRatio();
  const auto device = [ratio](double v) { return int(std::lround(v * ratio)); };
  fallbackDisc(device(c.x + c.w / 2.0), device(c.y + c.h / 2.0),
               device(kDiscRadius), [body](int x, int y, int w) {
                 pageFill(x, y, w, 1, body[0], body[1], body[2], true);
               });
  const std::string number(1, char('0' + value));
  pageNumber(c.x, c.y, c.w, c.h, number.c_str(), fallbackInkIsBlack(value));
  quintaraRing(k);
}

// Paints the whole game area once the pictures and fonts are in.
extern "C" EMSCRIPTEN_KEEPALIVE void quintaraShow() { redrawWindow(); }

extern "C" EMSCRIPTEN_KEEPALIVE void quintaraPress(int x, int y) {
  pointer.press(x, y, boxEnabled, paint);
}

extern "C" EMSCRIPTEN_KEEPALIVE void quintaraMove(int x, int y) {
  pointer.move(x, y, paint);
}

extern "C" EMSCRIPTEN_KEEPALIVE void quintaraRelease(int x, int y) {
  pointer.release(x, y, paint);
}

// A key going down on the page, by its keyCode; whether the game took it.
extern "C" EMSCRIPTEN_KEEPALIVE bool quintaraKey(int code, bool ctrl,
                                                 bool alt) {
  Key key;
  if (ended || !keyOfCode(code, ctrl, alt, key)) return false;
  gameKey(key);
  return true;
}

extern "C" EMSCRIPTEN_KEEPALIVE void quintaraTick() {
  if (!ended) gameTick();
}

int main() {
  for (const Control &c : kControls)
    if (c.kind == ControlKind::Static)
      pageAddStatic(c.id, c.x, c.y, c.w, c.h, c.id == ID_STATUS, c.text);
  pagePreload(urlOf(BMP_FACE));
  for (const Control &c : kControls)
    if (c.kind == ControlKind::SkinnedButton) {
      pagePreload(urlOf(skinNormal(c.id)));
      pagePreload(urlOf(skinPressed(c.id)));
    }
  for (int look = 0; look < 6; ++look)
    pagePreload(urlOf(checkBoxPicture(look / 3, look % 3)));
  for (int k = 1; k <= SOUNDS + 1; ++k) pageSound(k, urlOf(soundResource(k)));
  pageStart(WINDOW_W, WINDOW_H, ARTWORK_SCALES);
  return 0;
}

void setStaticText(int id, const std::string &text) {
  if (!ended) pageSetText(id, text.c_str());
}

void redrawPlace(int k) { paint(indexOf(placeId(k))); }

void redrawWindow() {
  if (ended) return;
  pagePicture(0, 0, WINDOW_W, WINDOW_H, urlOf(BMP_FACE), 0);
  for (int i = 0; i < CONTROL_COUNT; ++i) paint(i);
}

void enableIconSetBox(bool enable) {
  boxEnabled = enable;
  paint(indexOf(ID_SPORTS));
}

void startTimer() { pageTimer(TIMER_PERIOD_MS); }
void stopTimer() { pageTimer(0); }
void playSound(int k) {
  if (k >= 1 && k <= SOUNDS) pagePlay(k, false);
}
void beep() { pagePlay(SOUNDS + 1, true); }

// A page cannot minimise its browser window; the game goes on as it is.
void minimiseWindow() {}

void helpload() { pageHelp(kHelpPage, TEXT_HELP_ERROR_TITLE, TEXT_HELP_ERROR); }

void endProgram() {
  ended = true;
  pageTimer(0);
  pageEnd();
}
