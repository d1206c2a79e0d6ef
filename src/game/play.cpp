// What the player's clicks, keys and the timer's ticks do to the game.
#include <string>

#include "game.h"
#include "layout.h"
#include "shell.h"
#include "state.h"
#include "texts.h"

namespace {

// The tail shared by a new game and a round advance: show the board just
// dealt and count the study phase down from 10.
void startStudy() {
  inPause = 1;
  setStaticText(ID_GAMECLOCK, "00:00");
  setStaticText(ID_COUNTDOWN, "10");
  gameRunning = 1;
  enableIconSetBox(false);
  for (int k = 1; k <= PLACES; ++k) redrawPlace(k);
  startTimer();
  setStaticText(ID_STATUS, TEXT_STUDY);
}

void roundAdvance() {
  playwav3();
  stopTimer();
  roundWon = 0;
  setarray();
  loadBoard();
  resetvals();
  ticktock = 10;
  gametock = 0;
  mincount = 0;
  IntToString(roundNumber);
  setStaticText(ID_ROUNDS, roundNumber <= 9 ? "0" + ConvertMe : ConvertMe);
  startStudy();
}

void ballClick(int k) {
  if (gameRunning != 1 || inPause != 0 || roundNumber <= placeThreshold(k))
    return;
  playwav5();
  Place p = place(k);
  if (++p.value > colorset) p.value = 1;
  IntToString(p.value);
  p.path = iconpath + ConvertMe + ".bmp";
  redrawPlace(k);
  checkWin();
  if (roundWon == 1) roundAdvance();
}

void newGame() {
  if (gameRunning) return beep();
  playwav4();
  roundNumber = 1;
  clearBoard();
  resetvals();
  setarray();
  loadBoard();
  ticktock = 10;
  gametock = 0;
  setStaticText(ID_ROUNDS, "01");
  startStudy();
}

void cancel() {
  if (!gameRunning) return beep();
  playwav1();
  setStaticText(ID_STATUS, TEXT_CANCELED);
  stopTimer();
  if (inPause == 1)
    ticktock = 0;
  else
    gametock = mincount = 0;
  gameRunning = 0;
  enableIconSetBox(true);
}

void colourCount() {
  if (gameRunning) return beep();
  ++colorset;
  playwav1();
  if (colorset <= 7) {
    IntToString(colorset);
    setStaticText(ID_BALLCOUNT, ConvertMe);
  } else {
    colorset = 2;
    setStaticText(ID_BALLCOUNT, "2");
  }
}

void iconSet() {
  if (gameRunning) return;
  playwav1();
  ++sportset;
  iconpath = sportset % 2 == 0 ? COLOR_ICONS : SPORT_ICONS;
  setIdlePaths();
  redrawWindow();
}

void quit() {
  if (gameRunning) stopTimer();
  endProgram();
}

void expire() {
  setStaticText(ID_STATUS, TEXT_EXPIRED);
  playwav6();
  stopTimer();
  gameRunning = 0;
  gametock = mincount = 0;
  enableIconSetBox(true);
}

// One second of the resolve phase: the game clock, up to the limit of 04:59.
void clockTick() {
  ++gametock;
  std::string text = "0" + std::to_string(mincount) +
                     (gametock <= 9 ? ":0" : ":") + std::to_string(gametock);
  if (mincount == 4 && gametock == 59) expire();
  if (gametock > 59) {
    ++mincount;
    text = "0" + std::to_string(mincount) + ":00";
    gametock = 0;
  }
  setStaticText(ID_GAMECLOCK, text);
}

// The countdown has run out: hide the board and let the player rebuild it.
void switchToResolve() {
  stopTimer();
  playwav7();
  setStaticText(ID_STATUS, TEXT_RESOLVE);
  startTimer();
  ticktock = 12;
  inPause = 0;
  clearBoard();
  for (int k = 1, n = placesInPlay(roundNumber); k <= n; ++k) redrawPlace(k);
}

// A click on control id, from the mouse or from a key.
void command(int id) {
  if (const int k = placeOf(id)) return ballClick(k);
  switch (id) {
    case ID_CLOSE:
    case ID_QUIT:
      return quit();
    case ID_MINIMISE:
      playwav2();
      return minimiseWindow();
    case ID_HELP:
      playwav1();
      return helpload();
    case ID_CANCEL:
      return cancel();
    case ID_COLORCOUNT:
      return colourCount();
    case ID_NEWGAME:
      return newGame();
    case ID_SPORTS:
      return iconSet();
  }
}

// An arrow key: the first one shows the cursor where it is, the next ones
// move it by a row or a column, up to the board's edges.
void moveCursor(int dx, int dy) {
  constexpr int columns = 4, rows = PLACES / columns;
  if (!cursorShown) {
    cursorShown = 1;
    return redrawPlace(cursor);
  }
  const int row = (cursor - 1) / columns + dy;
  const int column = (cursor - 1) % columns + dx;
  if (row < 0 || row >= rows || column < 0 || column >= columns) return;
  const int left = cursor;
  cursor = row * columns + column + 1;
  redrawPlace(left);
  redrawPlace(cursor);
}

}  // namespace

void gameCommand(int id) {
  if (cursorShown) {
    cursorShown = 0;
    redrawPlace(cursor);
  }
  command(id);
}

void gameKey(Key key) {
  switch (key) {
    case Key::Left:
      return moveCursor(-1, 0);
    case Key::Right:
      return moveCursor(1, 0);
    case Key::Up:
      return moveCursor(0, -1);
    case Key::Down:
      return moveCursor(0, 1);
    case Key::Act:
      return command(placeId(cursor));
    case Key::NewGame:
      return command(ID_NEWGAME);
    case Key::Cancel:
      return command(ID_CANCEL);
    case Key::ColourCount:
      return command(ID_COLORCOUNT);
    case Key::IconSet:
      return command(ID_SPORTS);
    case Key::Help:
      return command(ID_HELP);
    case Key::Quit:
      return command(ID_QUIT);
  }
}

void gameTick() {
  // Only a running game's timer ticks; a stray timer message (any program
  // can post one) must not restart the clock of a game that has ended.
  if (!gameRunning) return;
  if (ticktock >= 1 && ticktock <= 10) {
    --ticktock;
    IntToString(ticktock);
    setStaticText(ID_COUNTDOWN, "0" + ConvertMe);
  }
  if (ticktock > 11) clockTick();
  if (ticktock == 0) switchToResolve();
}
