// Start-up: the paths, the window class with the painted face, the
// captionless window and its controls, then the message loop.
#include <string>
#include <vector>

#include "game.h"
#include "keys.h"
#include "language.h"
#include "layout.h"
#include "state.h"
#include "texts.h"
#include "win32.h"

namespace {

// The full path of this executable, however long: the buffer doubles until
// the whole path fits, so the help file is never sought beside a cut path.
std::string executablePath() {
  for (DWORD size = MAX_PATH; size <= 0x10000; size *= 2) {
    std::string path(size, '\0');
    const DWORD length = GetModuleFileNameA(nullptr, &path[0], size);
    if (length < size) {
      path.resize(length);
      return path;
    }
  }
  return "";
}

// The player's languages, most wanted first: those QUINTARA_LANG names, else
// the user's preferred interface languages ("ru-RU"), which Windows lists
// from Vista on, else the one interface language older systems have.
std::vector<std::string> preferredLanguages() {
  std::vector<std::string> out = overridePreferences();
  if (!out.empty()) return out;
  using ListProc = BOOL(WINAPI *)(DWORD, PULONG, PZZWSTR, PULONG);
  const auto list =
      reinterpret_cast<ListProc>(reinterpret_cast<void (*)()>(GetProcAddress(
          GetModuleHandleA("kernel32.dll"), "GetUserPreferredUILanguages")));
  ULONG count = 0, size = 0;
  if (list && list(MUI_LANGUAGE_NAME, &count, nullptr, &size) && size) {
    std::wstring names(size, L'\0');
    if (list(MUI_LANGUAGE_NAME, &count, &names[0], &size))
      for (const wchar_t *name = names.c_str(); *name;
           name += lstrlenW(name) + 1)
        out.push_back(narrow(name));
  }
  if (!out.empty()) return out;
  // Its ISO codes, as "pt-BR".
  const LCID locale = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
  char language[16] = "", region[16] = "";
  GetLocaleInfoA(locale, LOCALE_SISO639LANGNAME, language, sizeof language);
  GetLocaleInfoA(locale, LOCALE_SISO3166CTRYNAME, region, sizeof region);
  return {std::string(language) + "-" + region};
}

DWORD controlStyle(ControlKind kind) {
  switch (kind) {
    case ControlKind::Static:
      // A language read right to left reads so from the box's right edge.
      return WS_CHILD | WS_VISIBLE | SS_NOPREFIX |
             (rightToLeft() ? SS_RIGHT : SS_SIMPLE);
    case ControlKind::CheckBox:
      return WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX;
    case ControlKind::SkinnedButton:
    case ControlKind::Place:
      break;
  }
  return WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
}

void createControls(HWND window) {
  const HINSTANCE module = GetModuleHandleA(nullptr);
  for (const Control &c : kControls) {
    const bool isStatic = c.kind == ControlKind::Static;
    const RECT r = scaledRect(c.x, c.y, c.x + c.w, c.y + c.h);
    // Unicode controls, so that a text in any language reaches them whole,
    // whatever the system's code page.
    CreateWindowExW(isStatic && rightToLeft() ? WS_EX_RTLREADING : 0,
                    isStatic ? L"STATIC" : L"BUTTON", L"", controlStyle(c.kind),
                    r.left, r.top, r.right - r.left, r.bottom - r.top, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), module,
                    nullptr);
  }
  fitFonts(window);
  for (const Control &c : kControls)
    if (c.kind == ControlKind::Static)
      SetDlgItemTextW(window, c.id, wide(startText(c)).c_str());
  makeAccessible(window);
}

// Takes a key going down in the game's window as the game's key, before any
// control sees it, so the keys work whichever control has the focus (a
// button keeps it after a click). Alt and Windows keys go on to the system.
bool takeKey(const MSG &message) {
  const auto held = [](int key) { return GetKeyState(key) < 0; };
  const Modifiers modifiers{held(VK_CONTROL), held(VK_MENU),
                            held(VK_LWIN) || held(VK_RWIN)};
  Key key;
  if (message.message != WM_KEYDOWN ||
      (message.hwnd != hMainWindow && !IsChild(hMainWindow, message.hwnd)) ||
      !keyOfCode(static_cast<int>(message.wParam), modifiers, key))
    return false;
  gameKey(key);
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int show) {
  // Before any text is used.
  useLanguage(preferredLanguages());
  setExecutablePath(executablePath());

  // The window most likely opens on a monitor of the system's DPI; the
  // layout is made again below when it does not.
  windowDpi = systemDpi();
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = module;
  windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hIconSm =
      static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(ICON_GROUP_SMALL),
                                    IMAGE_ICON, scaled(16), scaled(16), 0));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  // The brush keeps its own copy of the face; a brush lives until the next
  // layout replaces it.
  windowClass.hbrBackground = faceBrush();
  windowClass.lpszClassName = szClassName;
  if (!RegisterClassExA(&windowClass)) return 0;

  // The window's offset from the screen's centre scales with it.
  const int screenW = GetSystemMetrics(SM_CXSCREEN);
  const int screenH = GetSystemMetrics(SM_CYSCREEN);
  hMainWindow = CreateWindowExA(
      0, szClassName, WINDOW_TITLE, WS_POPUP | WS_SYSMENU,
      screenW / 2 - scaled(screenW / 2 - windowX(screenW)),
      screenH / 2 - scaled(screenH / 2 - windowY(screenH)), scaled(WINDOW_W),
      scaled(WINDOW_H), nullptr, nullptr, module, nullptr);
  createControls(hMainWindow);
  if (dpiOf(hMainWindow) != windowDpi)
    rescale(hMainWindow, dpiOf(hMainWindow), nullptr);
  ShowWindow(hMainWindow, show);

  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (takeKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
