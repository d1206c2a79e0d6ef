// The main window's procedure: commands and ticks go to the core; painting
// (with the keyboard cursor over its place), the statics' colours, the
// title strip drag and a change of DPI are handled here.
#include <cstring>

#include "cursor.h"
#include "game.h"
#include "language.h"
#include "layout.h"
#include "win32.h"

namespace {

// Closes a help error box (a dialog of this thread). Boxes opened by one
// press after another nest, each in its own loop, and would keep the
// process alive after the game until each is closed by hand.
BOOL CALLBACK endBox(HWND window, LPARAM) {
  char name[8];
  if (GetClassNameA(window, name, sizeof name) &&
      std::strcmp(name, "#32770") == 0)
    EndDialog(window, IDOK);
  return TRUE;
}

}  // namespace

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                 LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      gameCommand(LOWORD(wParam));
      break;
    case WM_TIMER:
      gameTick();
      return 0;
    case WM_PAINT: {
      // The class brush lays the face while BeginPaint erases.
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      EnumThreadWindows(GetCurrentThreadId(), endBox, 0);
      PostQuitMessage(0);
      return 0;
    case WM_DRAWITEM: {
      const auto &item = *reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
      drawButton(LOWORD(wParam), item);
      // The ring's bands are laid out in 96-DPI pixels from the place's
      // edge; each becomes as many frames as it is wide at the window's DPI.
      const RECT &r = item.rcItem;
      drawCursorRing(placeOf(LOWORD(wParam)), r.left, r.top, r.right - r.left,
                     r.bottom - r.top, [&](int x, int, int, int, int grey) {
                       const int band = x - r.left;
                       for (int i = scaled(band); i < scaled(band + 1); ++i) {
                         const RECT frame{r.left + i, r.top + i, r.right - i,
                                          r.bottom - i};
                         FrameRect(item.hDC, &frame,
                                   static_cast<HBRUSH>(GetStockObject(
                                       grey ? WHITE_BRUSH : BLACK_BRUSH)));
                       }
                     });
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkMode(dc, TRANSPARENT);
      // A static aligned to the right (a language read right to left)
      // fills its box with this brush: its white.
      const Control *c =
          findControl(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
      const bool box = rightToLeft() && c && c->kind == ControlKind::Static;
      return reinterpret_cast<LRESULT>(
          GetStockObject(box ? WHITE_BRUSH : LTGRAY_BRUSH));
    }
    case WM_LBUTTONDOWN: {
      // A press on the painted title strip moves the window as a caption
      // would.
      const POINT point{LOWORD(lParam), HIWORD(lParam)};
      const RECT drag = scaledRect(titleRect.left, titleRect.top,
                                   titleRect.right, titleRect.bottom);
      if (PtInRect(&drag, point))
        SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
      return 0;
    }
    case WM_GETOBJECT:
      if (static_cast<LONG>(lParam) == OBJID_CLIENT)
        return windowObject(window, wParam);
      break;
    case WM_DPICHANGED:
      // Moved to a monitor of another DPI: laid out anew where the system
      // suggests.
      rescale(window, HIWORD(wParam), reinterpret_cast<const RECT *>(lParam));
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
