// The whole state of the game, in globals under their own names, and the
// small functions that act on the boards.
#pragma once

#include <string>
#include <vector>

extern int colorset;     // colours in play, 2..7
extern int sportset;     // even: colour balls, odd: sport balls
extern int gameRunning;  // 1 while a game runs
extern int roundNumber;  // current round, from 1; no upper limit
extern int scramble;     // boards dealt since start-up; 0: not yet seeded
extern int roundWon;     // 1 between a successful check and the next deal
extern int inPause;      // 1 in the study phase
extern int ticktock;     // study countdown 10..0; 12 in the resolve phase
extern int gametock;     // game clock seconds
extern int mincount;     // game clock minutes
extern int size;         // number of places
extern int cursor;       // the place the keys act on, 1..16
extern int cursorShown;  // 1 from an arrow key to the next click

// The dealt board: entry k for place k; entry 0 belongs to no place and is 0.
extern std::vector<int> board;

// The player's board, one value per place; 0 means not yet set this round.
extern int avalue, bvalue, cvalue, dvalue, evalue, fvalue, gvalue, hvalue,
    ivalue, jvalue, kvalue, lvalue, mvalue, nvalue, ovalue, pvalue;

extern std::string iconpath;  // COLOR_ICONS or SPORT_ICONS
// The image path of each place.
extern std::string balla, ballb, ballc, balld, balle, ballf, ballg, ballh,
    balli, ballj, ballk, balll, ballm, balln, ballo, ballp;
extern std::string ConvertMe;     // text made by IntToString
extern std::string getDrivePath;  // executable's folder, with its separator
extern std::string HelpFiler;     // getDrivePath + HELP_FILE_NAME

// The per-place globals of place k (1..16).
struct Place {
  int &value;
  std::string &path;
};
Place place(int k);

// The round after which place k takes part: 0, 1, 5 or 10.
int placeThreshold(int k);
// How many places take part in round r: 4, 8, 12 or 16 (0 below round 1).
int placesInPlay(int r);

// The colour value an image path names: the digit 1..7 before ".bmp", else
// 0 (the blank ball).
int pathValue(const std::string &path);

void setarray();
void resetvals();
void IntToString(int value);
void loadBoard();
void checkWin();
void clearBoard();

// Points the sixteen image paths at the idle board in the current icon set:
// colours 1, 2, 1, 2 on the top row, the blank ball elsewhere.
void setIdlePaths();

// Puts every global back to its start-up value (done once before main).
void initState();
// Sets getDrivePath and HelpFiler from the executable's full path.
void setExecutablePath(const std::string &exePath);
