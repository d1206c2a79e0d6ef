// Paints the owner-drawn buttons: the skinned ones from their bitmap
// resources, the ball places from the picture files their paths name. Every
// picture is loaded for one draw and freed right after it.
#include <string>

#include "fallback.h"
#include "layout.h"
#include "state.h"
#include "win32.h"

namespace {

COLORREF body(int value) {
  return RGB(kBallBody[value][0], kBallBody[value][1], kBallBody[value][2]);
}

// A place whose picture cannot be read: the empty cell and, for a colour, a
// plain disc in its body colour with its number, so the board stays playable.
void drawFallback(HDC dc, const RECT &r, int value) {
  const HBRUSH cell = CreateSolidBrush(body(0));
  FillRect(dc, &r, cell);
  DeleteObject(cell);
  if (value == 0) return;

  const HBRUSH disc = CreateSolidBrush(body(value));
  const HGDIOBJ oldBrush = SelectObject(dc, disc);
  const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  Ellipse(dc, r.left + 4, r.top + 4, r.right - 3, r.bottom - 3);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(disc);

  char number[2] = {static_cast<char>('0' + value), '\0'};
  RECT box = r;
  const HFONT font =
      CreateFontA(-18, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                  DEFAULT_PITCH | FF_SWISS, nullptr);
  const HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc,
               fallbackInkIsBlack(value) ? RGB(0, 0, 0) : RGB(255, 255, 255));
  DrawTextA(dc, number, 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, oldFont);
  DeleteObject(font);
}

// A ball picture's path taken from the current folder: the loader is
// given a full path, since Wine's looks for a relative one beside the
// program too, and pictures come from the current folder only.
std::string fromCurrentFolder(const std::string &relative) {
  const DWORD size = GetCurrentDirectoryA(0, nullptr);
  std::string folder(size, '\0');
  folder.resize(GetCurrentDirectoryA(size, &folder[0]));
  return folder + "\\" + relative;
}

}  // namespace

void drawButton(int id, const DRAWITEMSTRUCT &item) {
  const bool pressed = item.itemState & ODS_SELECTED;
  const int k = placeOf(id);
  const HINSTANCE module = GetModuleHandleA(nullptr);
  const RECT &r = item.rcItem;
  const HANDLE image =
      k ? LoadImageA(module, fromCurrentFolder(place(k).path).c_str(),
                     IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)
        : LoadImageA(
              module,
              MAKEINTRESOURCEA(pressed ? skinPressed(id) : skinNormal(id)),
              IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  if (!image) {
    if (k) drawFallback(item.hDC, r, fallbackValue(place(k).path));
    return;
  }

  BITMAP size;
  GetObjectA(image, sizeof size, &size);
  const HDC memory = CreateCompatibleDC(nullptr);
  const HGDIOBJ old = SelectObject(memory, image);
  StretchBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top,
             memory, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(image);
}
