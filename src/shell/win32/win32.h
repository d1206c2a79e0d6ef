// What the Win32 front end's files share: the one main window and its
// procedure.
#pragma once

#include <windows.h>

// Set once by WinMain; the shell operations act on it, since the core calls
// them without a window.
extern HWND hMainWindow;

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                 LPARAM lParam);

// Paints owner-drawn button id (a skinned button or a ball place).
void drawButton(int id, const DRAWITEMSTRUCT &item);
