// The shell operations the core asks for, carried out on the main window,
// plus the sounds and the help file.
#include "shell.h"

#include <string>

#include "language.h"
#include "layout.h"
#include "state.h"
#include "texts.h"
#include "win32.h"

HWND hMainWindow;

std::wstring wide(const std::string &text) {
  std::wstring result(text.size(), L'\0');
  result.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(),
                                    static_cast<int>(text.size()), &result[0],
                                    static_cast<int>(result.size())));
  return result;
}

std::string narrow(const wchar_t *text) {
  std::string result(
      WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr),
      '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, &result[0],
                      static_cast<int>(result.size()), nullptr, nullptr);
  result.resize(result.empty() ? 0 : result.size() - 1);
  return result;
}

void setStaticText(int id, const std::string &text) {
  SetDlgItemTextW(hMainWindow, id, wide(text).c_str());
  accessibleChanged(id);
}

void redrawPlace(int k) {
  const HWND button = GetDlgItem(hMainWindow, placeId(k));
  InvalidateRect(button, nullptr, TRUE);
  UpdateWindow(button);
  accessibleChanged(placeId(k));
}

void redrawWindow() {
  // The icon set box shows the set in play, also when a key chose it.
  CheckDlgButton(hMainWindow, ID_SPORTS,
                 sportset % 2 ? BST_CHECKED : BST_UNCHECKED);
  InvalidateRect(hMainWindow, nullptr, TRUE);
  UpdateWindow(hMainWindow);
  // The icon set shown, so each place's name, and the box's tick.
  for (const Control &c : kControls) accessibleChanged(c.id);
}

void enableIconSetBox(bool enable) {
  EnableWindow(GetDlgItem(hMainWindow, ID_SPORTS), enable);
  accessibleChanged(ID_SPORTS);
}

void startTimer() { SetTimer(hMainWindow, ID_TIMER, TIMER_PERIOD_MS, nullptr); }

void stopTimer() { KillTimer(hMainWindow, ID_TIMER); }

void beep() { MessageBeep(0); }

void minimiseWindow() { ShowWindow(hMainWindow, SW_MINIMIZE); }

void endProgram() { DestroyWindow(hMainWindow); }

namespace {

using PlaySoundProc = BOOL(WINAPI *)(LPCSTR, HMODULE, DWORD);

// winmm comes from the system folder only, so a winmm.dll put beside the
// executable or in the current folder never runs in this process.
PlaySoundProc loadPlaySound() {
  const HMODULE winmm =
      LoadLibraryExA("winmm.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!winmm) return nullptr;
  return reinterpret_cast<PlaySoundProc>(
      reinterpret_cast<void (*)()>(GetProcAddress(winmm, "PlaySoundA")));
}

}  // namespace

void playSound(int k) {
  static const PlaySoundProc play = loadPlaySound();
  if (play)
    play(MAKEINTRESOURCEA(soundResource(k)), GetModuleHandleA(nullptr),
         SND_RESOURCE | SND_ASYNC);
}

namespace {

// The help viewer reads its file's path from a narrow command line in the
// system's code page, so it is given the short form of the path where the
// file system keeps one: plain letters, whatever the folder is called.
std::string shortPath(const std::string &path) {
  std::string result(GetShortPathNameA(path.c_str(), nullptr, 0), '\0');
  const DWORD length =
      GetShortPathNameA(path.c_str(), &result[0], result.size());
  if (length == 0 || length >= result.size()) return path;
  result.resize(length);
  return result;
}

// The help in the language in use (quintara-help-ru.chm) where it lies
// beside the program, else the English one.
std::string helpFile() {
  if (languageInUse() == "en") return HelpFiler;
  const std::string own = HelpFiler.substr(0, HelpFiler.rfind('.')) + "-" +
                          languageInUse() + ".chm";
  return GetFileAttributesA(own.c_str()) == INVALID_FILE_ATTRIBUTES ? HelpFiler
                                                                    : own;
}

}  // namespace

void helpload() {
  const auto opened = reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, "open", shortPath(helpFile()).c_str(), nullptr,
                    nullptr, SW_SHOW));
  // No owner: the game goes on behind the box.
  if (opened <= 32)
    MessageBoxW(nullptr, wide(TEXT_HELP_ERROR).c_str(),
                wide(TEXT_HELP_ERROR_TITLE).c_str(), 0);
}
