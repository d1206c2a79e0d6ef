#include "draw.h"

#include <SDL_ttf.h>
#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "bidi.h"
#include "caption.h"
#include "fonts.h"
#include "language.h"
#include "picture.h"
#include "resources.h"

namespace {

// Stand-ins for the Windows fonts. The status line has the default GUI font
// (8 pt): DejaVu Sans at 8 pt, a little narrowed, so that the longest
// status text fits its 86 pixels as it does on Windows. The other statics
// keep the controls' default, the bold System font: DejaVu Sans Bold 9 pt.
// Each is first sought where the font package puts it: asking fontconfig
// costs its whole start-up, a good part of the program's.
struct FontSource {
  const char *file;
  const char *name;
  int points, hdpi, vdpi;
  FaceRole role;  // which face of another script's fonts stands for it
};
constexpr const char *kFontFolder = "/usr/share/fonts/truetype/dejavu/";
constexpr FontSource kGuiFace{
    "DejaVuSans.ttf", "DejaVu Sans:style=Book", 8, 84, 96, FaceRole::Regular};
constexpr FontSource kSystemFace{
    "DejaVuSans-Bold.ttf", "DejaVu Sans:style=Bold", 9, 96, 96, FaceRole::Bold};
// The language in use's own faces, where DejaVu's lack its letters.
FaceFile faces[int(FaceRole::Count)];

TTF_Font *guiFont;
TTF_Font *systemFont;
int scale = 1;

// The captions' faces, by CaptionFont, each opened at a size in pixels when
// first asked for.
constexpr FontSource kCaptionFaces[] = {
    {"DejaVuSans-Bold.ttf", "DejaVu Sans:style=Bold", 0, 72, 72,
     FaceRole::Bold},
    {"DejaVuSansCondensed-Bold.ttf", "DejaVu Sans Condensed:style=Bold", 0, 72,
     72, FaceRole::Condensed},
    {"DejaVuSans-Oblique.ttf", "DejaVu Sans:style=Oblique", 0, 72, 72,
     FaceRole::Italic},
};
std::map<std::pair<int, int>, TTF_Font *> captionFonts;
// The statics' faces at other sizes, by Typeface and pixels, for a text
// that fits only smaller.
std::map<std::pair<int, int>, TTF_Font *> smallerFonts;

TTF_Font *openFont(const FontSource &source, int points, int dpiScale) {
  FaceFile face = faces[int(source.role)];
  if (face.path.empty()) face.path = std::string(kFontFolder) + source.file;
  if (access(face.path.c_str(), R_OK) != 0) face = matchFace(source.name);
  TTF_Font *font = face.path.empty()
                       ? nullptr
                       : TTF_OpenFontIndexDPI(
                             face.path.c_str(), points, face.index,
                             source.hdpi * dpiScale, source.vdpi * dpiScale);
  if (font) TTF_SetFontHinting(font, TTF_HINTING_LIGHT);
  // HarfBuzz shapes by the script: Arabic's letters join, Devanagari's form
  // conjuncts.
  if (font && languageAbout())
    TTF_SetFontScriptName(font, languageAbout()->script);
  return font;
}

TTF_Font *openFont(const FontSource &source) {
  return openFont(source, source.points, scale);
}

TTF_Font *captionFont(CaptionFont font, double size) {
  const std::pair<int, int> key{int(font), int(std::lround(size))};
  TTF_Font *&open = captionFonts[key];
  if (!open) open = openFont(kCaptionFaces[key.first], key.second, 1);
  return open;
}

TTF_Font *fontOf(Typeface font) {
  return font == Typeface::Gui ? guiFont : systemFont;
}

const FontSource &sourceOf(Typeface font) {
  return font == Typeface::Gui ? kGuiFace : kSystemFace;
}

// A static's face at size device pixels high, its own narrowing kept.
TTF_Font *fontAt(Typeface font, double size) {
  const std::pair<int, int> key{int(font), int(std::lround(size))};
  TTF_Font *&open = smallerFonts[key];
  const FontSource &source = sourceOf(font);
  if (!open) open = openFont(source, key.second, 1);
  if (open)
    TTF_SetFontSizeDPI(open, key.second, 72 * source.hdpi / source.vdpi, 72);
  return open;
}

// The runs of a line of the language in use, each in its direction: in a
// language read right to left, from FriBidi; else the line as it is.
std::vector<Run> runsOf(const std::string &text) {
  return rightToLeft() ? visualRuns(text, true)
                       : std::vector<Run>{{text, false}};
}

void direct(TTF_Font *font, const Run &run) {
  if (rightToLeft())
    TTF_SetFontDirection(
        font, run.rightToLeft ? TTF_DIRECTION_RTL : TTF_DIRECTION_LTR);
}

int widthOf(TTF_Font *font, const std::string &text) {
  int all = 0;
  for (const Run &run : runsOf(text)) {
    int w = 0, h = 0;
    direct(font, run);
    if (!font || TTF_SizeUTF8(font, run.text.c_str(), &w, &h) != 0) return 0;
    all += w;
  }
  return all;
}

// A line drawn: its runs side by side, left to right as they are seen.
SDL_Surface *rendered(TTF_Font *font, const std::string &text, Rgb ink) {
  const SDL_Color colour{ink.r, ink.g, ink.b, 255};
  if (!rightToLeft()) return TTF_RenderUTF8_Blended(font, text.c_str(), colour);
  std::vector<SDL_Surface *> parts;
  int w = 0;
  for (const Run &run : runsOf(text)) {
    direct(font, run);
    if (SDL_Surface *part =
            TTF_RenderUTF8_Blended(font, run.text.c_str(), colour)) {
      parts.push_back(part);
      w += part->w;
    }
  }
  SDL_Surface *line = SDL_CreateRGBSurfaceWithFormat(
      0, std::max(w, 1), TTF_FontHeight(font), 32, SDL_PIXELFORMAT_ARGB8888);
  int x = 0;
  for (SDL_Surface *part : parts) {
    SDL_Rect at{x, 0, part->w, part->h};
    SDL_SetSurfaceBlendMode(part, SDL_BLENDMODE_NONE);
    if (line) SDL_BlitSurface(part, nullptr, line, &at);
    x += part->w;
    SDL_FreeSurface(part);
  }
  return line;
}

// How text fits a box of w device pixels in a static's face: its size in
// device pixels and narrowing.
CaptionFit fitStatic(Typeface font, int w, const std::string &text) {
  const FontSource &source = sourceOf(font);
  return fitWords(
      source.points * source.vdpi / 72.0 * scale, w, scale,
      [&](double size) { return widthOf(fontAt(font, size), text); });
}

// A line drawn at its width, squeezed to narrow of it: SDL_ttf has no
// narrowed type.
SDL_Surface *narrowed(SDL_Surface *line, double narrow) {
  const int w = int(std::lround(line->w * narrow));
  if (w == line->w) return line;
  SDL_Surface *out =
      SDL_CreateRGBSurfaceWithFormat(0, w, line->h, 32, line->format->format);
  if (out && SDL_SoftStretchLinear(line, nullptr, out, nullptr) == 0) {
    SDL_FreeSurface(line);
    return out;
  }
  SDL_FreeSurface(out);
  return line;
}

SDL_Rect rectOf(const Box &box) { return {box.x, box.y, box.w, box.h}; }

// Copies the whole of src onto rect of dst, stretched to fit, then frees it:
// smoothly where asked and the sizes differ, else pixel by pixel.
void stretchOnto(SDL_Surface *dst, SDL_Surface *src, SDL_Rect rect,
                 Stretch how) {
  if (!src) return;
  SDL_Surface *same = nullptr;
  if (how == Stretch::Smooth && (src->w != rect.w || src->h != rect.h) &&
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
  return loadBitmap(atScale(id, artworkScale(scale)));
}

// A ball picture, only from a regular file: opened without blocking (a FIFO
// would wait for a writer for ever), checked on the open descriptor, then
// read whole and checked before SDL decodes it. Above 1x the game's own
// pictures come from their larger artwork. nullptr when unreadable.
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
  if (scale > 1)
    if (const int own = ownBall(bytes.data(), bytes.size(), 0, [](int id) {
          const Blob b = resource(id);
          return std::pair{b.data, b.size};
        }))
      return artwork(own);
  return SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), int(bytes.size())), 1);
}

}  // namespace

bool openDrawing(int factor) {
  scale = factor;
  if (TTF_Init() != 0) return false;
  // A language no installed font can show is not shown: it would have
  // boxes for letters. English instead.
  for (FaceFile &face : faces) face = {};
  if (!findFaces(faces)) {
    useLanguage({});
    for (FaceFile &face : faces) face = {};
  }
  guiFont = openFont(kGuiFace);
  systemFont = openFont(kSystemFace);
  return guiFont && systemFont;
}

void closeDrawing() {
  if (guiFont) TTF_CloseFont(guiFont);
  if (systemFont) TTF_CloseFont(systemFont);
  guiFont = systemFont = nullptr;
  for (auto *fonts : {&captionFonts, &smallerFonts}) {
    for (const auto &[key, font] : *fonts)
      if (font) TTF_CloseFont(font);
    fonts->clear();
  }
  TTF_Quit();
  FcFini();
}

int drawingScale() { return scale; }

bool textFitted(const Control &c, const std::string &text) {
  return fitStatic(c.id == ID_STATUS ? Typeface::Gui : Typeface::System,
                   c.w * scale, text)
      .fits;
}

bool textFits(const Control &c, const std::string &text) {
  TTF_Font *font = fontOf(c.id == ID_STATUS ? Typeface::Gui : Typeface::System);
  const int w = widthOf(font, text);
  return font && w > 0 && w <= c.w * scale &&
         TTF_FontHeight(font) <= c.h * scale;
}

SDL_Surface *SurfaceCanvas::target() const {
  return window_ ? SDL_GetWindowSurface(window_) : surface_;
}

double SurfaceCanvas::scale() const { return ::scale; }

void SurfaceCanvas::picture(int id, const Box &box, Stretch how) {
  if (SDL_Surface *dst = target())
    stretchOnto(dst, artwork(id), rectOf(box), how);
}

Loaded SurfaceCanvas::ball(int, const std::string &path, const Box &box,
                           Stretch how) {
  SDL_Surface *dst = target();
  SDL_Surface *picture = dst ? loadPicture(path) : nullptr;
  if (!picture) return Loaded::Missing;
  stretchOnto(dst, picture, rectOf(box), how);
  return Loaded::Drawn;
}

void SurfaceCanvas::fill(const Box &box, Rgb c) {
  SDL_Surface *dst = target();
  const SDL_Rect r = rectOf(box);
  if (dst) SDL_FillRect(dst, &r, SDL_MapRGB(dst->format, c.r, c.g, c.b));
}

void SurfaceCanvas::text(const Box &box, Typeface font, const std::string &text,
                         Rgb ink, Align align) {
  SDL_Surface *dst = target();
  TTF_Font *f = fontOf(font);
  if (!dst || !f || text.empty()) return;
  // A text too wide for its box (a translation's) is fitted to it.
  double narrow = 1;
  if (align != Align::Centre && widthOf(f, text) > box.w) {
    const CaptionFit fit = fitStatic(font, box.w, text);
    if (TTF_Font *smaller = fontAt(font, fit.size)) f = smaller;
    narrow = fit.narrow;
    if (!fit.fits) reportMisfit(text);
  }
  SDL_Surface *line = rendered(f, text, ink);
  if (!line) return;
  line = narrowed(line, narrow);
  SDL_Rect at{box.x, box.y, line->w, line->h};
  if (align == Align::TopRight) at.x = box.x + box.w - line->w;
  if (align == Align::Centre) {
    at.x = box.x + box.w / 2 - line->w / 2;
    at.y = box.y + box.h / 2 - TTF_FontHeight(f) / 2;
  }
  const SDL_Rect clip = rectOf(box);
  SDL_SetClipRect(dst, &clip);
  SDL_BlitSurface(line, nullptr, dst, &at);
  SDL_SetClipRect(dst, nullptr);
  SDL_FreeSurface(line);
}

double SurfaceCanvas::captionWidth(CaptionFont font, double size,
                                   const std::string &text) {
  return widthOf(captionFont(font, size), text);
}

void SurfaceCanvas::caption(double x, double y, CaptionFont font, double size,
                            double narrow, const std::string &text, Rgb ink) {
  SDL_Surface *dst = target();
  TTF_Font *f = captionFont(font, size);
  if (!dst || !f || text.empty()) return;
  SDL_Surface *line = rendered(f, text, ink);
  if (!line) return;
  line = narrowed(line, narrow);
  SDL_SetSurfaceBlendMode(line, SDL_BLENDMODE_BLEND);
  SDL_Rect at{int(std::lround(x)), int(std::lround(y)) - TTF_FontAscent(f),
              line->w, line->h};
  SDL_BlitSurface(line, nullptr, dst, &at);
  SDL_FreeSurface(line);
}

// A hidden window shows nothing; it is put on the screen whole when shown.
void SurfaceCanvas::show(const Box &box) {
  const SDL_Rect r = rectOf(box);
  if (window_ && !(SDL_GetWindowFlags(window_) & SDL_WINDOW_HIDDEN))
    SDL_UpdateWindowSurfaceRects(window_, &r, 1);
}
