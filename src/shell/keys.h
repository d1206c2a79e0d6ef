// The game's keys, one table for every front end: by virtual-key code, the
// numbers Windows gives its key messages and browsers their key events'
// keyCode alike; the Linux program translates its keys to them.
#pragma once

#include "game.h"

namespace vk {
enum : int {
  Return = 0x0D,
  Escape = 0x1B,
  Space = 0x20,
  Left = 0x25,
  Up,
  Right,
  Down,
  F1 = 0x70,
  F2,
};
}  // namespace vk

// The modifiers held with a key; logo is the Windows, Command or Super key.
struct Modifiers {
  bool ctrl, alt, logo;
};

// The game's key for a key going down with these modifiers; false for keys
// the game leaves alone. Alt or the logo key with anything is the desktop's,
// so the system's own keys still work; Ctrl goes only with Q.
inline bool keyOfCode(int code, Modifiers held, Key &key) {
  struct Binding {
    int code;
    Key key;
  };
  static constexpr Binding bindings[] = {
      {vk::Left, Key::Left},     {vk::Right, Key::Right},
      {vk::Up, Key::Up},         {vk::Down, Key::Down},
      {vk::Space, Key::Act},     {vk::Return, Key::Act},
      {vk::F2, Key::NewGame},    {'N', Key::NewGame},
      {vk::Escape, Key::Cancel}, {'C', Key::ColourCount},
      {'S', Key::IconSet},       {vk::F1, Key::Help},
  };
  if (held.alt || held.logo) return false;
  if (held.ctrl) {
    key = Key::Quit;
    return code == 'Q';
  }
  for (const Binding &b : bindings)
    if (b.code == code) {
      key = b.key;
      return true;
    }
  return false;
}
