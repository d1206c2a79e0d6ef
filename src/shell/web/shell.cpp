// Quintara in a web page: the painter's canvas, the mouse and the keys, and
// the shell operations of the timer, sound and help, over the functions of
// page.js.
#include "shell.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "caption.h"
#include "drawn.h"
#include "game.h"
#include "keys.h"
#include "language.h"
#include "layout.h"
#include "names.h"
#include "painter.h"
#include "pointer.h"
#include "texts.h"

// page.js
extern "C" {
char *pagePreferences();
void pageLanguage(const char *code, bool rightToLeft);
void pageFill(int x, int y, int w, int h, int r, int g, int b);
double pageRatio();
void pagePicture(int x, int y, int w, int h, const char *url, int place);
void pageNumber(int x, int y, int w, int h, const char *text, bool black);
double pageCaptionWidth(int font, double size, const char *text);
void pageCaption(double x, double y, int font, double size, double narrow,
                 const char *text, int r, int g, int b);
void pageAddControl(int id, const char *role, bool gui, const char *text,
                    const char *name);
void pageArrange(int id, int x, int y, int w, int h);
void pageDescribe(int id, const char *name, bool ticked, bool enabled);
void pageSetText(int id, const char *text, double size, double narrow);
double pageTextWidth(bool gui, double size, const char *text);
void pageFace(int w, int h);
void pagePreload(const char *url, const char *bare, bool pressed);
void pageSound(int k, const char *url);
void pageStart();
void pagePlay(int k, bool beep);
void pageTimer(int period);
void pageHelp(const char *url, const char *title, const char *text,
              const char *ok);
void pageEnd(const char *ended, const char *reload);
}

namespace {

struct File {
  int id;
  const char *url;
};
// The pictures and sounds the page carries (from facts.json), files beside it
// under their own names.
constexpr File kFiles[] = {
#include "files.inc"
};

const char *urlOf(int id) {
  for (const File &f : kFiles)
    if (f.id == id) return f.url;
  return "";
}

// The help's first page in the language in use.
std::string helpPage = "help/index.html";

bool ended;

// The canvas of the game area, in its own pixels. The pictures load in the
// page, a place's file when it is drawn, and the browser scales them (a
// picture at its own size it leaves as it is).
class PageCanvas final : public Canvas {
 public:
  double scale() const override { return pageRatio(); }
  void picture(int id, const Box &b, Stretch) override {
    pagePicture(b.x, b.y, b.w, b.h, urlOf(id), 0);
  }
  // The site carries the ball bitmaps as WebP files of the same pixels.
  Loaded ball(int k, const std::string &path, const Box &b, Stretch) override {
    std::string url = path;
    const std::size_t dot = url.size() - std::min<std::size_t>(url.size(), 4);
    if (url.compare(dot, std::string::npos, ".bmp") == 0)
      url.replace(dot, std::string::npos, ".webp");
    pagePicture(b.x, b.y, b.w, b.h, url.c_str(), k);
    return Loaded::Later;
  }
  void fill(const Box &b, Rgb c) override {
    pageFill(b.x, b.y, b.w, b.h, c.r, c.g, c.b);
  }
  // Only the stand-ins' numbers, centred: the statics' texts are the
  // view's.
  void text(const Box &b, Typeface, const std::string &text, Rgb ink,
            Align) override {
    pageNumber(b.x, b.y, b.w, b.h, text.c_str(), ink.r == 0);
  }
  double captionWidth(CaptionFont font, double size,
                      const std::string &text) override {
    return pageCaptionWidth(int(font), size, text.c_str());
  }
  void caption(double x, double y, CaptionFont font, double size, double narrow,
               const std::string &text, Rgb ink) override {
    pageCaption(x, y, int(font), size, narrow, text.c_str(), ink.r, ink.g,
                ink.b);
  }
  void show(const Box &) override {}
} canvas;

// The page's element over each control: a static's text, so that it stays
// text, or a button named for readers.
class PageView final : public ControlView {
 public:
  const Face &face() const override { return *face_; }
  void arrange(const Face &face) {
    face_ = &face;
    for (int i = 0; i < CONTROL_COUNT; ++i) {
      const Control &c = face.controls[i];
      pageArrange(c.id, c.x, c.y, c.w, c.h);
    }
  }
  bool ownsTexts() const override { return true; }
  // A text too wide for its static (a translation's) is fitted as the
  // captions are, measured in the page's font at sizes of the control
  // table's pixels.
  void text(int id, const std::string &text) override {
    const Control &c = face_->controls[indexOf(id)];
    const bool gui = id == ID_STATUS;
    const double natural = pageTextWidth(gui, 0, "");
    const CaptionFit fit = fitWords(natural, c.w, 1, [&](double size) {
      return pageTextWidth(gui, size, text.c_str());
    });
    if (!fit.fits) reportMisfit(text);
    pageSetText(id, text.c_str(), fit.size / natural, fit.narrow);
  }
  void describe(int id, const std::string &name, bool ticked,
                bool enabled) override {
    pageDescribe(id, name.c_str(), ticked, enabled);
  }

 private:
  const Face *face_ = &kLandscape;
} view;

}  // namespace

// The element's role for readers: the texts that change when the player
// acts are read out when they do, the two clocks only when asked.
const char *ariaRole(const Control &c) {
  switch (roleOf(c)) {
    case Role::PushButton:
      return "button";
    case Role::CheckBox:
      return "checkbox";
    case Role::Text:
      break;
  }
  return c.id == ID_COUNTDOWN || c.id == ID_GAMECLOCK ? "timer" : "status";
}

// A keyboard's click on a control the player moved to with Tab.
extern "C" EMSCRIPTEN_KEEPALIVE void quintaraCommand(int id) {
  if (!ended) gameCommand(id);
}

// A place's file has loaded and is drawn, or none could be.
extern "C" EMSCRIPTEN_KEEPALIVE void quintaraLoaded(int k, bool drawn) {
  placeFileLoaded(k, drawn);
}

// The scale of the artwork drawn at this many canvas pixels a CSS pixel.
extern "C" EMSCRIPTEN_KEEPALIVE int quintaraArtwork(double ratio) {
  return artworkScale(ratio);
}

// The faces the page fits, in the order of facts.json's, as index.html
// knows them.
constexpr const Face *kFaces[] = {&kLandscape, &kPortrait, &kSideways};

// The page's elements and the drawing arranged as in face n of kFaces; what
// the game shows is painted anew by quintaraShow.
extern "C" EMSCRIPTEN_KEEPALIVE void quintaraFace(int n) {
  view.arrange(*kFaces[n]);
}

// Paints the whole game area once the pictures and fonts are in.
extern "C" EMSCRIPTEN_KEEPALIVE void quintaraShow() { redrawWindow(); }

extern "C" EMSCRIPTEN_KEEPALIVE void quintaraPress(int x, int y) {
  pointerDown(x, y);
}

extern "C" EMSCRIPTEN_KEEPALIVE void quintaraMove(int x, int y) {
  pointerMove(x, y);
}

extern "C" EMSCRIPTEN_KEEPALIVE void quintaraRelease(int x, int y) {
  pointerUp(x, y);
}

// A key going down on the page, by its keyCode; whether the game took it.
extern "C" EMSCRIPTEN_KEEPALIVE bool quintaraKey(int code, bool ctrl, bool alt,
                                                 bool logo) {
  Key key;
  if (ended || !keyOfCode(code, {ctrl, alt, logo}, key)) return false;
  gameKey(key);
  return true;
}

extern "C" EMSCRIPTEN_KEEPALIVE void quintaraTick() {
  if (!ended) gameTick();
}

// The texts of the language chosen, in the order of Text, as the page
// fetched them (n of them, each allocated for the page's lifetime); whether
// they are in use: a table of another length is not of this program, which
// then stays in English.
extern "C" EMSCRIPTEN_KEEPALIVE bool quintaraTexts(const char **table, int n) {
  if (n != TEXT_COUNT) return false;
  useTexts(table);
  return true;
}

// The game in the language in use, once its texts are in.
extern "C" EMSCRIPTEN_KEEPALIVE void quintaraBegin() {
  if (!textsInEnglish()) helpPage = "help/" + languageInUse() + "/index.html";
  // An element for each control over its picture, in reading order: a
  // button, the check box or a static's text.
  for (const int id : kReadingOrder) {
    const Control &c = *findControl(id);
    pageAddControl(id, ariaRole(c), id == ID_STATUS, startText(c),
                   controlName(id).c_str());
  }
  for (int k = 1; k <= SOUNDS + 1; ++k) pageSound(k, urlOf(soundResource(k)));
  attachCanvas(&canvas, &view);
  pageStart();
}

// The faces and their pictures are the page's to fetch from the start; the
// language is chosen from the page's preferences, and the page fetches its
// texts and begins the game.
int main() {
  for (const Face *face : kFaces) {
    pageFace(face->w, face->h);
    everyArtwork(*face, [](int words, int bare, bool pressed) {
      pagePreload(urlOf(words), urlOf(bare), pressed);
    });
  }
  char *preferred = pagePreferences();
  const std::string code = useLanguage(splitPreferences(preferred));
  std::free(preferred);
  pageLanguage(code.c_str(), rightToLeft());
  return 0;
}

void startTimer() { pageTimer(TIMER_PERIOD_MS); }
void stopTimer() { pageTimer(0); }
void playSound(int k) {
  if (k >= 1 && k <= SOUNDS) pagePlay(k, false);
}
void beep() { pagePlay(SOUNDS + 1, true); }

// A page cannot minimise its browser window; the game goes on as it is.
void minimiseWindow() {}

void helpload() {
  pageHelp(helpPage.c_str(), TEXT_HELP_ERROR_TITLE, TEXT_HELP_ERROR, TEXT_OK);
}

void endProgram() {
  ended = true;
  attachCanvas(nullptr, nullptr);
  pageTimer(0);
  pageEnd(TEXT_ENDED, TEXT_RELOAD);
}
