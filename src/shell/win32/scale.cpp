// The window at the DPI of the monitor it is on: the face, the controls'
// places and the statics' fonts, all scaled from their 96-DPI sizes. At 96
// DPI the window is drawn with the very calls of an unscaled one.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <string>

#include "caption.h"
#include "language.h"
#include "layout.h"
#include "painter.h"
#include "texts.h"
#include "win32.h"

int windowDpi = USER_DEFAULT_SCREEN_DPI;

int scaled(int v) { return MulDiv(v, windowDpi, USER_DEFAULT_SCREEN_DPI); }

RECT scaledRect(int left, int top, int right, int bottom) {
  return RECT{scaled(left), scaled(top), scaled(right), scaled(bottom)};
}

int systemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int dpiOf(HWND window) {
  // GetDpiForWindow came with Windows 10 (1607); before it, and where a
  // system lacks it, every window has the system's DPI.
  using GetDpiForWindowProc = UINT(WINAPI *)(HWND);
  static const auto get =
      reinterpret_cast<GetDpiForWindowProc>(reinterpret_cast<void (*)()>(
          GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  const int dpi = get ? static_cast<int>(get(window)) : 0;
  return dpi > 0 ? dpi : systemDpi();
}

int windowArtwork() {
  return artworkScale(double(windowDpi) / USER_DEFAULT_SCREEN_DPI);
}

void smoothStretchMode(HDC dc) {
  // At a scale of 1 the pictures are copied as they always were.
  if (windowDpi == USER_DEFAULT_SCREEN_DPI) return;
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
}

void smoothStretch(HDC dc, int x, int y, int w, int h, HDC from, int fromW,
                   int fromH) {
  smoothStretchMode(dc);
  StretchBlt(dc, x, y, w, h, from, 0, 0, fromW, fromH, SRCCOPY);
}

// The window face at the window's size: the picture of the artwork's scale,
// stretched smoothly where its size differs; in a language other than
// English, the caption-free face with the captions drawn on it.
HBRUSH faceBrush() {
  const HINSTANCE module = GetModuleHandleA(nullptr);
  const bool words = textsInEnglish();
  const HANDLE face =
      LoadImageA(module,
                 MAKEINTRESOURCEA(atScale(words ? BMP_FACE : bareOf(BMP_FACE),
                                          windowArtwork())),
                 IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  const int w = scaled(WINDOW_W), h = scaled(WINDOW_H);
  BITMAP size{};
  GetObjectA(face, sizeof size, &size);
  if (!face || (size.bmWidth == w && size.bmHeight == h)) {
    if (face && !words) {
      const HDC dc = CreateCompatibleDC(nullptr);
      const HGDIOBJ old = SelectObject(dc, face);
      drawCaptions(dc, 0, 0);
      SelectObject(dc, old);
      DeleteDC(dc);
    }
    const HBRUSH brush = CreatePatternBrush(static_cast<HBITMAP>(face));
    DeleteObject(face);
    return brush;
  }
  const HDC screen = GetDC(nullptr);
  const HBITMAP fitted = CreateCompatibleBitmap(screen, w, h);
  const HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ oldFrom = SelectObject(from, face);
  const HGDIOBJ oldTo = SelectObject(to, fitted);
  smoothStretch(to, 0, 0, w, h, from, size.bmWidth, size.bmHeight);
  if (!words) drawCaptions(to, 0, 0);
  SelectObject(from, oldFrom);
  SelectObject(to, oldTo);
  DeleteDC(from);
  DeleteDC(to);
  DeleteObject(face);
  const HBRUSH brush = CreatePatternBrush(fitted);
  DeleteObject(fitted);
  return brush;
}

bool languageFace(LOGFONTW &font) {
  static const std::wstring face = [] {
    const Language *about = languageAbout();
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    if (!about || !about->windowsFace) return std::wstring();
    const std::wstring name = wide(about->windowsFace);
    lstrcpynW(wanted.lfFaceName, name.c_str(), LF_FACESIZE);
    bool found = false;
    const HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(
        dc, &wanted,
        [](const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM found) {
          *reinterpret_cast<bool *>(found) = true;
          return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found ? name : std::wstring();
  }();
  if (!face.empty()) lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
  return !face.empty();
}

HFONT narrowedFont(HDC dc, LOGFONTW look, double narrow,
                   const std::function<bool(HFONT)> &fits) {
  HFONT font = CreateFontIndirectW(&look);
  if (narrow >= 1) return font;
  TEXTMETRICW metrics{};
  const HGDIOBJ old = SelectObject(dc, font);
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  // Character widths are whole pixels: a pixel narrower until it fits, never
  // much narrower than the rule allows.
  const LONG least =
      std::max(1L, std::lround(metrics.tmAveCharWidth * kCaptionNarrowest) - 1);
  for (look.lfWidth = std::lround(std::floor(metrics.tmAveCharWidth * narrow));;
       --look.lfWidth) {
    DeleteObject(font);
    font = CreateFontIndirectW(&look);
    if (look.lfWidth <= least || fits(font)) return font;
  }
}

namespace {

// The width of the widest text drawn in font.
LONG widest(HDC dc, HFONT font, std::initializer_list<const char *> texts) {
  const HGDIOBJ old = SelectObject(dc, font);
  LONG most = 0;
  for (const char *text : texts) {
    const std::wstring shown = wide(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()),
                          &size);
    most = std::max(most, size.cx);
  }
  SelectObject(dc, old);
  return most;
}

// Whether every text drawn in font ends before the last pixel column of a
// box width pixels wide.
bool fits(HDC dc, HFONT font, std::initializer_list<const char *> texts,
          int width) {
  return widest(dc, font, texts) < width;
}

// Gives static c the stock font at the window's DPI where all its texts fit
// in it, else the same face at the largest size that fits, measured on this
// system: the default faces are wider on some systems (Wine) than on others.
// A translation that does not fit is fitted as the captions are: narrowed,
// then smaller, down to the floor. The system makes the stock fonts at its
// own DPI; at another DPI the font is made at the height that DPI gives it,
// in the face's own proportions (the stock width is not always scaled with
// the height). A font made here lives until the next layout replaces it.
void fitFont(HWND control, const Control &c, int stock,
             std::initializer_list<const char *> texts) {
  HFONT font = static_cast<HFONT>(GetStockObject(stock));
  HFONT made = nullptr;
  LOGFONTW wanted{};
  GetObjectW(font, sizeof wanted, &wanted);
  const int system = systemDpi();
  // A language whose face the stock fonts may lack is shown in its own.
  const bool another = languageFace(wanted);
  if (another || windowDpi != USER_DEFAULT_SCREEN_DPI || system != windowDpi) {
    wanted.lfHeight = MulDiv(wanted.lfHeight, windowDpi, system);
    wanted.lfWidth = 0;
    font = made = CreateFontIndirectW(&wanted);
  }
  LOGFONTW smaller = wanted;
  const HDC dc = CreateCompatibleDC(nullptr);
  // The face the font is drawn in, which may stand in for the face it names.
  const HGDIOBJ old = SelectObject(dc, font);
  GetTextFaceW(dc, LF_FACESIZE, smaller.lfFaceName);
  SelectObject(dc, old);
  const int width = scaled(c.x + c.w) - scaled(c.x);
  if (textsInEnglish()) {
    while (!fits(dc, font, texts, width) && std::abs(smaller.lfHeight) > 1) {
      smaller.lfHeight -= smaller.lfHeight > 0 ? 1 : -1;
      smaller.lfWidth = wanted.lfWidth * smaller.lfHeight / wanted.lfHeight;
      if (made) DeleteObject(made);
      font = made = CreateFontIndirectW(&smaller);
    }
  } else if (!fits(dc, font, texts, width)) {
    // The height keeps its sign: a cell's height or a character's.
    const LONG sign = wanted.lfHeight > 0 ? 1 : -1;
    const auto at = [&](double size) {
      LOGFONTW look = smaller;
      look.lfHeight = sign * std::lround(size);
      look.lfWidth = 0;
      return look;
    };
    const CaptionFit fit =
        fitWords(std::abs(wanted.lfHeight), width - 1,
                 double(windowDpi) / USER_DEFAULT_SCREEN_DPI, [&](double size) {
                   const LOGFONTW look = at(size);
                   const HFONT trial = CreateFontIndirectW(&look);
                   const LONG w = widest(dc, trial, texts);
                   DeleteObject(trial);
                   return double(w);
                 });
    if (made) DeleteObject(made);
    font = made = narrowedFont(dc, at(fit.size), fit.narrow, [&](HFONT f) {
      return fits(dc, f, texts, width);
    });
    for (const char *t : texts)
      if (!fits(dc, font, {t}, width)) reportMisfit(t);
  }
  DeleteDC(dc);
  const auto before =
      reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  if (made || c.id == ID_STATUS || before)
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (before && before != font) DeleteObject(before);
}

}  // namespace

void fitFonts(HWND window) {
  for (const Control &c : kControls) {
    if (c.kind != ControlKind::Static) continue;
    // The status line shows five messages in the GUI font, in the language
    // in use; a number static shows digits of one width in the system font,
    // so its first text is its widest.
    if (c.id == ID_STATUS)
      fitFont(GetDlgItem(window, c.id), c, DEFAULT_GUI_FONT,
              {TEXT_NO_GAME, TEXT_STUDY, TEXT_RESOLVE, TEXT_CANCELED,
               TEXT_EXPIRED});
    else
      fitFont(GetDlgItem(window, c.id), c, SYSTEM_FONT, {startText(c)});
  }
}

void rescale(HWND window, int dpi, const RECT *suggested) {
  windowDpi = dpi;
  DeleteObject(reinterpret_cast<HGDIOBJ>(SetClassLongPtrA(
      window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(faceBrush()))));
  RECT now{};
  GetWindowRect(window, &now);
  const POINT at = suggested ? POINT{suggested->left, suggested->top}
                             : POINT{now.left, now.top};
  SetWindowPos(window, nullptr, at.x, at.y, scaled(WINDOW_W), scaled(WINDOW_H),
               SWP_NOZORDER | SWP_NOACTIVATE);
  for (const Control &c : kControls) {
    const RECT r = scaledRect(c.x, c.y, c.x + c.w, c.y + c.h);
    MoveWindow(GetDlgItem(window, c.id), r.left, r.top, r.right - r.left,
               r.bottom - r.top, FALSE);
  }
  fitFonts(window);
  RedrawWindow(window, nullptr, nullptr,
               RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}
