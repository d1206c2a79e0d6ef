// What the Win32 front end's files share: the one main window, its
// procedure and its scale.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Set once by WinMain; the shell operations act on it, since the core calls
// them without a window.
extern HWND hMainWindow;

// The game's texts are UTF-8; the system's wide calls take UTF-16.
std::wstring wide(const std::string &text);
std::string narrow(const wchar_t *text);

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                 LPARAM lParam);

// Paints owner-drawn button id (a skinned button or a ball place).
void drawButton(int id, const DRAWITEMSTRUCT &item);
// Draws on dc, whose origin is the face's or button's corner, the captions
// of that button (0: of the face) in the language in use, moved shift
// pixels of 1x right and down.
void drawCaptions(HDC dc, int button, int shift);

// Makes each control of window answer screen readers itself.
void makeAccessible(HWND window);
// The main window's object for screen readers, for WM_GETOBJECT's wParam.
LRESULT windowObject(HWND window, WPARAM wParam);
// Tells screen readers what has changed in control id's name, value (a
// static's text) or state since they were last told.
void accessibleChanged(int id);

// The main window's DPI: 96 at a scale of 1.
extern int windowDpi;

// A length or coordinate of the 96-DPI layout at windowDpi, rounded. Scale a
// box's edges, not its size, so that boxes side by side stay on their
// painted fields and no gap opens or closes between them.
int scaled(int v);
RECT scaledRect(int left, int top, int right, int bottom);

// The system's DPI, and the DPI of a window's monitor where the system tells.
int systemDpi();
int dpiOf(HWND window);

// The scale of the artwork to draw from at windowDpi.
int windowArtwork();

// Above 96 DPI, sets dc to stretch pictures smoothly, so that a picture
// scaled down or a player's 48 x 48 ball scaled up is not jagged.
void smoothStretchMode(HDC dc);
// Copies picture from (fromW x fromH) onto dc's (x, y, w, h) in that mode.
void smoothStretch(HDC dc, int x, int y, int w, int h, HDC from, int fromW,
                   int fromH);

// A pattern brush of the window face at windowDpi.
HBRUSH faceBrush();

// The font look narrowed, through its character width, to about narrow of
// its own width (1: not at all), then a pixel at a time until fits takes it.
HFONT narrowedFont(HDC dc, LOGFONTW look, double narrow,
                   const std::function<bool(HFONT)> &fits);

// Sets font's face to the one Windows shows the language in use in, where
// that language has one and it is installed; else leaves it as it is.
// Whether it did.
bool languageFace(LOGFONTW &font);

// Gives the statics their fonts at windowDpi.
void fitFonts(HWND window);

// Lays the window and its controls out at dpi, at the top left corner of
// suggested where the system suggests one, else where it is.
void rescale(HWND window, int dpi, const RECT *suggested);
