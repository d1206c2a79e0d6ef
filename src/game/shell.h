// What the game asks of the window shell: the core's only way out. Every
// front end defines these functions, and so does the tests' recorder. Each
// takes effect before it returns.
#pragma once

#include <string>

// Replace the whole text of static id (1200, 1250, 1300, 1350 or 1400).
void setStaticText(int id, const std::string &text);
// Repaint place k (1..16) at once from its image path.
void redrawPlace(int k);
// Repaint the background and every control at once.
void redrawWindow();
// Let the icon set check box take clicks, or grey it out.
void enableIconSetBox(bool enable);
// Timer ID_TIMER, every TIMER_PERIOD_MS; a stop drops any tick not yet
// handled, and a start gives the first tick a full period later.
void startTimer();
void stopTimer();
void beep();
void minimiseWindow();
// Destroy the main window, which ends the program with exit code 0.
void endProgram();
// Start sound k (1..7) and return at once; it cuts off the one still playing.
void playSound(int k);
// Open HelpFiler with the desktop's viewer, or show the help error box.
void helpload();

inline void playwav1() { playSound(1); }
inline void playwav2() { playSound(2); }
inline void playwav3() { playSound(3); }
inline void playwav4() { playSound(4); }
inline void playwav5() { playSound(5); }
inline void playwav6() { playSound(6); }
inline void playwav7() { playSound(7); }
