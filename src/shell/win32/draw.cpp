// Paints the owner-drawn buttons: the skinned ones from their bitmap
// resources, the ball places from the picture files their paths name. Every
// picture is loaded for one draw and freed right after it. Above 96 DPI the
// pictures come from the artwork of the nearest larger scale. In a language
// other than English the captioned pictures are drawn from their
// caption-free twins, and their captions over them.
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "caption.h"
#include "fallback.h"
#include "language.h"
#include "layout.h"
#include "painter.h"
#include "picture.h"
#include "state.h"
#include "texts.h"
#include "win32.h"

namespace {

// The system's message font, bold or (for the italic captions) italic, size
// device pixels high; or the language's own face, whose italic captions are
// upright, as slanted type is not usual in its script.
LOGFONTW captionLook(CaptionFont look, double size) {
  static const LOGFONTW message = [] {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return metrics.lfMessageFont;
  }();
  LOGFONTW font = message;
  const bool own = languageFace(font);
  font.lfHeight = -std::lround(size);
  font.lfWidth = 0;
  font.lfWeight = look == CaptionFont::Italic ? FW_NORMAL : FW_BOLD;
  font.lfItalic = look == CaptionFont::Italic && !own;
  font.lfQuality = ANTIALIASED_QUALITY;
  return font;
}

LONG widthIn(HDC dc, HFONT font, const std::wstring &text) {
  const HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  return size.cx;
}

// Caption c in the language in use on dc, whose origin is the corner its
// room is given from, moved shift pixels of 1x right and down; fitted by
// the rule every program shares, narrowed through the font's character
// width. A language read right to left reads so and starts at the right.
void drawCaption(HDC dc, const Caption &c, int shift) {
  const double scale = double(windowDpi) / USER_DEFAULT_SCREEN_DPI;
  const double room = c.w * scale;
  const std::string utf8 = formatText(text(Text(c.text)), 0, PROGRAM_VERSION);
  const std::wstring words = wide(utf8);
  const CaptionFit fit = fitCaption(c, room, scale, [&](double size) {
    const LOGFONTW look = captionLook(c.font, size);
    const HFONT font = CreateFontIndirectW(&look);
    const LONG width = widthIn(dc, font, words);
    DeleteObject(font);
    return double(width);
  });
  if (!fit.fits) reportMisfit(utf8);
  const HFONT font =
      narrowedFont(dc, captionLook(c.font, fit.size), fit.narrow,
                   [&](HFONT f) { return widthIn(dc, f, words) <= room; });
  // A language read right to left is placed by GDI from its shaped glyphs
  // at the room's right end or middle: a width measured by
  // GetTextExtentPoint may be of its letters unjoined (Wine's is).
  const bool rtl = rightToLeft();
  const double align = captionAlignment(c, rtl);
  const double x = (c.x + shift) * scale +
                   (rtl ? room : room - widthIn(dc, font, words)) * align;
  const double y = (c.y + shift + c.baseline) * scale;
  const HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_BASELINE | (!rtl        ? TA_LEFT
                                  : align < 1 ? TA_CENTER
                                              : TA_RIGHT));
  const auto line = [&](double at, unsigned ink) {
    SetTextColor(dc, RGB(ink >> 16 & 255, ink >> 8 & 255, ink & 255));
    ExtTextOutW(dc, static_cast<int>(std::lround(x + at)),
                static_cast<int>(std::lround(y + at)), rtl ? ETO_RTLREADING : 0,
                nullptr, words.c_str(), static_cast<UINT>(words.size()),
                nullptr);
  };
  if (c.shadow != kNoShadow) line(0.7 * scale, c.shadow);
  line(0, c.ink);
  SelectObject(dc, old);
  DeleteObject(font);
}

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
  fallbackDisc((r.left + r.right) / 2, (r.top + r.bottom) / 2,
               scaled(kDiscRadius), [&](int x, int y, int w) {
                 const RECT row{x, y, x + w, y + 1};
                 FillRect(dc, &row, disc);
               });
  DeleteObject(disc);

  char number[2] = {static_cast<char>('0' + value), '\0'};
  RECT box = r;
  const HFONT font =
      CreateFontA(-scaled(18), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, nullptr);
  const HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc,
               fallbackInkIsBlack(value) ? RGB(0, 0, 0) : RGB(255, 255, 255));
  DrawTextA(dc, number, 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, oldFont);
  DeleteObject(font);
}

// A ball picture's path taken from the current folder, as a full path:
// Wine's file functions would look for a relative one beside the program
// too, and pictures come from the current folder only.
std::string fromCurrentFolder(const std::string &relative) {
  const DWORD size = GetCurrentDirectoryA(0, nullptr);
  std::string folder(size, '\0');
  folder.resize(GetCurrentDirectoryA(size, &folder[0]));
  return folder + "\\" + relative;
}

// The bytes of a ball picture file, read only from a file on disk (not a
// pipe, console or device) and only up to the largest readable picture.
std::vector<unsigned char> readPicture(const std::string &path) {
  std::vector<unsigned char> bytes;
  const HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  LARGE_INTEGER size;
  if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) &&
      size.QuadPart <= kPictureFileBytes) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got,
                  nullptr))
      got = 0;
    bytes.resize(got);
  }
  CloseHandle(file);
  return bytes;
}

// Draws bitmap resource id (at the artwork's scale) stretched onto r; false
// when it cannot be loaded.
bool drawResource(HDC dc, const RECT &r, int id) {
  const HANDLE image = LoadImageA(
      GetModuleHandleA(nullptr), MAKEINTRESOURCEA(atScale(id, windowArtwork())),
      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  if (!image) return false;

  BITMAP size;
  GetObjectA(image, sizeof size, &size);
  const HDC memory = CreateCompatibleDC(nullptr);
  const HGDIOBJ old = SelectObject(memory, image);
  smoothStretch(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory,
                size.bmWidth, size.bmHeight);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(image);
  return true;
}

// The bytes of bitmap resource id, which is its file without the file
// header; {nullptr, 0} when the program carries none.
std::pair<const unsigned char *, std::size_t> carried(int id) {
  const HMODULE module = GetModuleHandleA(nullptr);
  const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_BITMAP);
  const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  if (!loaded) return {nullptr, 0};
  return {static_cast<const unsigned char *>(LockResource(loaded)),
          SizeofResource(module, found)};
}

// Place k's picture, checked whole before GDI sees it, stretched onto r;
// false when it cannot be read. Above 96 DPI a file that is one of the
// game's own pictures is drawn from that picture's larger artwork, and any
// other (a player's own) is stretched smoothly.
bool drawPicture(HDC dc, const RECT &r, int k) {
  const std::vector<unsigned char> bytes =
      readPicture(fromCurrentFolder(place(k).path));
  if (!pictureReadable(bytes.data(), bytes.size())) return false;
  if (windowArtwork() > 1) {
    const int own = ownBall(bytes.data(), bytes.size(), 14, carried);
    if (own && drawResource(dc, r, own)) return true;
  }
  const auto *info = reinterpret_cast<const BITMAPINFO *>(&bytes[14]);
  const auto *core = reinterpret_cast<const BITMAPCOREHEADER *>(&bytes[14]);
  const bool isCore = info->bmiHeader.biSize == sizeof(BITMAPCOREHEADER);
  const LONG w = isCore ? core->bcWidth : info->bmiHeader.biWidth;
  const LONG h = isCore ? core->bcHeight : info->bmiHeader.biHeight;
  const DWORD offset = bytes[10] | bytes[11] << 8 | bytes[12] << 16 |
                       static_cast<DWORD>(bytes[13]) << 24;
  smoothStretchMode(dc);
  return StretchDIBits(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0,
                       0, w, h < 0 ? -h : h, &bytes[offset], info,
                       DIB_RGB_COLORS, SRCCOPY) != 0;
}

}  // namespace

void drawCaptions(HDC dc, int button, int shift) {
  for (const Caption &c : kCaptions)
    if (c.button == button) drawCaption(dc, c, shift);
}

void drawButton(int id, const DRAWITEMSTRUCT &item) {
  const bool pressed = item.itemState & ODS_SELECTED;
  const int k = placeOf(id);
  const RECT &r = item.rcItem;
  const int skin = pressed ? skinPressed(id) : skinNormal(id);
  const bool words = textsInEnglish() || bareOf(skin) == skin;
  if (!k) {
    // A pressed skin's caption moves with its picture.
    if (drawResource(item.hDC, r, words ? skin : bareOf(skin)) && !words)
      drawCaptions(item.hDC, id, pressed);
  } else if (!drawPicture(item.hDC, r, k))
    drawFallback(item.hDC, r, pathValue(place(k).path));
}
