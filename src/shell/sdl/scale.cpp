#include "scale.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "layout.h"

namespace {

// A whole number of one to three digits and nothing else, or 0.
int whole(const char *text) {
  if (!text) return 0;
  const std::size_t n = std::strlen(text);
  if (n == 0 || n > 3 || std::strspn(text, "0123456789") != n) return 0;
  return std::atoi(text);
}

// The scale a resolution in dots per inch stands for, or 0 when the text is
// no positive number.
int ofDpi(const char *text) {
  if (!text) return 0;
  char *end;
  const double dpi = std::strtod(text, &end);
  if (end == text || std::strspn(end, " \t") != std::strlen(end) ||
      !std::isfinite(dpi) || dpi <= 0)
    return 0;
  return int(std::min<double>(kMaxScale, std::max(1.0, std::round(dpi / 96))));
}

// The desktop's resolution as the X server's resources carry it, or "".
std::string xftDpi() {
  const char *display = std::getenv("DISPLAY");
  Display *x = display && *display ? XOpenDisplay(display) : nullptr;
  if (!x) return "";
  std::string dpi;
  if (const char *resources = XResourceManagerString(x)) {
    XrmInitialize();
    if (XrmDatabase db = XrmGetStringDatabase(resources)) {
      char *type;
      XrmValue value;
      if (XrmGetResource(db, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
        dpi.assign(value.addr, strnlen(value.addr, value.size));
      XrmDestroyDatabase(db);
    }
  }
  XCloseDisplay(x);
  return dpi;
}

}  // namespace

int chooseScale(const char *own, const char *gdk, const char *xftDpi) {
  if (const int s = whole(own); s >= 1 && s <= kMaxScale) return s;
  if (const int s = whole(gdk); s >= 1) return std::min(s, kMaxScale);
  if (const int s = ofDpi(xftDpi)) return s;
  return 1;
}

int fitScreen(int scale, int screenW, int screenH, const Face &face) {
  while (scale > 1 && (face.w * scale > screenW || face.h * scale > screenH))
    --scale;
  return scale;
}

const Face &faceFor(int scale, int screenW, int screenH) {
  return screenH > screenW && WINDOW_W * scale > screenW ? kPortrait
                                                         : kLandscape;
}

Fit desktopFit() {
  const std::string dpi = xftDpi();
  const int chosen =
      chooseScale(std::getenv("QUINTARA_SCALE"), std::getenv("GDK_SCALE"),
                  dpi.empty() ? nullptr : dpi.c_str());
  SDL_DisplayMode screen{};
  if (SDL_GetDesktopDisplayMode(0, &screen) != 0) return {chosen, kLandscape};
  const Face &face = faceFor(chosen, screen.w, screen.h);
  return {fitScreen(chosen, screen.w, screen.h, face), face};
}
