// The game's keys by virtual-key code: the numbers Windows gives its key
// messages and browsers give their key events' keyCode alike.
#pragma once

#include "game.h"

// The game's key for a key going down with these modifiers; false for keys
// the game leaves alone (Alt with anything, so the system's keys still work).
inline bool keyOfCode(int code, bool ctrl, bool alt, Key &key) {
  enum : int {
    kReturn = 0x0D,
    kEscape = 0x1B,
    kSpace = 0x20,
    kLeft = 0x25,
    kUp,
    kRight,
    kDown,
    kF1 = 0x70,
    kF2,
  };
  struct Binding {
    int code;
    Key key;
  };
  static constexpr Binding bindings[] = {
      {kLeft, Key::Left},      {kRight, Key::Right}, {kUp, Key::Up},
      {kDown, Key::Down},      {kSpace, Key::Act},   {kReturn, Key::Act},
      {kF2, Key::NewGame},     {'N', Key::NewGame},  {kEscape, Key::Cancel},
      {'C', Key::ColourCount}, {'S', Key::IconSet},  {kF1, Key::Help},
  };
  if (alt || ctrl) {
    key = Key::Quit;
    return !alt && code == 'Q';
  }
  for (const Binding &b : bindings)
    if (b.code == code) {
      key = b.key;
      return true;
    }
  return false;
}
