// The Linux front end without an X server: its pictures, drawing, timer and
// input handling on SDL's offscreen video driver, whose window surface can
// be read back.
#include "shell.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "ball_colors.h"
#include "draw.h"
#include "game.h"
#include "language.h"
#include "layout.h"
#include "resources.h"
#include "scale.h"
#include "sound.h"
#include "state.h"
#include "texts.h"
#include "timer.h"
#include "window.h"

namespace fs = std::filesystem;

namespace {

const Control &control(int id) { return *findControl(id); }

Uint32 pixel(SDL_Surface *s, int x, int y) {
  return static_cast<const Uint32 *>(s->pixels)[y * s->pitch / 4 + x];
}

Uint32 colour(SDL_Surface *s, int r, int g, int b) {
  return SDL_MapRGB(s->format, Uint8(r), Uint8(g), Uint8(b));
}

// The body colour of ball value v, 0 the empty cell.
Uint32 body(SDL_Surface *s, int v) {
  return colour(s, kBallBody[v][0], kBallBody[v][1], kBallBody[v][2]);
}

SDL_Surface *canvas() {
  SDL_Surface *s = SDL_CreateRGBSurfaceWithFormat(0, WINDOW_W, WINDOW_H, 32,
                                                  SDL_PIXELFORMAT_XRGB8888);
  SDL_FillRect(s, nullptr, colour(s, 255, 0, 255));
  return s;
}

// Whether rect r of a equals picture b (both in a's format) pixel for pixel;
// b is freed.
bool shows(SDL_Surface *a, const Control &r, SDL_Surface *b) {
  bool equal = b && b->w == r.w && b->h == r.h;
  SDL_Surface *same = equal ? SDL_ConvertSurface(b, a->format, 0) : nullptr;
  for (int y = 0; y < r.h && equal; ++y)
    for (int x = 0; x < r.w && equal; ++x)
      equal = pixel(a, r.x + x, r.y + y) == pixel(same, x, y);
  SDL_FreeSurface(same);
  SDL_FreeSurface(b);
  return equal;
}

bool showsFile(SDL_Surface *a, const Control &r, const std::string &file) {
  return shows(a, r, SDL_LoadBMP(file.c_str()));
}

bool showsBitmap(SDL_Surface *a, const Control &r, int id) {
  return shows(a, r, loadBitmap(id));
}

// The painter's looks on a bare surface.
void drawPlace(SDL_Surface *s, const Control &c, const std::string &path) {
  SurfaceCanvas on(s);
  paintPlace(on, c, path);
}
void drawStatic(SDL_Surface *s, const Control &c, const std::string &text) {
  SurfaceCanvas on(s);
  paintStatic(on, c, text);
}
void drawCheckBox(SDL_Surface *s, const Control &c, bool ticked, BoxLook look) {
  SurfaceCanvas on(s);
  paintCheckBox(on, kLandscape, c, ticked, look);
}

// A plain picture of w x h in one colour with a different top left pixel.
void writePicture(const std::string &file, int w, int h, Uint8 red) {
  SDL_Surface *s =
      SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_BGR24);
  SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, red, 10, 20));
  SDL_Rect corner{0, 0, 1, 1};
  SDL_FillRect(s, &corner, SDL_MapRGB(s->format, 0, 255, 0));
  SDL_SaveBMP(s, file.c_str());
  SDL_FreeSurface(s);
}

// Runs the test in a fresh empty folder and goes back afterwards.
class InFolder {
 public:
  InFolder() : back_(fs::current_path()) {
    char name[] = "/tmp/quintara-sdl-XXXXXX";
    dir_ = mkdtemp(name);
    fs::current_path(dir_);
  }
  ~InFolder() {
    fs::current_path(back_);
    fs::remove_all(dir_);
  }

 private:
  fs::path back_, dir_;
};

class Sdl : public testing::Environment {
 public:
  void SetUp() override {
    SDL_setenv("SDL_VIDEODRIVER", "offscreen", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER), 0) << SDL_GetError();
    ASSERT_TRUE(openDrawing());
  }
  void TearDown() override {
    closeWindow();
    closeDrawing();
    SDL_Quit();
  }
};

const testing::Environment *const sdl =
    testing::AddGlobalTestEnvironment(new Sdl);

}  // namespace

TEST(Resources, EveryPictureAndSoundIsCarriedAtItsSize) {
  SDL_Surface *face = loadBitmap(BMP_FACE);
  ASSERT_TRUE(face);
  EXPECT_EQ(face->w, WINDOW_W);
  EXPECT_EQ(face->h, WINDOW_H);
  SDL_FreeSurface(face);
  for (const Control &c : kControls) {
    if (c.kind != ControlKind::SkinnedButton) continue;
    for (int id : {skinNormal(c.id), skinPressed(c.id)}) {
      SDL_Surface *skin = loadBitmap(id);
      ASSERT_TRUE(skin) << id;
      EXPECT_EQ(skin->w, c.w) << id;
      EXPECT_EQ(skin->h, c.h) << id;
      SDL_FreeSurface(skin);
    }
  }
  for (int k = 1; k <= SOUNDS + 1; ++k) {
    SDL_AudioSpec format;
    Uint8 *samples;
    Uint32 bytes;
    const int id = k <= SOUNDS ? soundResource(k) : WAVE_ALERT;
    ASSERT_TRUE(SDL_LoadWAV_RW(openResource(id), 1, &format, &samples, &bytes))
        << id;
    EXPECT_GT(bytes, 0u);
    SDL_FreeWAV(samples);
  }
  EXPECT_FALSE(openResource(BMP_FACE + 1));
}

TEST(Resources, IconMaskBecomesTransparency) {
  SDL_Surface *icon = loadBitmap(BMP_WINDOW_ICON);
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->w, 32);
  EXPECT_EQ(icon->h, 32);
  int clear = 0, opaque = 0;
  for (int y = 0; y < icon->h; ++y)
    for (int x = 0; x < icon->w; ++x) {
      const Uint32 alpha = pixel(icon, x, y) >> 24;
      clear += alpha == 0;
      opaque += alpha == 0xFF;
    }
  EXPECT_GT(clear, 0);
  EXPECT_GT(opaque, 0);
  EXPECT_EQ(clear + opaque, 32 * 32);
  SDL_FreeSurface(icon);
}

TEST(Drawing, PlaceStretchesItsFileAndReadsItAtEveryDraw) {
  InFolder folder;
  fs::create_directory("SportIcons");
  const Control &c = control(placeId(6));
  SDL_Surface *s = canvas();
  for (auto [w, h] : {std::pair{32, 32}, {100, 60}, {48, 48}}) {
    writePicture("SportIcons/sport3.bmp", w, h, Uint8(w));
    drawPlace(s, c, "SportIcons\\sport3.bmp");
    // A shrunk picture may skip its corner pixel.
    if (w <= c.w) {
      EXPECT_EQ(pixel(s, c.x, c.y), colour(s, 0, 255, 0)) << w;
    }
    EXPECT_EQ(pixel(s, c.x + c.w - 1, c.y + c.h - 1), colour(s, w, 10, 20));
    EXPECT_EQ(pixel(s, c.x - 1, c.y), colour(s, 255, 0, 255));
    EXPECT_EQ(pixel(s, c.x + c.w, c.y + c.h - 1), colour(s, 255, 0, 255));
  }
  SDL_FreeSurface(s);
}

TEST(Drawing, UnreadablePictureGivesADiscOfItsColour) {
  InFolder folder;
  SDL_Surface *s = canvas();
  const Control &c = control(placeId(1));
  for (int v = 1; v <= 7; ++v) {
    drawPlace(s, c, std::string(COLOR_ICONS) + std::to_string(v) + ".bmp");
    EXPECT_EQ(pixel(s, c.x, c.y), body(s, 0));
    EXPECT_EQ(pixel(s, c.x + c.w - 1, c.y + c.h - 1), body(s, 0));
    EXPECT_EQ(pixel(s, c.x + c.w / 2, c.y + 8), body(s, v)) << v;
  }
  drawPlace(s, c, std::string(SPORT_ICONS) + "0.bmp");
  for (int y = 0; y < c.h; ++y)
    for (int x = 0; x < c.w; ++x)
      ASSERT_EQ(pixel(s, c.x + x, c.y + y), body(s, 0));
  SDL_FreeSurface(s);
}

TEST(Drawing, StaticsFitTheirTextsAndStayInsideTheirBoxes) {
  const Control &status = control(ID_STATUS);
  for (const char *text :
       {TEXT_NO_GAME, TEXT_STUDY, TEXT_RESOLVE, TEXT_CANCELED, TEXT_EXPIRED})
    EXPECT_TRUE(textFits(status, text)) << text;
  EXPECT_TRUE(textFits(control(ID_GAMECLOCK), "04:59"));
  EXPECT_TRUE(textFits(control(ID_BALLCOUNT), "7"));

  SDL_Surface *s = canvas();
  drawStatic(s, status, "Resolve Board. .. and a good deal more");
  int ink = 0;
  for (int y = status.y - 1; y <= status.y + status.h; ++y)
    for (int x = status.x - 1; x <= status.x + status.w; ++x) {
      const bool inside = x >= status.x && x < status.x + status.w &&
                          y >= status.y && y < status.y + status.h;
      const Uint32 p = pixel(s, x, y);
      if (!inside) {
        EXPECT_EQ(p, colour(s, 255, 0, 255)) << x << "," << y;
      }
      Uint8 r, g, b;
      SDL_GetRGB(p, s->format, &r, &g, &b);
      ink += inside && r < 100 && g < 100 && b < 100;
    }
  EXPECT_GT(ink, 20);
  SDL_FreeSurface(s);
}

// Every caption fits its room in every language carried (in the faces found
// for it, which have all its letters), the long pseudo one too, in every
// face at 1x and 2x; the status texts fit their line, the pseudo language's
// narrowed or made smaller.
TEST(Drawing, EveryLanguagesCaptionsFit) {
  for (const int scale : {1, 2}) {
    SDL_Surface *s = SDL_CreateRGBSurfaceWithFormat(
        0, 2 * SIDEWAYS_W, 2 * PORTRAIT_H, 32, SDL_PIXELFORMAT_XRGB8888);
    SurfaceCanvas on(s);
    for (int n = 0; n < kLanguageCount; ++n) {
      const std::string code = kLanguages[n].code;
      useLanguage({code});
      closeDrawing();
      ASSERT_TRUE(openDrawing(scale));
      EXPECT_EQ(languageInUse(), code);
      for (const Face *face : {&kLandscape, &kPortrait, &kSideways})
        for (int k = 0; k < face->captionCount; ++k)
          EXPECT_TRUE(paintCaption(on, face->captions[k], 0, 0))
              << code << " at " << scale << "x, " << face->w << "x" << face->h
              << ": " << text(Text(face->captions[k].text));
      for (const char *status : {TEXT_NO_GAME, TEXT_STUDY, TEXT_RESOLVE,
                                 TEXT_CANCELED, TEXT_EXPIRED})
        EXPECT_TRUE(code == "qps-ploc" ? textFitted(control(ID_STATUS), status)
                                       : textFits(control(ID_STATUS), status))
            << code << ": " << status;
    }
    SDL_FreeSurface(s);
  }
  useLanguage({});
  closeDrawing();
  openDrawing();
}

// Arabic is drawn joined (a word narrower than its letters apart) and from
// the right: the word's right end as drawn without its last letter.
TEST(Drawing, ArabicJoinedAndFromTheRight) {
  useLanguage({"ar"});
  closeDrawing();
  ASSERT_TRUE(openDrawing());
  SDL_Surface *s =
      SDL_CreateRGBSurfaceWithFormat(0, 300, 40, 32, SDL_PIXELFORMAT_XRGB8888);
  SurfaceCanvas on(s);
  // The inked columns of text drawn ending at x = 290, by their ink.
  const auto ink = [&](const std::string &text) {
    SDL_FillRect(s, nullptr, colour(s, 255, 255, 255));
    const double w = on.captionWidth(CaptionFont::Bold, 24, text);
    on.caption(290 - w, 30, CaptionFont::Bold, 24, 1, text, {0, 0, 0});
    std::vector<std::pair<int, int>> columns;
    for (int x = 0, n = 0; x < 300; ++x, n = 0) {
      for (int y = 0; y < 40; ++y) n += pixel(s, x, y) != pixel(s, 0, 0);
      if (n) columns.push_back({x, n});
    }
    return columns;
  };
  const auto width = [&](const std::string &text) {
    const auto c = ink(text);
    return c.back().first - c.front().first;
  };
  const std::string word = "\u0644\u0639\u0628\u0629";  // a game
  EXPECT_LT(width(word), width(word.substr(0, 2)) + width(word.substr(2, 2)) +
                             width(word.substr(4, 2)) + width(word.substr(6)));
  const auto whole = ink(word), rest = ink(word.substr(0, 6));
  const auto from = [&](const auto &c) {
    return std::vector(c.end() - width(word.substr(0, 2)) / 2, c.end());
  };
  EXPECT_EQ(from(whole), from(rest));
  SDL_FreeSurface(s);
  useLanguage({});
  closeDrawing();
  openDrawing();
}

TEST(Drawing, CheckBoxShowsItsMarkAndWhetherItIsDisabled) {
  const Control &box = control(ID_SPORTS);
  SDL_Surface *looks[2][3];
  for (bool checked : {false, true})
    for (BoxLook look : {BoxLook::Normal, BoxLook::Held, BoxLook::Disabled}) {
      SDL_Surface *s = canvas();
      drawCheckBox(s, box, checked, look);
      looks[checked][int(look)] = s;
    }
  const auto differ = [&](SDL_Surface *x, SDL_Surface *y) {
    for (int row = 0; row < box.h; ++row)
      for (int col = 0; col < box.w; ++col)
        if (pixel(x, box.x + col, box.y + row) !=
            pixel(y, box.x + col, box.y + row))
          return true;
    return false;
  };
  for (int look = 0; look < 3; ++look)
    EXPECT_TRUE(differ(looks[0][look], looks[1][look])) << look;
  for (bool checked : {false, true}) {
    EXPECT_TRUE(differ(looks[checked][0], looks[checked][1])) << checked;
    EXPECT_TRUE(differ(looks[checked][0], looks[checked][2])) << checked;
  }
  EXPECT_TRUE(differ(looks[1][1], looks[1][2]));
  for (auto &row : looks)
    for (SDL_Surface *s : row) SDL_FreeSurface(s);
}

// A stop drops the tick already queued; a start waits a full period.
TEST(Timer, StopDropsQueuedTicksAndStartWaitsAFullPeriod) {
  startTimer();
  SDL_Delay(TIMER_PERIOD_MS + 200);
  stopTimer();
  SDL_Event e;
  int queued = 0;
  while (SDL_PollEvent(&e)) {
    EXPECT_FALSE(isCurrentTick(e));
    queued += e.type >= SDL_USEREVENT;
  }
  EXPECT_EQ(queued, 1);

  const Uint32 started = SDL_GetTicks();
  startTimer();
  while (SDL_WaitEventTimeout(&e, 3 * TIMER_PERIOD_MS) && !isCurrentTick(e)) {
  }
  EXPECT_TRUE(isCurrentTick(e));
  EXPECT_GE(SDL_GetTicks() - started, Uint32(TIMER_PERIOD_MS) - 5);
  stopTimer();
  EXPECT_FALSE(isCurrentTick(e));
}

// With or without a sound card (then into the silent device) the game's
// sounds share one channel and the beep has its own.
TEST(Sound, OneChannelForTheGameAndOneForTheBeep) {
  openSound();
  ASSERT_TRUE(SDL_GetCurrentAudioDriver());
  playSound(3);
  EXPECT_EQ(soundsPlaying(), 1);
  playSound(4);
  EXPECT_EQ(soundsPlaying(), 1);
  beep();
  beep();
  EXPECT_EQ(soundsPlaying(), 2);
  closeSound();
}

namespace {

void mouse(Uint32 type, int x, int y) {
  SDL_Event e{};
  e.type = type;
  if (type == SDL_MOUSEMOTION) {
    e.motion.x = x;
    e.motion.y = y;
  } else {
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = x;
    e.button.y = y;
  }
  handleWindowEvent(e);
}

void click(int id) {
  const Control &c = control(id);
  mouse(SDL_MOUSEBUTTONDOWN, c.x + 2, c.y + 2);
  mouse(SDL_MOUSEBUTTONUP, c.x + 3, c.y + 3);
}

}  // namespace

// The whole window on the offscreen driver, from the resources folder (the
// ball pictures are read relative to it), driven by synthetic mouse events.
TEST(Window, ShowsTheIdleBoardAndTurnsClicksIntoCommands) {
  ASSERT_TRUE(openWindow(kLandscape));
  SDL_Surface *s = SDL_GetWindowSurface(mainWindow());
  ASSERT_TRUE(s);
  for (const Control &c : kControls) {
    if (c.kind == ControlKind::SkinnedButton) {
      EXPECT_TRUE(showsBitmap(s, c, skinNormal(c.id))) << c.id;
    }
    if (c.kind == ControlKind::Place) {
      std::string file = place(placeOf(c.id)).path;
      std::replace(file.begin(), file.end(), '\\', '/');
      EXPECT_TRUE(showsFile(s, c, file)) << c.id;
    }
  }

  // Pressed while held over the button, normal once the pointer leaves; a
  // release elsewhere is no click.
  const Control &count = control(ID_COLORCOUNT);
  mouse(SDL_MOUSEBUTTONDOWN, count.x + 5, count.y + 5);
  EXPECT_TRUE(showsBitmap(s, count, skinPressed(count.id)));
  mouse(SDL_MOUSEMOTION, count.x - 5, count.y + 5);
  EXPECT_TRUE(showsBitmap(s, count, skinNormal(count.id)));
  mouse(SDL_MOUSEMOTION, count.x + 5, count.y + 5);
  EXPECT_TRUE(showsBitmap(s, count, skinPressed(count.id)));
  mouse(SDL_MOUSEMOTION, count.x - 5, count.y + 5);
  mouse(SDL_MOUSEBUTTONUP, count.x - 5, count.y + 5);
  EXPECT_EQ(colorset, 2);
  // A double click is two clicks.
  click(ID_COLORCOUNT);
  click(ID_COLORCOUNT);
  EXPECT_EQ(colorset, 4);
  EXPECT_TRUE(showsBitmap(s, count, skinNormal(count.id)));

  // The check box takes clicks only while no game runs.
  click(ID_SPORTS);
  EXPECT_EQ(sportset, 1);
  EXPECT_TRUE(showsFile(s, control(placeId(2)), "SportIcons/sport2.bmp"));
  click(ID_NEWGAME);
  EXPECT_EQ(gameRunning, 1);
  click(ID_SPORTS);
  EXPECT_EQ(sportset, 1);
  for (int k = 1; k <= PLACES; ++k)
    EXPECT_EQ(place(k).path.rfind(SPORT_ICONS, 0), 0u) << k;
  click(ID_CANCEL);
  EXPECT_EQ(gameRunning, 0);
  click(ID_SPORTS);
  EXPECT_EQ(sportset, 2);

  // A click on a place is its command; a press on nothing does nothing.
  mouse(SDL_MOUSEBUTTONDOWN, 2, WINDOW_H - 2);
  mouse(SDL_MOUSEBUTTONUP, 2, WINDOW_H - 2);
  click(ID_QUIT);
  EXPECT_FALSE(windowOpen());
}

TEST(Scale, OwnSettingThenTheDesktopsThenTheResolution) {
  EXPECT_EQ(chooseScale("2", "3", "288"), 2);
  EXPECT_EQ(chooseScale("1", "3", nullptr), 1);
  EXPECT_EQ(chooseScale("4", nullptr, nullptr), 4);
  for (const char *junk : {"", "0", "5", "-2", "2.0", " 2", "2x", "0002"})
    EXPECT_EQ(chooseScale(junk, "3", nullptr), 3) << junk;
  EXPECT_EQ(chooseScale(nullptr, "9", nullptr), 4);
  for (const char *junk : {"", "0", "abc", "-1", "2.5"})
    EXPECT_EQ(chooseScale(nullptr, junk, "192"), 2) << junk;
  const std::pair<const char *, int> dpis[] = {
      {"96", 1},  {"143.9", 1}, {"144", 2},   {"192.0", 2}, {"288 ", 3},
      {"960", 4}, {"40", 1},    {"0", 1},     {"-192", 1},  {"nan", 1},
      {"inf", 1}, {"", 1},      {"1e400", 1}, {"192dpi", 1}};
  for (auto [dpi, scale] : dpis)
    EXPECT_EQ(chooseScale(nullptr, nullptr, dpi), scale) << dpi;
  EXPECT_EQ(chooseScale(nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(fitScreen(4, 3840, 2160), 4);
  EXPECT_EQ(fitScreen(4, 1920, 1080), 2);  // 1632 x 1122 is too tall
  EXPECT_EQ(fitScreen(2, 800, 600), 1);
  // A phone's screen held upright gets the upright face at its scale; an
  // upright desktop screen wide enough for the window keeps the window's.
  EXPECT_EQ(&faceFor(2, 720, 1440), &kPortrait);
  EXPECT_EQ(fitScreen(2, 720, 1440, kPortrait), 2);
  EXPECT_EQ(&faceFor(1, 1080, 1920), &kLandscape);
  EXPECT_EQ(&faceFor(2, 1440, 720), &kLandscape);
}

// At 2x (the session sees the game's own pictures): a player's own picture
// stretched smoothly, the stand-in disc twice the size.
TEST(Drawing, AtTwiceTheScale) {
  closeDrawing();
  ASSERT_TRUE(openDrawing(2));
  SDL_Surface *s = SDL_CreateRGBSurfaceWithFormat(0, 2 * WINDOW_W, 2 * WINDOW_H,
                                                  32, SDL_PIXELFORMAT_XRGB8888);
  const Control &place = control(placeId(2));
  InFolder folder;
  fs::create_directory("ColorIcons");
  writePicture("ColorIcons/ball5.bmp", 48, 48, 200);
  drawPlace(s, place, "ColorIcons\\ball5.bmp");
  const int x = 2 * place.x, y = 2 * place.y;
  Uint8 r, g, b;
  SDL_GetRGB(pixel(s, x + 1, y), s->format, &r, &g, &b);
  EXPECT_TRUE(r > 0 && r < 200 && g > 10 && g < 255) << int(r) << "," << int(g);
  drawPlace(s, place, "ColorIcons\\ball6.bmp");
  EXPECT_EQ(pixel(s, x + 48, y + 10), body(s, 6));
  EXPECT_EQ(pixel(s, x + 48, y + 6), body(s, 0));
  SDL_FreeSurface(s);
  closeDrawing();
  openDrawing();
}
