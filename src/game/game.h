// The core's three entry points, called by a front end from its event
// handling.
#pragma once

// The keys the game takes, whatever keyboard they come from.
enum class Key {
  Left,
  Right,
  Up,
  Down,
  Act,          // Space or Enter: a click on the place under the cursor
  NewGame,      // F2 or N
  Cancel,       // Esc
  ColourCount,  // C
  IconSet,      // S
  Help,         // F1
  Quit,         // Ctrl+Q
};

// A click on the control with this id; ids of no control do nothing. A
// click hides the keyboard cursor.
void gameCommand(int id);
// A key: the same command as the click it stands for.
void gameKey(Key key);
// One tick of timer ID_TIMER.
void gameTick();
