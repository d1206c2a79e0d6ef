// The window's controls, their geometry and the resource numbers: the one
// place every front end, the artwork generator and the tests read them from.
#pragma once

// Control ids, as the window procedure receives them in WM_COMMAND.
enum ControlId : int {
  ID_CLOSE = 250,
  ID_MINIMISE = 400,
  ID_HELP = 550,
  ID_QUIT = 700,
  ID_CANCEL = 850,
  ID_COLORCOUNT = 1000,
  ID_NEWGAME = 1150,
  ID_COUNTDOWN = 1200,
  ID_ROUNDS = 1250,
  ID_GAMECLOCK = 1300,
  ID_BALLCOUNT = 1350,
  ID_STATUS = 1400,
  ID_PLACE1 = 1450,
  ID_PLACE16 = 2200,
  ID_SPORTS = 2300,
};

constexpr int ID_TIMER = 1;
constexpr int TIMER_PERIOD_MS = 1000;
constexpr int PLACES = 16;

// Place k (1..16) has id 1400 + 50 k.
constexpr int placeId(int k) { return 1400 + 50 * k; }
// The place of a control id, or 0 when the id is not a place.
constexpr int placeOf(int id) {
  return id >= ID_PLACE1 && id <= ID_PLACE16 && id % 50 == 0 ? (id - 1400) / 50
                                                             : 0;
}

enum class ControlKind { SkinnedButton, Static, Place, CheckBox };

struct Control {
  int id;
  ControlKind kind;
  int x, y, w, h;
  const char *text;  // start-up text of a static; empty for the others
};

// Every control, in creation order. The artwork generator parses these rows,
// so keep one control per line in this form.
// clang-format off
inline constexpr Control kControls[] = {
    {250, ControlKind::SkinnedButton, 515, 4, 24, 16, ""},
    {400, ControlKind::SkinnedButton, 461, 4, 24, 16, ""},
    {550, ControlKind::SkinnedButton, 488, 4, 24, 16, ""},
    {700, ControlKind::SkinnedButton, 354, 226, 59, 28, ""},
    {850, ControlKind::SkinnedButton, 354, 258, 59, 28, ""},
    {1000, ControlKind::SkinnedButton, 416, 226, 61, 28, ""},
    {1150, ControlKind::SkinnedButton, 416, 258, 89, 28, ""},
    {1200, ControlKind::Static, 477, 70, 20, 17, "00"},
    {1250, ControlKind::Static, 477, 113, 20, 17, "00"},
    {1300, ControlKind::Static, 457, 156, 40, 17, "00:00"},
    {1350, ControlKind::Static, 486, 232, 10, 16, "2"},
    {1400, ControlKind::Static, 170, 295, 86, 16, "No game running"},
    {1450, ControlKind::Place, 53, 74, 48, 48, ""},
    {1500, ControlKind::Place, 103, 74, 48, 48, ""},
    {1550, ControlKind::Place, 153, 74, 48, 48, ""},
    {1600, ControlKind::Place, 203, 74, 48, 48, ""},
    {1650, ControlKind::Place, 53, 125, 48, 48, ""},
    {1700, ControlKind::Place, 103, 125, 48, 48, ""},
    {1750, ControlKind::Place, 153, 125, 48, 48, ""},
    {1800, ControlKind::Place, 203, 125, 48, 48, ""},
    {1850, ControlKind::Place, 53, 176, 48, 48, ""},
    {1900, ControlKind::Place, 103, 176, 48, 48, ""},
    {1950, ControlKind::Place, 153, 176, 48, 48, ""},
    {2000, ControlKind::Place, 203, 176, 48, 48, ""},
    {2050, ControlKind::Place, 53, 227, 48, 48, ""},
    {2100, ControlKind::Place, 103, 227, 48, 48, ""},
    {2150, ControlKind::Place, 153, 227, 48, 48, ""},
    {2200, ControlKind::Place, 203, 227, 48, 48, ""},
    {2300, ControlKind::CheckBox, 481, 299, 12, 12, ""},
};
// clang-format on

constexpr int CONTROL_COUNT = sizeof kControls / sizeof kControls[0];

// The same controls arranged for a screen held upright that is narrower than
// the window: the board across the width, the plates, buttons and check box
// below it, every control large enough for a fingertip once the face is as
// wide as a small phone. Same order and ids as kControls.
// clang-format off
inline constexpr Control kPortraitControls[] = {
    {250, ControlKind::SkinnedButton, 224, 2, 36, 33, ""},
    {400, ControlKind::SkinnedButton, 148, 2, 36, 33, ""},
    {550, ControlKind::SkinnedButton, 186, 2, 36, 33, ""},
    {700, ControlKind::SkinnedButton, 13, 362, 56, 33, ""},
    {850, ControlKind::SkinnedButton, 73, 362, 62, 33, ""},
    {1000, ControlKind::SkinnedButton, 139, 362, 68, 33, ""},
    {1150, ControlKind::SkinnedButton, 13, 399, 92, 33, ""},
    {1200, ControlKind::Static, 61, 286, 20, 17, "00"},
    {1250, ControlKind::Static, 183, 286, 20, 17, "00"},
    {1300, ControlKind::Static, 51, 330, 40, 17, "00:00"},
    {1350, ControlKind::Static, 226, 371, 10, 16, "2"},
    {1400, ControlKind::Static, 142, 330, 102, 16, "No game running"},
    {1450, ControlKind::Place, 33, 52, 48, 48, ""},
    {1500, ControlKind::Place, 83, 52, 48, 48, ""},
    {1550, ControlKind::Place, 133, 52, 48, 48, ""},
    {1600, ControlKind::Place, 183, 52, 48, 48, ""},
    {1650, ControlKind::Place, 33, 103, 48, 48, ""},
    {1700, ControlKind::Place, 83, 103, 48, 48, ""},
    {1750, ControlKind::Place, 133, 103, 48, 48, ""},
    {1800, ControlKind::Place, 183, 103, 48, 48, ""},
    {1850, ControlKind::Place, 33, 154, 48, 48, ""},
    {1900, ControlKind::Place, 83, 154, 48, 48, ""},
    {1950, ControlKind::Place, 133, 154, 48, 48, ""},
    {2000, ControlKind::Place, 183, 154, 48, 48, ""},
    {2050, ControlKind::Place, 33, 205, 48, 48, ""},
    {2100, ControlKind::Place, 83, 205, 48, 48, ""},
    {2150, ControlKind::Place, 133, 205, 48, 48, ""},
    {2200, ControlKind::Place, 183, 205, 48, 48, ""},
    {2300, ControlKind::CheckBox, 218, 399, 33, 33, ""},
};
// clang-format on

constexpr bool sameControls(const Control *a, const Control *b) {
  for (int i = 0; i < CONTROL_COUNT; ++i)
    if (a[i].id != b[i].id || a[i].kind != b[i].kind) return false;
  return true;
}
static_assert(sizeof kPortraitControls == sizeof kControls &&
              sameControls(kControls, kPortraitControls));

// The keyboard cursor's ring, drawn over the edge of its place: bands of
// black outside and white inside, so that one of them stands out against the
// grey cell and against any ball. Widths in pixels.
constexpr int CURSOR_BLACK = 2;
constexpr int CURSOR_WHITE = 1;

// The control of an id, or nullptr.
constexpr const Control *findControl(int id) {
  for (const Control &c : kControls)
    if (c.id == id) return &c;
  return nullptr;
}

// The captionless window and its drag strip (client pixels, right and bottom
// exclusive).
constexpr int WINDOW_W = 544;
constexpr int WINDOW_H = 374;
struct Rect {
  int left, top, right, bottom;
  constexpr bool contains(int x, int y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
};
constexpr Rect titleRect{0, 0, 460, 25};
constexpr int PORTRAIT_W = 264;
constexpr int PORTRAIT_H = 452;
constexpr Rect portraitTitleRect{0, 0, 146, 38};

// Top left corner on a screen of the given size: a little right of and above
// the centre, never clamped.
constexpr int windowX(int screenW) { return screenW / 2 - 270; }
constexpr int windowY(int screenH) { return screenH / 2 - 200; }

// Resources carried in the executable (the files are listed in
// resources.txt).
constexpr int BMP_FACE = 100;
constexpr int ICON_GROUP_EXE = 8;
constexpr int ICON_GROUP_SMALL = 16;
constexpr int VERSION_RECORD = 1;
constexpr int skinNormal(int buttonId) { return buttonId - 100; }
constexpr int skinPressed(int buttonId) { return buttonId - 50; }
constexpr int SOUNDS = 7;
// The window's pictures come at 1x and at 2x: the 2x picture of resource id
// is atScale(id, 2).
constexpr int ARTWORK_SCALES = 2;
constexpr int atScale(int id, int scale) { return id + 10000 * (scale - 1); }
// The check box of a front end that draws its own, unticked or ticked, in
// look 0 (normal), 1 (held) or 2 (disabled).
constexpr int checkBoxPicture(bool ticked, int look) {
  return 2310 + 3 * ticked + look;
}
// The game's own ball pictures, n = 0..7 of the colour or the sport set,
// carried to tell them from a player's files of the same names.
constexpr int ballPicture(bool sport, int n) { return 3000 + 8 * sport + n; }
// Sound k (1..7) is WAVE resource 2400 + 50 (k - 1).
constexpr int soundResource(int k) { return 2350 + 50 * k; }
// The beep of the self-drawn front ends. Windows plays the system's alert
// instead, so this one has no Windows resource; it is numbered after the
// seven sounds.
constexpr int WAVE_ALERT = soundResource(SOUNDS + 1);
// The upright face's own pictures (its face, skins and check box) are
// carried beside the window's as portraitPicture(id); the balls are shared.
constexpr int portraitPicture(int id) { return id + 5000; }

// An arrangement of the controls that the self-drawn front ends choose by
// the shape of the screen: its controls by index in kControls, its size,
// its drag strip and its pictures.
struct Face {
  const Control *controls;
  int w, h;
  Rect title;
  bool portrait;
  constexpr int picture(int id) const {
    return portrait ? portraitPicture(id) : id;
  }
};
inline constexpr Face kLandscape{kControls, WINDOW_W, WINDOW_H, titleRect,
                                 false};
inline constexpr Face kPortrait{kPortraitControls, PORTRAIT_W, PORTRAIT_H,
                                portraitTitleRect, true};
