// What a screen reader learns of each control: its name from the core's
// table, its role, state and, for a static, its text. The system's own
// objects for buttons and statics answer nothing useful for owner-drawn or
// unnamed controls (and Wine's none at all), so each control answers
// WM_GETOBJECT itself with an IAccessible of its own. The main window's
// object lists them in reading order, where the system's would list them in
// the order they were made, and gives the keyboard cursor's place as the
// focus.
#include <oleacc.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "layout.h"
#include "names.h"
#include "state.h"
#include "win32.h"

namespace {

std::wstring windowText(HWND window) {
  wchar_t text[256] = L"";
  GetWindowTextW(window, text, sizeof text / sizeof *text);
  return text;
}

// What a reader hears of a control, and what it last heard.
struct Heard {
  std::wstring name, value;
  // All but the system's focus and the showing, which the system tells of
  // itself.
  LONG state;
};
Heard heard[CONTROL_COUNT];

const Control &controlOf(HWND window) {
  return *findControl(GetDlgCtrlID(window));
}

Heard hear(HWND window) {
  const Control &c = controlOf(window);
  const bool isStatic = c.kind == ControlKind::Static;
  LONG state = 0;
  if (!isStatic) state |= STATE_SYSTEM_FOCUSABLE;
  if (!IsWindowEnabled(window)) state |= STATE_SYSTEM_UNAVAILABLE;
  if (c.kind == ControlKind::CheckBox &&
      SendMessageA(window, BM_GETCHECK, 0, 0) == BST_CHECKED)
    state |= STATE_SYSTEM_CHECKED;
  // The keyboard cursor is the reader's focus while it is shown.
  if (cursorShown && placeOf(c.id) == cursor) state |= STATE_SYSTEM_FOCUSED;
  return {wide(controlName(c.id)), isStatic ? windowText(window) : L"", state};
}

// The focus: the keyboard cursor's place while it is shown, else the
// control the system gave it.
bool focused(HWND window) {
  return (hear(window).state & STATE_SYSTEM_FOCUSED) ||
         (!cursorShown && GetFocus() == window);
}

LONG systemRole(HWND window) {
  switch (roleOf(controlOf(window))) {
    case Role::CheckBox:
      return ROLE_SYSTEM_CHECKBUTTON;
    case Role::Text:
      return ROLE_SYSTEM_STATICTEXT;
    case Role::PushButton:
      break;
  }
  return ROLE_SYSTEM_PUSHBUTTON;
}

HRESULT giveText(const std::wstring &text, BSTR *out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT giveId(VARIANT *out, bool self) {
  if (!out) return E_POINTER;
  out->vt = self ? VT_I4 : VT_EMPTY;
  out->lVal = CHILDID_SELF;
  return self ? S_OK : S_FALSE;
}

// What both kinds of object share: COM's reference count, and no IDispatch.
class Object : public IAccessible {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override {
    if (!out) return E_POINTER;
    *out = iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible
               ? this
               : nullptr;
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return InterlockedIncrement(&references_);
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (!left) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID,
                                          DISPID *) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *,
                                   VARIANT *, EXCEPINFO *, UINT *) override {
    return E_NOTIMPL;
  }

 protected:
  virtual ~Object() = default;

 private:
  LONG references_ = 1;
};

// One control as a reader sees it: no children, nothing to set. It holds
// only the control's window, so it answers E_FAIL once that is gone.
class Accessible : public Object {
 public:
  explicit Accessible(HWND window) : window_(window) {}

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!IsWindow(window_)) return E_FAIL;
    return CreateStdAccessibleObject(window_, OBJID_WINDOW, IID_IDispatch,
                                     reinterpret_cast<void **>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG *count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch **child) override {
    if (child) *child = nullptr;
    return E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override {
    const HRESULT ok = check(child);
    return ok != S_OK ? ok : giveText(hear(window_).name, name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override {
    const HRESULT ok = check(child);
    if (ok != S_OK) return ok;
    if (controlOf(window_).kind != ControlKind::Static) {
      if (value) *value = nullptr;
      return DISP_E_MEMBERNOTFOUND;
    }
    return giveText(hear(window_).value, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR *text) override {
    return giveText(L"", text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override {
    const HRESULT ok = check(child);
    if (ok != S_OK) return ok;
    if (!role) return E_POINTER;
    role->vt = VT_I4;
    role->lVal = systemRole(window_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child,
                                         VARIANT *state) override {
    const HRESULT ok = check(child);
    if (ok != S_OK) return ok;
    if (!state) return E_POINTER;
    state->vt = VT_I4;
    state->lVal =
        hear(window_).state | (focused(window_) ? STATE_SYSTEM_FOCUSED : 0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR *text) override {
    return giveText(L"", text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT,
                                             LONG *topic) override {
    if (topic) *topic = 0;
    return giveText(L"", file);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT,
                                                    BSTR *text) override {
    return giveText(L"", text);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *focus) override {
    return giveId(focus, IsWindow(window_) && focused(window_));
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *selection) override {
    return giveId(selection, false);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR *text) override {
    return giveText(L"", text);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override {
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG *x, LONG *y, LONG *w, LONG *h,
                                        VARIANT child) override {
    const HRESULT ok = check(child);
    if (ok != S_OK) return ok;
    if (!x || !y || !w || !h) return E_POINTER;
    RECT r{};
    GetWindowRect(window_, &r);
    *x = r.left, *y = r.top, *w = r.right - r.left, *h = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT *to) override {
    return giveId(to, false);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT *at) override {
    RECT r{};
    return IsWindow(window_) && GetWindowRect(window_, &r)
               ? giveId(at, PtInRect(&r, POINT{x, y}))
               : E_FAIL;
  }
  // A reader's "click": the press a mouse click makes, handled in turn.
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    const HRESULT ok = check(child);
    if (ok != S_OK) return ok;
    if (controlOf(window_).kind == ControlKind::Static)
      return DISP_E_MEMBERNOTFOUND;
    PostMessageA(window_, BM_CLICK, 0, 0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override {
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override {
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  // S_OK for the control itself, its only child id.
  HRESULT check(const VARIANT &child) const {
    if (!IsWindow(window_)) return E_FAIL;
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF ? S_OK
                                                           : E_INVALIDARG;
  }

  HWND window_;
};

// The control of reading position i (1 to CONTROL_COUNT) of window.
HRESULT controlObject(HWND window, LONG i, IDispatch **out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (i < 1 || i > CONTROL_COUNT) return E_INVALIDARG;
  return AccessibleObjectFromWindow(GetDlgItem(window, kReadingOrder[i - 1]),
                                    OBJID_CLIENT, IID_IDispatch,
                                    reinterpret_cast<void **>(out));
}

// The main window as a reader sees it: the system's object, but for its
// children and its focus.
class WindowObject : public Object {
 public:
  WindowObject(HWND window, IAccessible *system)
      : window_(window), system_(system) {}

  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG *count) override {
    if (!count) return E_POINTER;
    *count = CONTROL_COUNT;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child,
                                         IDispatch **out) override {
    return controlObject(window_, child.vt == VT_I4 ? child.lVal : 0, out);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *focus) override {
    if (!focus || !cursorShown) return system_->get_accFocus(focus);
    focus->vt = VT_DISPATCH;
    const LONG at =
        static_cast<LONG>(std::find(std::begin(kReadingOrder),
                                    std::end(kReadingOrder), placeId(cursor)) -
                          kReadingOrder);
    return controlObject(window_, at + 1, &focus->pdispVal);
  }

  // The rest as the system answers for the window.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override {
    return system_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override {
    return system_->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override {
    return system_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child,
                                               BSTR *text) override {
    return system_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override {
    return system_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child,
                                         VARIANT *state) override {
    return system_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *text) override {
    return system_->get_accHelp(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child,
                                             LONG *topic) override {
    return system_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child,
                                                    BSTR *text) override {
    return system_->get_accKeyboardShortcut(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *selection) override {
    return system_->get_accSelection(selection);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child,
                                                 BSTR *text) override {
    return system_->get_accDefaultAction(child, text);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG how, VARIANT child) override {
    return system_->accSelect(how, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG *x, LONG *y, LONG *w, LONG *h,
                                        VARIANT child) override {
    return system_->accLocation(x, y, w, h, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG how, VARIANT from,
                                        VARIANT *to) override {
    return system_->accNavigate(how, from, to);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT *at) override {
    return system_->accHitTest(x, y, at);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return system_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return system_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return system_->put_accValue(child, value);
  }

 private:
  ~WindowObject() override { system_->Release(); }

  HWND window_;
  IAccessible *system_;
};

// Hands a reader the control's object; all else goes to the control's own
// procedure, kept in its user data. The Unicode calls leave the controls
// Unicode windows, as they were made.
LRESULT CALLBACK answerReaders(HWND window, UINT message, WPARAM wParam,
                               LPARAM lParam) {
  const auto own =
      reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
    Accessible *accessible = new Accessible(window);
    const LRESULT result =
        LresultFromObject(IID_IAccessible, wParam, accessible);
    accessible->Release();
    return result;
  }
  return CallWindowProcW(own, window, message, wParam, lParam);
}

}  // namespace

void makeAccessible(HWND window) {
  // The objects are handed to readers through COM.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (int i = 0; i < CONTROL_COUNT; ++i) {
    const HWND control = GetDlgItem(window, kControls[i].id);
    SetWindowLongPtrW(control, GWLP_USERDATA,
                      GetWindowLongPtrW(control, GWLP_WNDPROC));
    SetWindowLongPtrW(control, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(answerReaders));
    heard[i] = hear(control);
  }
}

LRESULT windowObject(HWND window, WPARAM wParam) {
  IAccessible *system = nullptr;
  if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible,
                                       reinterpret_cast<void **>(&system))))
    return 0;
  WindowObject *object = new WindowObject(window, system);
  const LRESULT result = LresultFromObject(IID_IAccessible, wParam, object);
  object->Release();
  return result;
}

void accessibleChanged(int id) {
  const int i = static_cast<int>(findControl(id) - kControls);
  const HWND control = GetDlgItem(hMainWindow, id);
  const Heard now = hear(control);
  const auto tell = [&](DWORD event) {
    NotifyWinEvent(event, control, OBJID_CLIENT, CHILDID_SELF);
  };
  if (now.name != heard[i].name) tell(EVENT_OBJECT_NAMECHANGE);
  if (now.value != heard[i].value) tell(EVENT_OBJECT_VALUECHANGE);
  if (now.state != heard[i].state) tell(EVENT_OBJECT_STATECHANGE);
  if (now.state & ~heard[i].state & STATE_SYSTEM_FOCUSED)
    tell(EVENT_OBJECT_FOCUS);
  heard[i] = now;
}
