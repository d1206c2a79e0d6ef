// Plays the Windows program from outside, the way the end-to-end tests need:
// reads one command a line on stdin and answers one line on stdout.
//   wait                  find the shown game window (60 s): "ok" or "none"
//   exit                  the game's exit code once it has ended (15 s), or
//                         "running"
//   rect                  its screen rectangle: "left top right bottom"
//   text ID / enabled ID / checked ID
//   heard ID              what a screen reader gets from control ID through
//                         oleacc: "name|role|state|value" (role and state
//                         in hex), or "none" and the error
//   children              its children's names as a reader lists them: "a|b|.."
//   events                the reader events the game raised for its
//                         controls since the last ask: "event:ID ..." in hex
//                         and decimal
//   focused               the same of its focus events
//   click ID              BM_CLICK, returns when the command is handled
//   post ID               BM_CLICK without waiting for it
//   tick N                N timer messages, each handled before the next
//   grab X Y W H          screen pixels as hex RGB, rows top down
//   box                   the message box: "title|text", or "none"
//   ok                    press the message box's OK button
//   window CLASS          the title of a top-level window of CLASS, or "none"
//   load DLL              whether a plain LoadLibrary of DLL succeeds here
//   dpi N L T R B         WM_DPICHANGED to DPI N, suggesting the window
//                         rectangle (L, T, R, B): a move to such a monitor
//   ink W FACE|TEXT       how many letters of TEXT (UTF-8) FACE of weight W
//                         lacks, then the dark pixels of each of 512
//                         columns of TEXT drawn as a right-to-left caption,
//                         ending at x = 500
#include <oleacc.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

HWND game;
HANDLE process;  // held from "wait" on, so the game's exit code outlives it

HWND control(int id) { return GetDlgItem(game, id); }

std::string events, focusEvents;  // raised by the controls, not yet asked for

void CALLBACK record(HWINEVENTHOOK, DWORD event, HWND window, LONG object,
                     LONG child, DWORD, DWORD) {
  char entry[32];
  std::snprintf(entry, sizeof entry, "%lx:%d ", event, GetDlgCtrlID(window));
  if (object == OBJID_CLIENT && child == CHILDID_SELF)
    (event == EVENT_OBJECT_FOCUS ? focusEvents : events) += entry;
}

std::string fromWide(const wchar_t *text) {
  char bytes[1024] = "";
  WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, nullptr,
                      nullptr);
  return bytes;
}

std::string utf8(BSTR text) {
  const std::string bytes = fromWide(text);
  SysFreeString(text);
  return bytes;
}

std::wstring toWide(const char *text) {
  wchar_t wide[2048] = L"";
  MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, 2048);
  return wide;
}

// A window's text in UTF-8, whatever the code page.
std::string windowText(HWND window) {
  wchar_t text[512] = L"";
  GetWindowTextW(window, text, sizeof text / sizeof *text);
  return fromWide(text);
}

void heard(int id) {
  IAccessible *object = nullptr;
  const HRESULT found =
      AccessibleObjectFromWindow(control(id), OBJID_CLIENT, IID_IAccessible,
                                 reinterpret_cast<void **>(&object));
  if (FAILED(found)) {
    std::printf("none %lx\n", found);
    return;
  }
  VARIANT self{}, role{}, state{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr, value = nullptr;
  object->get_accName(self, &name);
  object->get_accRole(self, &role);
  object->get_accState(self, &state);
  object->get_accValue(self, &value);
  std::printf("%s|%lx|%lx|%s\n", utf8(name).c_str(), role.lVal, state.lVal,
              utf8(value).c_str());
  object->Release();
}

void children() {
  IAccessible *window = nullptr, *object = nullptr;
  VARIANT child[64], self{};  // CHILDID_SELF
  self.vt = VT_I4;
  LONG count = 0;
  if (SUCCEEDED(AccessibleObjectFromWindow(game, OBJID_CLIENT, IID_IAccessible,
                                           reinterpret_cast<void **>(&window))))
    AccessibleChildren(window, 0, 64, child, &count);
  std::string names;
  for (LONG i = 0; i < count; ++i) {
    BSTR name = nullptr;
    if (child[i].vt == VT_DISPATCH &&
        SUCCEEDED(child[i].pdispVal->QueryInterface(
            IID_IAccessible, reinterpret_cast<void **>(&object)))) {
      object->get_accName(self, &name);
      object->Release();
    }
    VariantClear(&child[i]);
    names += (i ? "|" : "") + utf8(name);
  }
  std::printf("%s\n", names.c_str());
  if (window) window->Release();
}

void grab(int x, int y, int w, int h) {
  const HDC screen = GetDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void *bits = nullptr;
  const HBITMAP bitmap =
      CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HDC memory = CreateCompatibleDC(screen);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, x, y, SRCCOPY);
  const auto *pixel = static_cast<const unsigned char *>(bits);
  std::string hex;
  hex.reserve(6 * w * h);
  static const char digits[] = "0123456789abcdef";
  for (int i = 0; i < w * h; ++i, pixel += 4)
    for (int c = 2; c >= 0; --c) {
      hex += digits[pixel[c] >> 4];
      hex += digits[pixel[c] & 15];
    }
  std::printf("%s\n", hex.c_str());
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  ReleaseDC(nullptr, screen);
}

// How many letters of text face of weight lacks, then text drawn as a
// right-to-left caption is, ending at x = 500: the dark pixels of each of
// 512 columns.
void ink(int weight, const wchar_t *face, const std::wstring &text) {
  LOGFONTW look{};
  look.lfHeight = -24;
  look.lfWeight = weight;
  lstrcpynW(look.lfFaceName, face, LF_FACESIZE);
  const HFONT font = CreateFontIndirectW(&look);
  BITMAPINFO info{};
  info.bmiHeader = {
      sizeof info.bmiHeader, 512, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void *bits = nullptr;
  const HBITMAP bitmap =
      CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, bitmap);
  SelectObject(dc, font);
  std::wstring glyphs(text.size(), L'\0');
  GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()),
                   reinterpret_cast<WORD *>(&glyphs[0]),
                   GGI_MARK_NONEXISTING_GLYPHS);
  std::printf("%d", int(std::count(glyphs.begin(), glyphs.end(), L'\xffff')));
  const RECT all{0, 0, 512, 40};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetTextAlign(dc, TA_RIGHT | TA_TOP);
  ExtTextOutW(dc, 500, 4, ETO_RTLREADING, nullptr, text.c_str(),
              static_cast<UINT>(text.size()), nullptr);
  GdiFlush();
  for (int x = 0; x < 512; ++x) {
    int dark = 0;
    for (int y = 0; y < 40; ++y)
      dark += static_cast<const unsigned char *>(bits)[4 * (y * 512 + x)] < 128;
    std::printf(" %d", dark);
  }
  std::printf("\n");
  DeleteDC(dc);
  DeleteObject(bitmap);
  DeleteObject(font);
}

void answer(const char *line) {
  char verb[32] = "", word[256] = "";
  int a = 0, b = 0, c = 0, d = 0;
  std::sscanf(line, "%31s", verb);
  const std::string v = verb;
  if (v == "wait") {
    // Shown means its controls exist; the answer to a sent message means
    // its loop runs.
    for (int i = 0; i < 1200 && !(game && IsWindowVisible(game)); ++i) {
      game = FindWindowA("Quintara", nullptr);
      Sleep(50);
    }
    SendMessageA(game, WM_NULL, 0, 0);
    DWORD id = 0;
    GetWindowThreadProcessId(game, &id);
    process =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                    record, id, 0, WINEVENT_OUTOFCONTEXT);
    SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, record, id,
                    0, WINEVENT_OUTOFCONTEXT);
    std::printf("%s\n", game && IsWindowVisible(game) ? "ok" : "none");
  } else if (v == "exit") {
    DWORD code = 0;
    if (WaitForSingleObject(process, 15000) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(process, &code))
      std::printf("%lu\n", code);
    else
      std::printf("running\n");
  } else if (v == "dpi") {
    // The suggested rectangle is put in the game's memory.
    RECT r{};
    std::sscanf(line, "%*s %d %ld %ld %ld %ld", &a, &r.left, &r.top, &r.right,
                &r.bottom);
    DWORD id = 0;
    GetWindowThreadProcessId(game, &id);
    const HANDLE p =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, 0, id);
    void *there =
        VirtualAllocEx(p, nullptr, sizeof r, MEM_COMMIT, PAGE_READWRITE);
    WriteProcessMemory(p, there, &r, sizeof r, nullptr);
    SendMessageA(game, WM_DPICHANGED, MAKEWPARAM(a, a), LPARAM(there));
    CloseHandle(p);
    std::printf("ok\n");
  } else if (v == "rect") {
    RECT r{};
    GetWindowRect(game, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
  } else if (std::sscanf(line, "%*s %d %d %d %d", &a, &b, &c, &d) == 4 &&
             v == "grab") {
    grab(a, b, c, d);
  } else if (v == "text") {
    std::sscanf(line, "%*s %d", &a);
    std::printf("%s\n", windowText(control(a)).c_str());
  } else if (v == "enabled" || v == "checked") {
    std::sscanf(line, "%*s %d", &a);
    const HWND h = control(a);
    std::printf("%d\n", v == "enabled" ? IsWindowEnabled(h) != 0
                                       : SendMessageA(h, BM_GETCHECK, 0, 0) ==
                                             BST_CHECKED);
  } else if (v == "events" || v == "focused") {
    // They come as messages to this thread.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageA(&message);
    std::string &asked = v == "events" ? events : focusEvents;
    std::printf("%s\n", asked.c_str());
    asked.clear();
  } else if (v == "children") {
    children();
  } else if (v == "heard") {
    std::sscanf(line, "%*s %d", &a);
    heard(a);
  } else if (v == "click" || v == "post") {
    std::sscanf(line, "%*s %d", &a);
    if (v == "click")
      SendMessageA(control(a), BM_CLICK, 0, 0);
    else
      PostMessageA(control(a), BM_CLICK, 0, 0);
    std::printf("ok\n");
  } else if (v == "tick") {
    std::sscanf(line, "%*s %d", &a);
    for (int i = 0; i < a; ++i) SendMessageA(game, WM_TIMER, 1, 0);
    std::printf("ok\n");
  } else if (v == "box" || v == "ok") {
    const HWND box = FindWindowA("#32770", nullptr);
    if (!box)
      std::printf("none\n");
    else if (v == "ok")
      std::printf("%d\n", PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0));
    else
      std::printf("%s|%s\n", windowText(box).c_str(),
                  windowText(GetDlgItem(box, 0xFFFF)).c_str());
  } else if (v == "window") {
    std::sscanf(line, "%*s %255[^\n]", word);
    const HWND w = FindWindowA(word, nullptr);
    std::printf("%s\n", w ? windowText(w).c_str() : "none");
  } else if (v == "ink") {
    std::sscanf(line, "%*s %d %n", &a, &b);
    const std::wstring faceAndText = toWide(line + b);
    const std::size_t bar = faceAndText.find(L'|');
    ink(a, faceAndText.substr(0, bar).c_str(),
        faceAndText.substr(bar + 1, faceAndText.size() - bar - 2));
  } else if (v == "load") {
    std::sscanf(line, "%*s %255s", word);
    std::printf("%d\n", LoadLibraryA(word) != nullptr);
  } else {
    std::printf("unknown\n");
  }
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  char line[4096];
  while (std::fgets(line, sizeof line, stdin)) {
    if (std::strncmp(line, "quit", 4) == 0) break;
    answer(line);
    std::fflush(stdout);
  }
  return 0;
}
