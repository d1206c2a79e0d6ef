// The core's rules, checked through the exact order of shell operations.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <set>
#include <string>
#include <vector>

#include "game.h"
#include "language.h"
#include "layout.h"
#include "names.h"
#include "recorder.h"
#include "state.h"
#include "texts.h"

using Ops = std::vector<std::string>;

namespace {

std::string txt(int id, const std::string &t) {
  return "text " + std::to_string(id) + " " + t;
}
std::string redraw(int k) { return "redraw " + std::to_string(k); }

Ops redraws(int from, int to) {
  Ops ops;
  for (int k = from; k <= to; ++k) ops.push_back(redraw(k));
  return ops;
}

// The operations of a click on control id.
Ops command(int id) {
  return opsOf([id] { gameCommand(id); });
}

Ops operator+(Ops a, const Ops &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// What a new game and a round advance both end with.
Ops studyTail() {
  return Ops{txt(ID_GAMECLOCK, "00:00"), txt(ID_COUNTDOWN, "10"), "box off"} +
         redraws(1, 16) + Ops{"timer start", txt(ID_STATUS, TEXT_STUDY)};
}

class Core : public testing::Test {
 protected:
  void SetUp() override { restart(); }

  static void ticks(int n) {
    for (int i = 0; i < n; ++i) gameTick();
  }
  static void toResolve() {
    gameCommand(ID_NEWGAME);
    ticks(10);
  }
  // Clicks place k until it shows its dealt colour, or the round is won.
  static void match(int k) {
    const int round = roundNumber;
    while (roundNumber == round && place(k).value != board[k])
      gameCommand(placeId(k));
  }
  // Sets every place in play but the last, so one more click wins.
  static int matchAllButLast() {
    const int n = placesInPlay(roundNumber);
    for (int k = 1; k < n; ++k) match(k);
    return n;
  }
  static void winRound() { match(matchAllButLast()); }
};

TEST_F(Core, TextsAreExactlyTheGamesOwn) {
  EXPECT_STREQ(TEXT_NO_GAME, "No game running");
  EXPECT_STREQ(TEXT_STUDY, "Study Board. ..");
  EXPECT_STREQ(TEXT_RESOLVE, "Resolve Board. ..");
  EXPECT_STREQ(TEXT_CANCELED, "Game canceled. ..");
  EXPECT_STREQ(TEXT_EXPIRED, "Time has expired!");
  EXPECT_STREQ(TEXT_HELP_ERROR, "Help file could not be opened...");
  EXPECT_STREQ(TEXT_HELP_ERROR_TITLE, "Error - Quintara");
  EXPECT_STREQ(COLOR_ICONS, "ColorIcons\\ball");
  EXPECT_STREQ(SPORT_ICONS, "SportIcons\\sport");
}

// The language a player gets from the lists the platforms give, and a
// translation's own order of a name's parts.
TEST_F(Core, LanguagesChosenAndTextsPutInUse) {
  const char *codes[] = {"de", "es", "pt_BR", "ru"};
  const auto pick = [&](std::vector<std::string> wanted) {
    const int i = chooseLanguage(wanted, codes, 4);
    return i < 0 ? std::string("en") : codes[i];
  };
  EXPECT_EQ(pick({"pt-PT", "de"}), "pt_BR");  // any region before the next
  EXPECT_EQ(pick({"es_MX.UTF-8"}), "es");
  EXPECT_EQ(pick({"fr", "RU-ru"}), "ru");
  EXPECT_EQ(pick({"en-GB", "de"}), "en");
  EXPECT_EQ(pick({"C.UTF-8", "de"}), "en");
  EXPECT_EQ(pick({"", "sr@latin", "de_AT@euro"}), "de");
  setenv("LANGUAGE", "ru:de", 1);
  setenv("LC_ALL", "C", 1);
  EXPECT_EQ(gettextPreferences(), std::vector<std::string>{"C"});
  unsetenv("LC_ALL");
  setenv("LC_MESSAGES", "es_ES.UTF-8", 1);
  EXPECT_EQ(gettextPreferences(),
            (std::vector<std::string>{"ru", "de", "es_ES.UTF-8"}));
  unsetenv("LC_MESSAGES");
  unsetenv("LANGUAGE");

  EXPECT_EQ(formatText("%2$s, place %1$d", 3, "red"), "red, place 3");
  EXPECT_EQ(formatText("v%s %d%% %q", 7, "1.0"), "v1.0 7% q");
  EXPECT_EQ(useLanguage({"ru"}), "ru");
  EXPECT_STRNE(TEXT_STUDY, "Study Board. ..");
  EXPECT_STREQ(startText(*findControl(ID_STATUS)), TEXT_NO_GAME);
  EXPECT_EQ(controlName(placeId(2)), formatText(NAME_PLACE, 2, NAME_COLOUR_2));
  EXPECT_EQ(useLanguage({}), "en");
  EXPECT_STREQ(TEXT_STUDY, "Study Board. ..");
}

TEST_F(Core, StartUpStateIsTheIdleBoard) {
  EXPECT_EQ(colorset, 2);
  EXPECT_EQ(roundNumber, 0);
  EXPECT_EQ(gameRunning, 0);
  EXPECT_EQ(board, std::vector<int>(17, 0));
  const char *expected[] = {"1", "2", "1", "2"};
  for (int k = 1; k <= PLACES; ++k) {
    EXPECT_EQ(place(k).value, 0);
    EXPECT_EQ(place(k).path, std::string("ColorIcons\\ball") +
                                 (k <= 4 ? expected[k - 1] : "0") + ".bmp");
  }
  EXPECT_EQ(ConvertMe, "");
  EXPECT_EQ(HelpFiler, "");
}

TEST_F(Core, SmallHelpers) {
  for (auto [v, t] : {std::pair{0, "0"}, {7, "7"}, {12, "12"}, {-3, "-3"}}) {
    IntToString(v);
    EXPECT_EQ(ConvertMe, t);
  }
  board.assign(17, 5);
  setarray();
  EXPECT_EQ(board[0], 0);
  for (int k = 1; k <= 16; ++k) EXPECT_EQ(board[k], 1);
  roundNumber = 1;
  for (int k = 1; k <= 16; ++k) place(k).value = 3;
  resetvals();
  for (int k = 1; k <= 16; ++k) EXPECT_EQ(place(k).value, 0);

  setExecutablePath("C:\\Games\\Quintara\\quintara.exe");
  EXPECT_EQ(getDrivePath, "C:\\Games\\Quintara\\");
  EXPECT_EQ(HelpFiler, "C:\\Games\\Quintara\\quintara-help.chm");
  setExecutablePath("/opt/quintara/quintara");
  EXPECT_EQ(HelpFiler, "/opt/quintara/quintara-help.chm");
  setExecutablePath("quintara.exe");
  EXPECT_EQ(getDrivePath, "");
  EXPECT_EQ(HelpFiler, "quintara-help.chm");
}

// Every carried picture of every face at both scales, the balls, the icon and
// the sounds has a resource number of its own: none is missing or shared.
TEST_F(Core, ResourceNumbersAreUnique) {
  std::vector<int> pictures{BMP_FACE, BMP_WINDOW_ICON};
  for (const Control &c : kControls)
    if (c.kind == ControlKind::SkinnedButton)
      pictures.insert(pictures.end(), {skinNormal(c.id), skinPressed(c.id)});
  for (const bool on : {false, true}) {
    for (int look = 0; look < 3; ++look)
      pictures.push_back(checkBoxPicture(on, look));
    for (int n = 0; n < 8; ++n) pictures.push_back(ballPicture(on, n));
  }
  std::vector<int> all{ICON_GROUP_EXE, ICON_GROUP_SMALL};
  for (int k = 1; k <= SOUNDS + 1; ++k) all.push_back(soundResource(k));
  for (const int id : pictures)
    for (const int face : {id, portraitPicture(id), sidewaysPicture(id)})
      for (int scale = 1; face && scale <= ARTWORK_SCALES; ++scale)
        all.push_back(atScale(face, scale));
  EXPECT_EQ(std::set<int>(all.begin(), all.end()).size(), all.size());
  EXPECT_EQ(std::count(all.begin(), all.end(), 0), 0);
}

// A place is named by what its image path shows, whichever set it is in.
TEST_F(Core, NamesFollowWhatThePlacesShow) {
  EXPECT_EQ(controlName(ID_NEWGAME), "Start Game");
  EXPECT_EQ(controlName(ID_BALLCOUNT), "Color #");
  EXPECT_EQ(controlName(ID_SPORTS), "Use Sports-Iconset");
  EXPECT_EQ(controlName(placeId(2)), "Place 2, blue");
  EXPECT_EQ(controlName(placeId(16)), "Place 16, empty");
  gameCommand(ID_SPORTS);
  EXPECT_EQ(controlName(placeId(1)), "Place 1, football");
  place(3).path = "SportIcons\\sport7.bmp";
  EXPECT_EQ(controlName(placeId(3)), "Place 3, bowling ball");
  for (const char *odd : {"ColorIcons\\ball8.bmp", "ball3.bm", "", ".bmp"}) {
    place(3).path = odd;
    EXPECT_EQ(controlName(placeId(3)), "Place 3, empty") << odd;
  }
  EXPECT_EQ(controlName(0), "");
  EXPECT_EQ(controlName(ID_PLACE1 + 1), "");
}

TEST_F(Core, NewGame) {
  EXPECT_EQ(command(ID_NEWGAME),
            Ops({"playwav4", txt(ID_ROUNDS, "01")}) + studyTail());
  EXPECT_EQ(roundNumber, 1);
  EXPECT_EQ(inPause, 1);
  EXPECT_EQ(ticktock, 10);
  for (int k = 5; k <= 16; ++k) {
    EXPECT_EQ(place(k).path, "ColorIcons\\ball0.bmp");
    EXPECT_EQ(board[k], 1);
  }
  for (int k = 1; k <= 4; ++k)
    EXPECT_EQ(place(k).path,
              "ColorIcons\\ball" + std::to_string(board[k]) + ".bmp");
}

TEST_F(Core, StudyCountdownAndSwitch) {
  gameCommand(ID_NEWGAME);
  for (int left = 9; left >= 1; --left)
    EXPECT_EQ(opsOf(gameTick),
              Ops{txt(ID_COUNTDOWN, "0" + std::to_string(left))});
  EXPECT_EQ(opsOf(gameTick),
            Ops({txt(ID_COUNTDOWN, "00"), "timer stop", "playwav7",
                 txt(ID_STATUS, TEXT_RESOLVE), "timer start"}) +
                redraws(1, 4));
  EXPECT_EQ(inPause, 0);
  EXPECT_EQ(ticktock, 12);
  for (int k = 1; k <= 16; ++k)
    EXPECT_EQ(place(k).path, "ColorIcons\\ball0.bmp");
  EXPECT_EQ(recorder.text[ID_GAMECLOCK], "00:00");
}

TEST_F(Core, SwitchRedrawsOnlyThePlacesInPlay) {
  for (auto [round, last] : {std::pair{1, 4},
                             {2, 8},
                             {5, 8},
                             {6, 12},
                             {10, 12},
                             {11, 16},
                             {40, 16}}) {
    restart();
    gameCommand(ID_NEWGAME);
    roundNumber = round;
    ticks(9);
    Ops ops = opsOf(gameTick);
    EXPECT_EQ(Ops(ops.end() - last, ops.end()), redraws(1, last)) << round;
    EXPECT_EQ(ops.size(), 5u + last) << round;
  }
}

TEST_F(Core, GameClockAndTimeLimit) {
  toResolve();
  std::map<int, std::string> shown;
  for (int t = 1; t < 299; ++t) {
    ticks(1);
    shown[t] = recorder.text[ID_GAMECLOCK];
  }
  std::string sampled;
  for (int t : {1, 9, 10, 59, 60, 61, 70, 240, 298}) sampled += shown[t] + " ";
  EXPECT_EQ(sampled, "00:01 00:09 00:10 00:59 01:00 01:01 01:10 04:00 04:58 ");
  EXPECT_EQ(recorder.text[ID_STATUS], TEXT_RESOLVE);
  EXPECT_EQ(opsOf(gameTick),
            Ops({txt(ID_STATUS, TEXT_EXPIRED), "playwav6", "timer stop",
                 "box on", txt(ID_GAMECLOCK, "04:59")}));
  EXPECT_EQ(gameRunning, 0);
  EXPECT_EQ(gametock + mincount, 0);
  EXPECT_EQ(ticktock, 12);
  // The player's board stays, and the game is over for every input but a
  // new game.
  const std::string shownPath = balla;
  EXPECT_EQ(opsOf([] {
              gameCommand(ID_PLACE1);
              gameTick();
            }),
            Ops{});
  EXPECT_EQ(balla, shownPath);
  EXPECT_EQ(command(ID_NEWGAME)[0], "playwav4");
}

TEST_F(Core, WinningClickAdvancesTheRound) {
  toResolve();
  const int last = matchAllButLast();
  ticks(192);                     // 03:12 on the clock
  const int v = board[last] - 1;  // one click before the match
  while (place(last).value != v) gameCommand(placeId(last));
  const Ops ops = command(placeId(last));
  const Ops head = {"playwav5", redraw(last), "playwav3", "timer stop",
                    txt(ID_ROUNDS, "02")};
  EXPECT_EQ(ops, head + studyTail());
  EXPECT_EQ(roundNumber, 2);
  EXPECT_EQ(roundWon, 0);
  EXPECT_EQ(inPause, 1);
  EXPECT_EQ(gametock + mincount, 0);
  for (int k = 1; k <= 16; ++k) EXPECT_EQ(place(k).value, 0);
  for (int k = 9; k <= 16; ++k) EXPECT_EQ(board[k], 1);
  // The new round's study phase starts from 10 again.
  ticks(1);
  EXPECT_EQ(recorder.text[ID_COUNTDOWN], "09");
}

TEST_F(Core, RoundTextsAndGrowingBoard) {
  gameCommand(ID_NEWGAME);
  std::map<int, std::string> shown;
  for (int r = 2; r <= 12; ++r) {
    ticks(10);
    // A place joins play only with its group.
    const int next = placesInPlay(roundNumber) + 1;
    if (next <= 16) {
      EXPECT_EQ(command(placeId(next)), Ops{}) << r;
    }
    winRound();
    shown[roundNumber] = recorder.text[ID_ROUNDS];
  }
  for (auto [round, text] :
       {std::pair{2, "02"}, {9, "09"}, {10, "10"}, {11, "11"}})
    EXPECT_EQ(shown[round], text) << round;
  for (int k = 1; k <= 16; ++k) EXPECT_NE(board[k], 0);
  roundNumber = 122;
  ticks(10);
  winRound();
  EXPECT_EQ(recorder.text[ID_ROUNDS], "123");
}

TEST_F(Core, CheckWinComparesThePlacesInPlayInOrder) {
  roundNumber = 1;
  board = {0, 2, 1, 1, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  avalue = 2, bvalue = 1, cvalue = 1;
  checkWin();
  EXPECT_EQ(roundNumber, 1);
  EXPECT_EQ(roundWon, 0);
  dvalue = 2;
  checkWin();
  EXPECT_EQ(roundNumber, 2);
  EXPECT_EQ(roundWon, 1);

  roundWon = 0;
  roundNumber = 0;
  checkWin();
  EXPECT_EQ(roundNumber, 0);

  // Round 5 compares eight places; a win moves on by one round only.
  roundNumber = 5;
  for (int k = 1; k <= 8; ++k) place(k).value = board[k];
  checkWin();
  EXPECT_EQ(roundNumber, 6);
  checkWin();
  EXPECT_EQ(roundNumber, 6);
}

TEST_F(Core, ClicksStepTheColourAndAreGated) {
  // Before a game, in the study phase and outside play: nothing at all.
  EXPECT_EQ(command(ID_PLACE1), Ops{});
  gameCommand(ID_NEWGAME);
  EXPECT_EQ(command(ID_PLACE1), Ops{});
  ticks(10);
  for (int k : {5, 9, 13}) EXPECT_EQ(command(placeId(k)), Ops{});
  board[1] = 99;  // so that no click here can win
  std::vector<int> seen;
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(command(ID_PLACE1), Ops({"playwav5", redraw(1)}));
    seen.push_back(avalue);
  }
  EXPECT_EQ(seen, std::vector<int>({1, 2, 1, 2}));
  EXPECT_EQ(balla, "ColorIcons\\ball2.bmp");

  restart();
  for (int i = 0; i < 5; ++i) gameCommand(ID_COLORCOUNT);
  toResolve();
  board[2] = 99;
  seen.clear();
  for (int i = 0; i < 8; ++i) {
    gameCommand(placeId(2));
    seen.push_back(bvalue);
  }
  EXPECT_EQ(seen, std::vector<int>({1, 2, 3, 4, 5, 6, 7, 1}));
}

TEST_F(Core, CancelInEachPhase) {
  gameCommand(ID_NEWGAME);
  ticks(3);
  const std::vector<int> dealt = board;
  const std::string shownPath = balla;
  const Ops cancelOps = {"playwav1", txt(ID_STATUS, TEXT_CANCELED),
                         "timer stop", "box on"};
  EXPECT_EQ(command(ID_CANCEL), cancelOps);
  EXPECT_EQ(ticktock, 0);
  EXPECT_EQ(gameRunning, 0);
  EXPECT_EQ(recorder.text[ID_COUNTDOWN], "07");
  EXPECT_EQ(board, dealt);
  EXPECT_EQ(balla, shownPath);
  EXPECT_EQ(command(ID_CANCEL), Ops{"beep"});
  // A stray tick after the cancel must not bring the game back.
  EXPECT_EQ(opsOf(gameTick), Ops{});

  toResolve();
  EXPECT_EQ(recorder.text[ID_ROUNDS], "01");
  ticks(137);  // 02:17
  EXPECT_EQ(command(ID_CANCEL), cancelOps);
  EXPECT_EQ(gametock + mincount, 0);
  EXPECT_EQ(ticktock, 12);
  EXPECT_EQ(recorder.text[ID_GAMECLOCK], "02:17");
  gameCommand(ID_NEWGAME);
  EXPECT_EQ(recorder.text[ID_GAMECLOCK], "00:00");
  EXPECT_EQ(recorder.text[ID_COUNTDOWN], "10");
}

TEST_F(Core, CommandsRefusedWhileAGameRuns) {
  gameCommand(ID_NEWGAME);
  for (bool study : {true, false}) {
    if (!study) ticks(10);
    const auto before = recorder.text;
    const int colours = colorset;
    EXPECT_EQ(command(ID_NEWGAME), Ops{"beep"});
    EXPECT_EQ(command(ID_COLORCOUNT), Ops{"beep"});
    for (int id : {int(ID_SPORTS), 0, 1451, 2250})
      EXPECT_EQ(command(id), Ops{}) << id;
    EXPECT_EQ(recorder.text, before);
    EXPECT_EQ(colorset, colours);
    EXPECT_EQ(iconpath, COLOR_ICONS);
  }
}

TEST_F(Core, ColourCountCycles) {
  std::vector<std::string> shown;
  for (int i = 0; i < 7; ++i) {
    const Ops ops = command(ID_COLORCOUNT);
    EXPECT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0], "playwav1");
    shown.push_back(recorder.text[ID_BALLCOUNT]);
  }
  EXPECT_EQ(shown, Ops({"3", "4", "5", "6", "7", "2", "3"}));
  EXPECT_EQ(colorset, 3);
}

TEST_F(Core, IconSetRestoresTheIdleBoard) {
  toResolve();
  gameCommand(ID_CANCEL);
  for (const char *set : {SPORT_ICONS, COLOR_ICONS}) {
    EXPECT_EQ(command(ID_SPORTS), Ops({"playwav1", "redrawWindow"}));
    EXPECT_EQ(iconpath, set);
    for (int k = 1; k <= 16; ++k)
      EXPECT_EQ(place(k).path,
                set + std::to_string(k > 4 ? 0 : 2 - k % 2) + ".bmp");
  }
  gameCommand(ID_SPORTS);
  gameCommand(ID_NEWGAME);
  for (int k = 1; k <= 16; ++k)
    EXPECT_EQ(
        place(k).path,
        "SportIcons\\sport" + std::to_string(k <= 4 ? board[k] : 0) + ".bmp");
}

TEST_F(Core, WindowCommands) {
  EXPECT_EQ(command(ID_MINIMISE), Ops({"playwav2", "minimise"}));
  EXPECT_EQ(command(ID_HELP), Ops({"playwav1", "help"}));
  for (int id : {ID_CLOSE, ID_QUIT}) {
    restart();
    EXPECT_EQ(command(id), Ops{"end"});
    for (int phaseTicks : {3, 10}) {
      restart();
      gameCommand(ID_NEWGAME);
      ticks(phaseTicks);
      EXPECT_EQ(command(id), Ops({"timer stop", "end"}));
    }
  }
  // Help and minimise leave a running game alone.
  restart();
  toResolve();
  ticks(5);
  gameCommand(ID_HELP);
  gameCommand(ID_MINIMISE);
  ticks(1);
  EXPECT_EQ(recorder.text[ID_GAMECLOCK], "00:06");
}

TEST_F(Core, ArrowsShowAndMoveTheCursorUpToTheEdgesAClickHidesIt) {
  Ops ops;
  for (Key k : {Key::Down, Key::Left, Key::Up, Key::Right, Key::Down, Key::Down,
                Key::Down, Key::Down, Key::Right, Key::Right, Key::Right})
    ops = ops + opsOf([k] { gameKey(k); });
  EXPECT_EQ(ops, Ops({redraw(1), redraw(1), redraw(2), redraw(2), redraw(6),
                      redraw(6), redraw(10), redraw(10), redraw(14), redraw(14),
                      redraw(15), redraw(15), redraw(16)}));
  EXPECT_EQ(command(ID_CANCEL), Ops({redraw(16), "beep"}));
  EXPECT_EQ(command(ID_CANCEL), Ops{"beep"});
  EXPECT_EQ(opsOf([] { gameKey(Key::Up); }), Ops{redraw(16)});
}

// Each key in each phase does what its click does, refusals and beeps
// alike; Space acts on the place under the cursor, in play or not.
TEST_F(Core, KeysAreTheClicksTheyStandFor) {
  const Key keys[] = {Key::Act,     Key::Act,         Key::NewGame, Key::Cancel,
                      Key::IconSet, Key::ColourCount, Key::Help,    Key::Quit};
  const int ids[] = {ID_PLACE1, placeId(5),    ID_NEWGAME, ID_CANCEL,
                     ID_SPORTS, ID_COLORCOUNT, ID_HELP,    ID_QUIT};
  for (int phase : {0, 3, 10})  // stopped, study, resolve
    for (int i = 0; i < 8; ++i) {
      Ops seen[2];
      for (Ops &ops : seen) {
        restart();
        cursor = std::max(placeOf(ids[i]), 1);
        if (phase) gameCommand(ID_NEWGAME);
        ticks(phase);
        ops = opsOf(
            [&] { &ops == seen ? gameKey(keys[i]) : gameCommand(ids[i]); });
      }
      EXPECT_EQ(seen[0], seen[1]) << phase << " " << ids[i];
    }
}

// The draws a seeded generator gives, as colour values.
std::vector<int> draws(unsigned seed, int n, int colours) {
  srand(seed);
  std::vector<int> v;
  for (int i = 0; i < n; ++i) v.push_back(rand() % colours + 1);
  return v;
}

TEST_F(Core, DealingFollowsTheRuntimeGenerator) {
  const time_t before = time(nullptr);
  roundNumber = 1;
  setarray();
  loadBoard();
  const time_t after = time(nullptr);
  EXPECT_EQ(scramble, 1);
  const std::vector<int> first(board.begin() + 1, board.begin() + 5);
  const bool fromTime =
      first == draws(before, 4, 2) || first == draws(after, 4, 2);
  EXPECT_TRUE(fromTime) << "the first deal seeds from the time";

  // Later deals go on with the sequence without seeding again.
  for (auto [round, n] :
       {std::pair{2, 8}, {5, 8}, {6, 12}, {10, 12}, {11, 16}, {30, 16}}) {
    srand(1234 + round);
    colorset = 2 + round % 6;
    iconpath = round % 2 ? SPORT_ICONS : COLOR_ICONS;
    roundNumber = round;
    clearBoard();
    setarray();
    loadBoard();
    const std::vector<int> expected = draws(1234 + round, n, colorset);
    for (int k = 1; k <= 16; ++k) {
      const int v = k <= n ? expected[k - 1] : 1;
      EXPECT_EQ(board[k], v) << round << " " << k;
      EXPECT_EQ(place(k).path,
                iconpath + (k <= n ? std::to_string(v) : "0") + ".bmp");
    }
    EXPECT_EQ(ConvertMe, std::to_string(expected.back()));
  }
  EXPECT_EQ(scramble, 7);
}

}  // namespace
