#include <cstdlib>
#include <ctime>

#include "layout.h"
#include "state.h"

void loadBoard() {
  if (scramble == 0) srand(static_cast<unsigned>(time(nullptr)));
  ++scramble;
  for (int k = 1, n = placesInPlay(roundNumber); k <= n; ++k) {
    const int v = rand() % colorset + 1;
    board[k] = v;
    IntToString(v);
    place(k).path = iconpath + ConvertMe + ".bmp";
  }
}

void checkWin() {
  const int n = placesInPlay(roundNumber);
  if (n == 0) return;
  for (int k = 1; k <= n; ++k)
    if (board[k] != place(k).value) return;
  ++roundNumber;
  roundWon = 1;
}

void clearBoard() {
  for (int k = 1; k <= PLACES; ++k) place(k).path = iconpath + "0.bmp";
}
