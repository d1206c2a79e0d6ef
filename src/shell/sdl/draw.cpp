#include "draw.h"

#include <SDL_ttf.h>
#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "fallback.h"
#include "picture.h"
#include "resources.h"

namespace {

// Stand-ins for the Windows fonts. The status line has the default GUI font
// (8 pt): DejaVu Sans at 8 pt, a little narrowed, so that the longest
// status text fits its 86 pixels as it does on Windows. The other statics
// keep the controls' default, the bold System font: DejaVu Sans Bold 9 pt.
// Each is first sought where the font package puts it: asking fontconfig
// costs its whole start-up, a good part of the program's.
struct Face {
  const char *file;
  const char *name;
  int points, hdpi, vdpi;
};
constexpr const char *kFontFolder = "/usr/share/fonts/truetype/dejavu/";
constexpr Face kGuiFace{"DejaVuSans.ttf", "DejaVu Sans:style=Book", 8, 84, 96};
constexpr Face kSystemFace{"DejaVuSans-Bold.ttf", "DejaVu Sans:style=Bold", 9,
                           96, 96};

TTF_Font *guiFont;
TTF_Font *systemFont;
int scale = 1;

std::string fontFile(const char *name) {
  std::string file;
  FcPattern *pattern = FcNameParse(reinterpret_cast<const FcChar8 *>(name));
  if (!pattern) return file;
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern *match = FcFontMatch(nullptr, pattern, &result);
  FcChar8 *path;
  if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
    file = reinterpret_cast<const char *>(path);
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return file;
}

TTF_Font *openFont(const Face &face) {
  std::string file = std::string(kFontFolder) + face.file;
  if (access(file.c_str(), R_OK) != 0) file = fontFile(face.name);
  TTF_Font *font = file.empty()
                       ? nullptr
                       : TTF_OpenFontDPI(file.c_str(), face.points,
                                         face.hdpi * scale, face.vdpi * scale);
  if (font) TTF_SetFontHinting(font, TTF_HINTING_LIGHT);
  return font;
}

TTF_Font *fontOf(const Control &c) {
  return c.id == ID_STATUS ? guiFont : systemFont;
}

SDL_Rect rectOf(const Control &c) {
  return {c.x * scale, c.y * scale, c.w * scale, c.h * scale};
}

Uint32 rgb(const SDL_Surface *dst, const unsigned char (&c)[3]) {
  return SDL_MapRGB(dst->format, c[0], c[1], c[2]);
}

void fill(SDL_Surface *dst, int x, int y, int w, int h, Uint32 colour) {
  SDL_Rect r{x, y, w, h};
  SDL_FillRect(dst, &r, colour);
}

// Copies the whole of src onto rect of dst, stretched to fit, then frees it.
// Above 1x a picture of another size is stretched smoothly; at 1x as ever.
void stretchOnto(SDL_Surface *dst, SDL_Surface *src, SDL_Rect rect) {
  if (!src) return;
  SDL_Surface *same = nullptr;
  if (scale > 1 && (src->w != rect.w || src->h != rect.h) &&
      dst->format->BytesPerPixel == 4)
    same = SDL_ConvertSurface(src, dst->format, 0);
  if (!same || SDL_SoftStretchLinear(same, nullptr, dst, &rect) != 0)
    SDL_BlitScaled(src, nullptr, dst, &rect);
  SDL_FreeSurface(same);
  SDL_FreeSurface(src);
}

// Resource id at the drawing's scale: its own picture of that scale, else
// the largest there is, which is stretched.
SDL_Surface *artwork(int id) {
  return loadBitmap(atScale(id, std::min(scale, ARTWORK_SCALES)));
}

// The larger picture the program carries of a ball file that is exactly
// one of the game's own, else nullptr.
SDL_Surface *ownBall(const std::vector<unsigned char> &bytes) {
  if (scale == 1) return nullptr;
  for (bool sport : {false, true})
    for (int n = 0; n < 8; ++n) {
      const Blob own = resource(ballPicture(sport, n));
      if (own.size == bytes.size() &&
          std::equal(bytes.begin(), bytes.end(), own.data))
        return artwork(ballPicture(sport, n));
    }
  return nullptr;
}

// A ball picture, only from a regular file: opened without blocking (a FIFO
// would wait for a writer for ever), checked on the open descriptor, then
// read whole and checked before SDL decodes it. nullptr when unreadable.
SDL_Surface *loadPicture(const std::string &file) {
  const int fd =
      open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  std::vector<unsigned char> bytes;
  struct stat about {};
  if (fstat(fd, &about) == 0 && S_ISREG(about.st_mode) &&
      about.st_size <= kPictureFileBytes) {
    bytes.resize(std::size_t(about.st_size));
    std::size_t got = 0;
    while (got < bytes.size()) {
      const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += std::size_t(n);
    }
    bytes.resize(got);
  }
  close(fd);
  if (!pictureReadable(bytes.data(), bytes.size())) return nullptr;
  if (SDL_Surface *own = ownBall(bytes)) return own;
  return SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), int(bytes.size())), 1);
}

// Draws text at (x, y) in font and colour, clipped to clip.
void drawText(SDL_Surface *dst, TTF_Font *font, const std::string &text,
              SDL_Color colour, int x, int y, SDL_Rect clip) {
  if (!font || text.empty()) return;
  SDL_Surface *line = TTF_RenderUTF8_Blended(font, text.c_str(), colour);
  if (!line) return;
  SDL_Rect at{x, y, line->w, line->h};
  SDL_SetClipRect(dst, &clip);
  SDL_BlitSurface(line, nullptr, dst, &at);
  SDL_SetClipRect(dst, nullptr);
  SDL_FreeSurface(line);
}

// What a place shows when its picture cannot be read: the empty cell, and
// for a colour a plain disc of the ball's body colour with its number, as
// the Windows program draws it.
void drawStandIn(SDL_Surface *dst, SDL_Rect r, int colour) {
  SDL_FillRect(dst, &r, rgb(dst, kBallBody[0]));
  if (!colour) return;
  const Uint32 body = rgb(dst, kBallBody[colour]);
  const int cx = r.x + r.w / 2, cy = r.y + r.h / 2;
  fallbackDisc(cx, cy, kDiscRadius * scale,
               [&](int x, int y, int w) { fill(dst, x, y, w, 1, body); });
  const SDL_Color ink = fallbackInkIsBlack(colour)
                            ? SDL_Color{0, 0, 0, 255}
                            : SDL_Color{255, 255, 255, 255};
  const std::string number(1, char('0' + colour));
  int w = 0, h = 0;
  if (guiFont) TTF_SizeUTF8(guiFont, number.c_str(), &w, &h);
  drawText(dst, guiFont, number, ink, cx - w / 2, cy - h / 2, r);
}

}  // namespace

bool openDrawing(int factor) {
  scale = factor;
  if (TTF_Init() != 0) return false;
  guiFont = openFont(kGuiFace);
  systemFont = openFont(kSystemFace);
  return guiFont && systemFont;
}

void closeDrawing() {
  if (guiFont) TTF_CloseFont(guiFont);
  if (systemFont) TTF_CloseFont(systemFont);
  guiFont = systemFont = nullptr;
  TTF_Quit();
  FcFini();
}

int drawingScale() { return scale; }

void drawFace(SDL_Surface *dst) {
  stretchOnto(dst, artwork(BMP_FACE),
              {0, 0, WINDOW_W * scale, WINDOW_H * scale});
}

void drawSkin(SDL_Surface *dst, const Control &c, bool pressed) {
  stretchOnto(dst, artwork(pressed ? skinPressed(c.id) : skinNormal(c.id)),
              rectOf(c));
}

void drawPlace(SDL_Surface *dst, const Control &c, const std::string &path) {
  std::string file = path;
  std::replace(file.begin(), file.end(), '\\', '/');
  if (SDL_Surface *picture = loadPicture(file))
    stretchOnto(dst, picture, rectOf(c));
  else
    drawStandIn(dst, rectOf(c), fallbackValue(path));
}

void drawStatic(SDL_Surface *dst, const Control &c, const std::string &text) {
  const SDL_Rect r = rectOf(c);
  SDL_FillRect(dst, &r, SDL_MapRGB(dst->format, 255, 255, 255));
  drawText(dst, fontOf(c), text, {0, 0, 0, 255}, r.x, r.y, r);
}

bool textFits(const Control &c, const std::string &text) {
  int w = 0, h = 0;
  TTF_Font *font = fontOf(c);
  return font && TTF_SizeUTF8(font, text.c_str(), &w, &h) == 0 &&
         w <= c.w * scale && h <= c.h * scale;
}

void drawCheckBox(SDL_Surface *dst, const Control &c, bool checked,
                  BoxLook look) {
  stretchOnto(dst, artwork(checkBoxPicture(checked, int(look))), rectOf(c));
}

void drawFrame(SDL_Surface *dst, int x, int y, int w, int h, int grey) {
  const Uint32 colour =
      SDL_MapRGB(dst->format, Uint8(grey), Uint8(grey), Uint8(grey));
  x *= scale;
  y *= scale;
  w *= scale;
  h *= scale;
  fill(dst, x, y, w, scale, colour);
  fill(dst, x, y + h - scale, w, scale, colour);
  fill(dst, x, y, scale, h, colour);
  fill(dst, x + w - scale, y, scale, h, colour);
}
