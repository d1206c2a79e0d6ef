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
