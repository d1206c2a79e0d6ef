// The window's controls, their geometry and the resource numbers. The facts
// themselves are declared in facts.json, which every program, the artwork and
// the tests read; facts.h is made from it at build time.
#pragma once

enum class ControlKind { SkinnedButton, Static, Place, CheckBox };

struct Control {
  int id;
  ControlKind kind;
  int x, y, w, h;
  const char *text;  // start-up text of a static; empty for the others
};

// Client pixels, right and bottom exclusive.
struct Rect {
  int left, top, right, bottom;
  constexpr bool contains(int x, int y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
};

// Words painted on the face or a button, which a front end draws itself in
// a language other than English (over the caption-free pictures).
enum class CaptionFont { Bold, Condensed, Italic };
enum class CaptionAlign { Start, Middle, End };
struct Caption {
  int text;  // a Text of texts.h
  CaptionFont font;
  double size;           // pixels at 1x
  unsigned ink, shadow;  // 0xRRGGBB; shadow kNoShadow for none
  CaptionAlign align;
  double x, y, w, h;  // its room; on a button, from the button's corner
  double baseline;    // from the room's top
  int button;         // the button it lies on, or 0 for the face
};
constexpr unsigned kNoShadow = 0xFFFFFFFFu;

#include "facts.h"

// Place k (1..16) has id 1400 + 50 k.
constexpr int placeId(int k) { return 1400 + 50 * k; }
// The place of a control id, or 0 when the id is not a place.
constexpr int placeOf(int id) {
  return id >= ID_PLACE1 && id <= ID_PLACE16 && id % 50 == 0 ? (id - 1400) / 50
                                                             : 0;
}

constexpr int CONTROL_COUNT = sizeof kControls / sizeof kControls[0];

constexpr bool sameControls(const Control *a, const Control *b) {
  for (int i = 0; i < CONTROL_COUNT; ++i)
    if (a[i].id != b[i].id || a[i].kind != b[i].kind) return false;
  return true;
}
static_assert(sizeof kPortraitControls == sizeof kControls &&
              sameControls(kControls, kPortraitControls));
static_assert(sizeof kSidewaysControls == sizeof kControls &&
              sameControls(kControls, kSidewaysControls));

constexpr bool placesInOrder() {
  int k = 0;
  for (const Control &c : kControls)
    if (c.kind == ControlKind::Place && c.id != placeId(++k)) return false;
  return k == PLACES;
}
static_assert(placesInOrder(), "place k is the k-th place, with id placeId(k)");

// The control of an id, or nullptr.
constexpr const Control *findControl(int id) {
  for (const Control &c : kControls)
    if (c.id == id) return &c;
  return nullptr;
}

// The beep of the self-drawn front ends. Windows plays the system's alert
// instead, so this one has no Windows resource.
static_assert(WAVE_ALERT == soundResource(SOUNDS + 1));

// The window's face draws the pictures as they are numbered.
constexpr int windowPicture(int id) { return id; }

// An arrangement of the controls that the self-drawn front ends choose by
// the shape of the screen: its controls by index in kControls, its size,
// its drag strip and its pictures (its twin of each of the window's).
struct Face {
  const Control *controls;
  int w, h;
  Rect title;
  int (*picture)(int id);
  const Caption *captions;
  int captionCount;
};
inline constexpr Face kLandscape{kControls,
                                 WINDOW_W,
                                 WINDOW_H,
                                 titleRect,
                                 windowPicture,
                                 kCaptions,
                                 sizeof kCaptions / sizeof *kCaptions};
inline constexpr Face kPortrait{
    kPortraitControls,
    PORTRAIT_W,
    PORTRAIT_H,
    portraitTitleRect,
    portraitPicture,
    kPortraitCaptions,
    sizeof kPortraitCaptions / sizeof *kPortraitCaptions};
// For a touch screen held sideways, too low for the window's face to give a
// fingertip its targets; only the web page shows it.
inline constexpr Face kSideways{
    kSidewaysControls,
    SIDEWAYS_W,
    SIDEWAYS_H,
    sidewaysTitleRect,
    sidewaysPicture,
    kSidewaysCaptions,
    sizeof kSidewaysCaptions / sizeof *kSidewaysCaptions};
