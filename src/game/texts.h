// Every text the program shows or names, once.
#pragma once

constexpr const char *TEXT_NO_GAME = "No game running";
constexpr const char *TEXT_STUDY = "Study Board. ..";
constexpr const char *TEXT_RESOLVE = "Resolve Board. ..";
constexpr const char *TEXT_CANCELED = "Game canceled. ..";
constexpr const char *TEXT_EXPIRED = "Time has expired!";
constexpr const char *TEXT_HELP_ERROR = "Help file could not be opened...";
constexpr const char *TEXT_HELP_ERROR_TITLE = "Error - Quintara";
constexpr const char *HELP_FILE_NAME = "quintara-help.chm";
constexpr const char *szClassName = "Quintara";
constexpr const char *WINDOW_TITLE = "Quintara";
constexpr const char *COLOR_ICONS = "ColorIcons\\ball";
constexpr const char *SPORT_ICONS = "SportIcons\\sport";

// What a screen reader calls the controls: the buttons and the check box by
// their labels, the statics by the labels painted beside them, a place by
// its number and what it shows.
constexpr const char *NAME_CLOSE = "Close";
constexpr const char *NAME_MINIMISE = "Minimise";
constexpr const char *NAME_HELP = "Help";
constexpr const char *NAME_QUIT = "Quit";
constexpr const char *NAME_CANCEL = "Cancel";
constexpr const char *NAME_COLORCOUNT = "Color #";
constexpr const char *NAME_NEWGAME = "Start Game";
constexpr const char *NAME_SPORTS = "Use Sports-Iconset";
constexpr const char *NAME_COUNTDOWN = "Round Begins in";
constexpr const char *NAME_ROUNDS = "Round Number";
constexpr const char *NAME_GAMECLOCK = "Time Lapsed";
constexpr const char *NAME_BALLCOUNT = "Color #";
constexpr const char *NAME_STATUS = "Game Status";
constexpr const char *NAME_PLACE = "Place ";
constexpr const char *NAME_EMPTY = "empty";
constexpr const char *NAME_COLOUR_1 = "red";
constexpr const char *NAME_COLOUR_2 = "blue";
constexpr const char *NAME_COLOUR_3 = "yellow";
constexpr const char *NAME_COLOUR_4 = "green";
constexpr const char *NAME_COLOUR_5 = "purple";
constexpr const char *NAME_COLOUR_6 = "light blue";
constexpr const char *NAME_COLOUR_7 = "white";
constexpr const char *NAME_SPORT_1 = "football";
constexpr const char *NAME_SPORT_2 = "basketball";
constexpr const char *NAME_SPORT_3 = "tennis ball";
constexpr const char *NAME_SPORT_4 = "baseball";
constexpr const char *NAME_SPORT_5 = "volleyball";
constexpr const char *NAME_SPORT_6 = "billiard ball";
constexpr const char *NAME_SPORT_7 = "bowling ball";
