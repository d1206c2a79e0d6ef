// What a screen reader calls each control, for every front end and the
// tests alike.
#pragma once

#include <string>

#include "layout.h"

// Control id's name as it is now: a button or the check box by its label,
// a static by the label painted beside it, place k as "Place k, " and what
// it shows (its colour, its sport or "empty"); "" for an id of no control.
std::string controlName(int id);

// What a reader says each control is: the skinned buttons and places are
// push buttons, the statics text.
enum class Role { PushButton, CheckBox, Text };
constexpr Role roleOf(const Control &c) {
  return c.kind == ControlKind::Static     ? Role::Text
         : c.kind == ControlKind::CheckBox ? Role::CheckBox
                                           : Role::PushButton;
}

// The controls in the order the face is read: the board row by row, the
// status line below it, then the column of texts and buttons beside it and
// the three small buttons of the title strip.
constexpr int kReadingOrder[] = {
    placeId(1),  placeId(2),    placeId(3),   placeId(4),  placeId(5),
    placeId(6),  placeId(7),    placeId(8),   placeId(9),  placeId(10),
    placeId(11), placeId(12),   placeId(13),  placeId(14), placeId(15),
    placeId(16), ID_STATUS,     ID_COUNTDOWN, ID_ROUNDS,   ID_GAMECLOCK,
    ID_QUIT,     ID_COLORCOUNT, ID_BALLCOUNT, ID_CANCEL,   ID_NEWGAME,
    ID_SPORTS,   ID_MINIMISE,   ID_HELP,      ID_CLOSE,
};
static_assert(sizeof kReadingOrder / sizeof *kReadingOrder == CONTROL_COUNT);
