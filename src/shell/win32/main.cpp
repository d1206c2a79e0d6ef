// Start-up: the paths, the window class with the painted face, the
// captionless window and its controls, then the message loop.
#include <cstdlib>
#include <initializer_list>
#include <string>

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

DWORD controlStyle(ControlKind kind) {
  switch (kind) {
    case ControlKind::Static:
      return WS_CHILD | WS_VISIBLE | SS_SIMPLE | SS_NOPREFIX;
    case ControlKind::CheckBox:
      return WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX;
    case ControlKind::SkinnedButton:
    case ControlKind::Place:
      break;
  }
  return WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
}

// Whether every text drawn in font ends before the last pixel column of a
// box width pixels wide.
bool fits(HDC dc, HFONT font, std::initializer_list<const char *> texts,
          int width) {
  const HGDIOBJ old = SelectObject(dc, font);
  bool all = true;
  for (const char *text : texts) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    all = all && size.cx < width;
  }
  SelectObject(dc, old);
  return all;
}

// Gives static c font where all its texts fit in it, else the same face at
// the largest size that fits, measured on this system: the default faces are
// wider on some systems (Wine) than on others. A font made here lives as long
// as the process, like the window's brush.
void fitFont(HWND control, const Control &c, HFONT font,
             std::initializer_list<const char *> texts) {
  LOGFONTA wanted{};
  GetObjectA(font, sizeof wanted, &wanted);
  LOGFONTA smaller = wanted;
  const HDC dc = CreateCompatibleDC(nullptr);
  // The face the font is drawn in, which may stand in for the face it names.
  const HGDIOBJ old = SelectObject(dc, font);
  GetTextFaceA(dc, LF_FACESIZE, smaller.lfFaceName);
  SelectObject(dc, old);
  HFONT made = nullptr;
  while (!fits(dc, font, texts, c.w) && std::abs(smaller.lfHeight) > 1) {
    smaller.lfHeight -= smaller.lfHeight > 0 ? 1 : -1;
    smaller.lfWidth = wanted.lfWidth * smaller.lfHeight / wanted.lfHeight;
    if (made) DeleteObject(made);
    font = made = CreateFontIndirectA(&smaller);
  }
  DeleteDC(dc);
  if (made || c.id == ID_STATUS)
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void createControls(HWND window) {
  const HINSTANCE module = GetModuleHandleA(nullptr);
  for (const Control &c : kControls) {
    const bool isStatic = c.kind == ControlKind::Static;
    const HWND control = CreateWindowExA(
        0, isStatic ? "STATIC" : "BUTTON", "", controlStyle(c.kind), c.x, c.y,
        c.w, c.h, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
        module, nullptr);
    if (!isStatic) continue;
    // The status line shows five messages in the GUI font; a number static
    // shows digits of one width in the system font, so its first text is
    // its widest.
    if (c.id == ID_STATUS)
      fitFont(control, c, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)),
              {TEXT_NO_GAME, TEXT_STUDY, TEXT_RESOLVE, TEXT_CANCELED,
               TEXT_EXPIRED});
    else
      fitFont(control, c, static_cast<HFONT>(GetStockObject(SYSTEM_FONT)),
              {c.text});
    SetDlgItemTextA(window, c.id, c.text);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int show) {
  setExecutablePath(executablePath());

  // The brush keeps its own copy of the face; the brush lives as long as the
  // process.
  const HANDLE face = LoadImageA(module, MAKEINTRESOURCEA(BMP_FACE),
                                 IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = module;
  windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hIconSm = static_cast<HICON>(LoadImageA(
      module, MAKEINTRESOURCEA(ICON_GROUP_SMALL), IMAGE_ICON, 16, 16, 0));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = CreatePatternBrush(static_cast<HBITMAP>(face));
  windowClass.lpszClassName = szClassName;
  DeleteObject(face);
  if (!RegisterClassExA(&windowClass)) return 0;

  hMainWindow =
      CreateWindowExA(0, szClassName, WINDOW_TITLE, WS_POPUP | WS_SYSMENU,
                      windowX(GetSystemMetrics(SM_CXSCREEN)),
                      windowY(GetSystemMetrics(SM_CYSCREEN)), WINDOW_W,
                      WINDOW_H, nullptr, nullptr, module, nullptr);
  createControls(hMainWindow);
  ShowWindow(hMainWindow, show);

  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
