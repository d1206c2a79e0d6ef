// Quintara in a web page: the shell operations and the mouse, over the
// drawing, timer, sound and help functions of page.js. The controls are
// painted on a canvas from the same control table as the window; the statics
// are text elements laid over it.
#include "shell.h"

#include <emscripten.h>

#include <string>

#include "fallback.h"
#include "game.h"
#include "layout.h"
#include "state.h"
#include "texts.h"

// page.js
extern "C" {
void pageFill(int x, int y, int w, int h, int r, int g, int b);
void pagePicture(int x, int y, int w, int h, const char *url, int place);
void pageNumber(int x, int y, int w, int h, const char *text, bool black);
void pageAddStatic(int id, int x, int y, int w, int h, bool gui,
                   const char *text);
void pageSetText(int id, const char *text);
void pagePreload(const char *url);
void pageSound(int k, const char *url);
void pageStart(int w, int h);
void pagePlay(int k, bool beep);
void pageTimer(int period);
void pageHelp(const char *url, const char *title, const char *text);
void pageEnd();
}

namespace {

// The beep, numbered after the seven sounds as the Linux program does.
constexpr int WAVE_ALERT = soundResource(SOUNDS + 1);

struct File {
  int id;
  const char *url;
};
// The pictures and sounds the Linux program carries, here files beside the
// page under their own names.
constexpr File kFiles[] = {
#include "files.inc"
};

const char *urlOf(int id) {
  for (const File &f : kFiles)
    if (f.id == id) return f.url;
  return "";
}

constexpr const char *kHelpPage = "help/index.html";
constexpr int kDiscRadius = 20;

int held = -1;    // the control the left button went down on, or -1
bool heldOver;    // whether the pointer is still over it
bool boxChecked;  // the check box toggles its own mark on each click
bool boxEnabled = true;
bool ended;

int indexOf(int id) {
  const Control *c = findControl(id);
  return c ? int(c - kControls) : -1;
}

bool over(int i, int x, int y) {
  const Control &c = kControls[i];
  return x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h;
}

// The control that takes a press at (x, y), or -1. The statics take none,
// and neither does the check box while it is disabled.
int pressableAt(int x, int y) {
  for (int i = 0; i < CONTROL_COUNT; ++i) {
    const ControlKind kind = kControls[i].kind;
    if (kind == ControlKind::Static) continue;
    if (kind == ControlKind::CheckBox && !boxEnabled) continue;
    if (over(i, x, y)) return i;
  }
  return -1;
}

void fill(int x, int y, int w, int h, int grey) {
  pageFill(x, y, w, h, grey, grey, grey);
}

// The classic sunken 3-D box with its tick, as on the Linux program.
void drawCheckBox(const Control &c, bool pressed) {
  const int x = c.x, y = c.y, w = c.w, h = c.h;
  fill(x, y, w, h, 255);
  fill(x, y, w - 1, 1, 128);
  fill(x, y, 1, h - 1, 128);
  fill(x + 1, y + 1, w - 3, 1, 64);
  fill(x + 1, y + 1, 1, h - 3, 64);
  fill(x + 1, y + h - 2, w - 2, 1, 192);
  fill(x + w - 2, y + 1, 1, h - 2, 192);
  fill(x + 2, y + 2, w - 4, h - 4, boxEnabled && !pressed ? 255 : 192);
  if (!boxChecked) return;
  static const char *const kTick[] = {
      "......X", ".....XX", "X...XXX", "XX.XXX.",
      "XXXXX..", ".XXX...", "..X....",
  };
  const int left = x + (w - 7) / 2, top = y + (h - 7) / 2;
  for (int row = 0; row < 7; ++row)
    for (int col = 0; col < 7; ++col)
      if (kTick[row][col] == 'X')
        fill(left + col, top + row, 1, 1, boxEnabled ? 0 : 128);
}

void paint(int i) {
  if (ended || i < 0) return;
  const Control &c = kControls[i];
  const bool pressed = held == i && heldOver;
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
      drawCheckBox(c, pressed);
      break;
  }
}

}  // namespace

// What a place shows when its picture cannot be read: the empty cell, and
// for a colour a plain disc of the ball's body colour with its number.
extern "C" EMSCRIPTEN_KEEPALIVE void quintaraStandIn(int k) {
  const Control &c = *findControl(placeId(k));
  const int value = fallbackValue(place(k).path);
  const unsigned char *cell = kBallBody[0], *body = kBallBody[value];
  pageFill(c.x, c.y, c.w, c.h, cell[0], cell[1], cell[2]);
  if (!value) return;
  const int cx = c.x + c.w / 2, cy = c.y + c.h / 2;
  for (int dy = -kDiscRadius; dy < kDiscRadius; ++dy) {
    int half = 0;
    while ((half + 0.5) * (half + 0.5) + (dy + 0.5) * (dy + 0.5) <=
           kDiscRadius * kDiscRadius)
      ++half;
    pageFill(cx - half, cy + dy, 2 * half, 1, body[0], body[1], body[2]);
  }
  const std::string number(1, char('0' + value));
  pageNumber(c.x, c.y, c.w, c.h, number.c_str(), fallbackInkIsBlack(value));
}

// Paints the whole game area once the pictures and fonts are in.
extern "C" EMSCRIPTEN_KEEPALIVE void quintaraShow() { redrawWindow(); }

extern "C" EMSCRIPTEN_KEEPALIVE void quintaraPress(int x, int y) {
  if (held >= 0) return;
  held = pressableAt(x, y);
  heldOver = true;
  paint(held);
}

extern "C" EMSCRIPTEN_KEEPALIVE void quintaraMove(int x, int y) {
  if (held < 0 || over(held, x, y) == heldOver) return;
  heldOver = !heldOver;
  paint(held);
}

// A click counts when the button comes up over the control it went down
// on; each one is a command, so a double click is two.
extern "C" EMSCRIPTEN_KEEPALIVE void quintaraRelease(int x, int y) {
  const int i = held;
  if (i < 0) return;
  const bool click = over(i, x, y);
  held = -1;
  if (click && kControls[i].kind == ControlKind::CheckBox)
    boxChecked = !boxChecked;
  paint(i);
  if (click) gameCommand(kControls[i].id);
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
  for (int k = 1; k <= SOUNDS + 1; ++k) pageSound(k, urlOf(soundResource(k)));
  pageStart(WINDOW_W, WINDOW_H);
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
