// SDL has no accessibility interface, so the window answers readers as
// programs that draw themselves do: through ATK objects of its own, which
// ATK's bridge puts on the accessibility bus. The objects live on a GLib
// thread and are touched only there; the game's thread sends them what a
// reader hears now, and their clicks come back to it as SDL events.
#include "access.h"

#include <atk-bridge.h>
#include <atk/atk.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>

#include "draw.h"
#include "drawn.h"
#include "game.h"
#include "names.h"
#include "pointer.h"
#include "state.h"
#include "texts.h"
#include "window.h"

namespace {

// What a reader hears of one control.
struct Heard {
  std::string name, text;
  bool enabled = true, checked = false, focused = false;
  bool operator==(const Heard &o) const {
    return name == o.name && text == o.text && enabled == o.enabled &&
           checked == o.checked && focused == o.focused;
  }
};

// ... and of the whole window: the controls by index in kControls, where
// the window is on the screen and whether it has the keyboard.
struct Scene {
  std::array<Heard, CONTROL_COUNT> controls;
  int x = 0, y = 0, scale = 1;
  bool active = false;
  bool operator==(const Scene &o) const {
    return controls == o.controls && x == o.x && y == o.y && scale == o.scale &&
           active == o.active;
  }
};

const Face *face = &kLandscape;
Uint32 clickType;
GThread *thread;
GMainLoop *loop;
// False once the bridge found no bus.
std::atomic<bool> bridged{false};
// What the game's thread last sent.
Scene told;

Scene sceneNow() {
  Scene s;
  for (int i = 0; i < CONTROL_COUNT; ++i) {
    const Control &c = kControls[i];
    Heard &h = s.controls[i];
    h.name = controlName(c.id);
    if (c.kind == ControlKind::Static) h.text = staticText(c.id);
    if (c.kind == ControlKind::CheckBox) {
      h.enabled = iconSetBoxEnabled();
      h.checked = sportset % 2;
    }
    // The keyboard cursor is the reader's focus while it is shown.
    h.focused = cursorShown && placeOf(c.id) == cursor;
  }
  if (SDL_Window *w = mainWindow()) {
    SDL_GetWindowPosition(w, &s.x, &s.y);
    s.active = SDL_GetWindowFlags(w) & SDL_WINDOW_INPUT_FOCUS;
  }
  s.scale = drawingScale();
  return s;
}

// Runs f on the GLib thread, whoever holds its context meanwhile.
void onGlibThread(GSourceFunc f, gpointer data, GDestroyNotify done) {
  GSource *source = g_idle_source_new();
  g_source_set_callback(source, f, data, done);
  g_source_attach(source, nullptr);
  g_source_unref(source);
}

// --- the GLib thread's side ----------------------------------------------

// What the readers were last told, and the objects they ask.
Scene heard;
AtkObject *app, *window, *controls[CONTROL_COUNT], *notice;

AtkObject *status() { return controls[indexOf(ID_STATUS)]; }

struct QuintaraNode {
  AtkObject object;
  int index;  // in kControls; -1 for the others
};
struct QuintaraNodeClass {
  AtkObjectClass parent;
};
G_DEFINE_TYPE(QuintaraNode, quintara_node, ATK_TYPE_OBJECT)

int nodeIndex(AtkObject *o) {
  return reinterpret_cast<QuintaraNode *>(o)->index;
}

// The application holds the window, the window the controls in reading
// order, and the status line the notice that speaks its changes.
gint childCount(AtkObject *o) {
  return o == window ? CONTROL_COUNT : o == app || o == status() ? 1 : 0;
}

AtkObject *childAt(AtkObject *o, gint i) {
  AtkObject *child = nullptr;
  if (o == app && i == 0) child = window;
  if (o == window && i >= 0 && i < CONTROL_COUNT)
    child = controls[indexOf(kReadingOrder[i])];
  if (o == status() && i == 0) child = notice;
  return child ? ATK_OBJECT(g_object_ref(child)) : nullptr;
}

gint indexInParent(AtkObject *o) {
  for (int i = 0; i < CONTROL_COUNT; ++i)
    if (o == controls[indexOf(kReadingOrder[i])]) return i;
  return o == window || o == notice ? 0 : -1;
}

AtkStateSet *stateSet(AtkObject *o) {
  AtkStateSet *set =
      ATK_OBJECT_CLASS(quintara_node_parent_class)->ref_state_set(o);
  const auto add = [set](AtkStateType s, bool on = true) {
    if (on) atk_state_set_add_state(set, s);
  };
  add(ATK_STATE_VISIBLE);
  add(ATK_STATE_SHOWING);
  const int i = nodeIndex(o);
  const Heard &h = i < 0 ? Heard() : heard.controls[i];
  add(ATK_STATE_ENABLED, h.enabled);
  add(ATK_STATE_SENSITIVE, h.enabled);
  add(ATK_STATE_ACTIVE, o == window && heard.active);
  if (i < 0) return set;
  const ControlKind kind = kControls[i].kind;
  add(ATK_STATE_FOCUSABLE, kind != ControlKind::Static);
  add(ATK_STATE_FOCUSED, h.focused);
  add(ATK_STATE_CHECKABLE, kind == ControlKind::CheckBox);
  add(ATK_STATE_CHECKED, h.checked);
  return set;
}

void quintara_node_init(QuintaraNode *node) { node->index = -1; }
void quintara_node_class_init(QuintaraNodeClass *c) {
  AtkObjectClass *object = ATK_OBJECT_CLASS(c);
  object->get_n_children = childCount;
  object->ref_child = childAt;
  object->get_index_in_parent = indexInParent;
  object->ref_state_set = stateSet;
}

// Where a control, or the window, lies: in the window's pixels or the
// screen's.
void extents(AtkComponent *o, gint *x, gint *y, gint *w, gint *h,
             AtkCoordType coords) {
  const int i = nodeIndex(ATK_OBJECT(o)), k = heard.scale;
  const Control whole{0, ControlKind::Static, 0, 0, face->w, face->h, ""};
  const Control &c = i < 0 ? whole : face->controls[i];
  const bool screen = coords == ATK_XY_SCREEN;
  *x = k * c.x + (screen ? heard.x : 0);
  *y = k * c.y + (screen ? heard.y : 0);
  *w = k * c.w;
  *h = k * c.h;
}
void componentInit(AtkComponentIface *iface) { iface->get_extents = extents; }

// A reader's click: the game's thread runs it as a click on the control.
gint actionCount(AtkAction *) { return 1; }
const gchar *actionName(AtkAction *, gint i) {
  return i == 0 ? "click" : nullptr;
}
gboolean act(AtkAction *o, gint i) {
  const int at = nodeIndex(ATK_OBJECT(o));
  if (i != 0 || !heard.controls[at].enabled) return FALSE;
  SDL_Event e{};
  e.type = clickType;
  e.user.code = kControls[at].id;
  return SDL_PushEvent(&e) == 1;
}
void actionInit(AtkActionIface *iface) {
  iface->get_n_actions = actionCount;
  iface->get_name = actionName;
  iface->do_action = act;
}

// A static's text, by characters.
const std::string &textOf(AtkText *o) {
  return heard.controls[nodeIndex(ATK_OBJECT(o))].text;
}
gint length(const std::string &text) {
  return gint(g_utf8_strlen(text.c_str(), -1));
}
gchar *textPart(AtkText *o, gint start, gint end) {
  const std::string &text = textOf(o);
  return g_utf8_substring(text.c_str(), start, end < 0 ? length(text) : end);
}
gint characterCount(AtkText *o) { return length(textOf(o)); }
gint caretOffset(AtkText *) { return 0; }
gunichar characterAt(AtkText *o, gint offset) {
  const std::string &text = textOf(o);
  return offset >= 0 && offset < length(text)
             ? g_utf8_get_char(g_utf8_offset_to_pointer(text.c_str(), offset))
             : 0;
}
// The text is one line: any unit but a character is the whole of it.
gchar *stringAt(AtkText *o, gint offset, AtkTextGranularity unit, gint *start,
                gint *end) {
  const bool one = unit == ATK_TEXT_GRANULARITY_CHAR;
  *start = one ? offset : 0;
  *end = one ? offset + 1 : characterCount(o);
  return textPart(o, *start, *end);
}
void textInit(AtkTextIface *iface) {
  iface->get_text = textPart;
  iface->get_character_count = characterCount;
  iface->get_caret_offset = caretOffset;
  iface->get_character_at_offset = characterAt;
  iface->get_string_at_offset = stringAt;
}

struct QuintaraFrame {
  QuintaraNode node;
};
struct QuintaraFrameClass {
  QuintaraNodeClass parent;
};
void windowInit(AtkWindowIface *) {}
G_DEFINE_TYPE_WITH_CODE(QuintaraFrame, quintara_frame, quintara_node_get_type(),
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT, componentInit)
                            G_IMPLEMENT_INTERFACE(ATK_TYPE_WINDOW, windowInit))
void quintara_frame_init(QuintaraFrame *) {}
void quintara_frame_class_init(QuintaraFrameClass *) {}

struct QuintaraButton {
  QuintaraNode node;
};
struct QuintaraButtonClass {
  QuintaraNodeClass parent;
};
G_DEFINE_TYPE_WITH_CODE(QuintaraButton, quintara_button,
                        quintara_node_get_type(),
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT, componentInit)
                            G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, actionInit))
void quintara_button_init(QuintaraButton *) {}
void quintara_button_class_init(QuintaraButtonClass *) {}

struct QuintaraLabel {
  QuintaraNode node;
};
struct QuintaraLabelClass {
  QuintaraNodeClass parent;
};
G_DEFINE_TYPE_WITH_CODE(QuintaraLabel, quintara_label, quintara_node_get_type(),
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT, componentInit)
                            G_IMPLEMENT_INTERFACE(ATK_TYPE_TEXT, textInit))
void quintara_label_init(QuintaraLabel *) {}
void quintara_label_class_init(QuintaraLabelClass *) {}

AtkObject *node(GType type, AtkRole role, const std::string &name,
                AtkObject *parent, int index = -1) {
  auto *o = ATK_OBJECT(g_object_new(type, nullptr));
  reinterpret_cast<QuintaraNode *>(o)->index = index;
  atk_object_set_role(o, role);
  atk_object_set_name(o, name.c_str());
  if (parent) atk_object_set_parent(o, parent);
  return o;
}

AtkRole atkRole(const Control &c) {
  switch (roleOf(c)) {
    case Role::CheckBox:
      return ATK_ROLE_CHECK_BOX;
    case Role::Text:
      return ATK_ROLE_LABEL;
    case Role::PushButton:
      break;
  }
  return ATK_ROLE_PUSH_BUTTON;
}

void makeTree() {
  app = node(quintara_node_get_type(), ATK_ROLE_APPLICATION, WINDOW_TITLE,
             nullptr);
  window = node(quintara_frame_get_type(), ATK_ROLE_FRAME, WINDOW_TITLE, app);
  for (int i = 0; i < CONTROL_COUNT; ++i) {
    const Control &c = kControls[i];
    controls[i] =
        node(c.kind == ControlKind::Static ? quintara_label_get_type()
                                           : quintara_button_get_type(),
             atkRole(c), heard.controls[i].name, window, i);
  }
  notice = node(quintara_node_get_type(), ATK_ROLE_NOTIFICATION,
                heard.controls[indexOf(ID_STATUS)].text, status());
}

// The status line said politely: ATK's announcement where this ATK has it,
// and a notice that shows itself, which Orca 43 (ignoring announcements)
// speaks.
void announce(const std::string &text) {
  if (g_signal_lookup("announcement", ATK_TYPE_OBJECT))
    g_signal_emit_by_name(status(), "announcement", text.c_str());
  atk_object_set_name(notice, text.c_str());
  atk_object_notify_state_change(notice, ATK_STATE_SHOWING, TRUE);
}

// Tells the readers what differs in a scene from the last one; the objects
// answer from the new one meanwhile.
gboolean tell(gpointer data) {
  const Scene was = std::exchange(heard, *static_cast<Scene *>(data));
  for (int i = 0; i < CONTROL_COUNT; ++i) {
    const Heard &a = was.controls[i], &b = heard.controls[i];
    AtkObject *o = controls[i];
    if (a.name != b.name) atk_object_set_name(o, b.name.c_str());
    if (a.text != b.text) {
      g_signal_emit_by_name(o, "text-remove", 0, length(a.text),
                            a.text.c_str());
      g_signal_emit_by_name(o, "text-insert", 0, length(b.text),
                            b.text.c_str());
      if (kControls[i].id == ID_STATUS) announce(b.text);
    }
    if (a.enabled != b.enabled) {
      atk_object_notify_state_change(o, ATK_STATE_ENABLED, b.enabled);
      atk_object_notify_state_change(o, ATK_STATE_SENSITIVE, b.enabled);
    }
    if (a.checked != b.checked)
      atk_object_notify_state_change(o, ATK_STATE_CHECKED, b.checked);
    if (a.focused && !b.focused)
      atk_object_notify_state_change(o, ATK_STATE_FOCUSED, FALSE);
  }
  // The focus comes after it has left the place before.
  for (int i = 0; i < CONTROL_COUNT; ++i)
    if (heard.controls[i].focused && !was.controls[i].focused)
      atk_object_notify_state_change(controls[i], ATK_STATE_FOCUSED, TRUE);
  if (was.active != heard.active) {
    g_signal_emit_by_name(window, heard.active ? "activate" : "deactivate");
    atk_object_notify_state_change(window, ATK_STATE_ACTIVE, heard.active);
  }
  return G_SOURCE_REMOVE;
}

// ATK's events reach the bridge through hooks on the objects' signals, by
// "toolkit:type:signal".
std::map<guint, std::pair<guint, gulong>> hooks;

guint addHook(GSignalEmissionHook hook, const gchar *event) {
  gchar **part = g_strsplit(event, ":", 3);
  guint id = 0;
  if (g_strv_length(part) == 3)
    if (const GType type = g_type_from_name(part[1]))
      if (const guint signal = g_signal_lookup(part[2], type)) {
        id = guint(hooks.size()) + 1;
        hooks[id] = {signal, g_signal_add_emission_hook(signal, 0, hook,
                                                        nullptr, nullptr)};
      }
  g_strfreev(part);
  return id;
}

void removeHook(guint id) {
  const auto found = hooks.find(id);
  if (found == hooks.end()) return;
  g_signal_remove_emission_hook(found->second.first, found->second.second);
  hooks.erase(found);
}

AtkObject *root() { return app; }
const gchar *toolkitName() { return "SDL"; }
const gchar *toolkitVersion() {
  static const std::string version = [] {
    SDL_version v;
    SDL_GetVersion(&v);
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
           std::to_string(v.patch);
  }();
  return version.c_str();
}

gpointer serve(gpointer first) {
  heard = *static_cast<Scene *>(first);
  delete static_cast<Scene *>(first);
  auto *util = ATK_UTIL_CLASS(g_type_class_ref(ATK_TYPE_UTIL));
  util->add_global_event_listener = addHook;
  util->remove_global_event_listener = removeHook;
  util->get_root = root;
  util->get_toolkit_name = toolkitName;
  util->get_toolkit_version = toolkitVersion;
  makeTree();
  if (atk_bridge_adaptor_init(nullptr, nullptr) == 0) {
    g_main_loop_run(loop);
    atk_bridge_adaptor_cleanup();
  }
  bridged = false;
  for (AtkObject *o : controls) g_object_unref(o);
  for (AtkObject *o : {notice, window, app}) g_object_unref(o);
  g_type_class_unref(util);
  return nullptr;
}

// A session bus, or the accessibility bus itself, is named: without one
// libdbus would start a bus of its own for the game.
bool busNamed() {
  const auto named = [](const char *variable) {
    const char *value = std::getenv(variable);
    return value && *value;
  };
  if (named("NO_AT_BRIDGE") &&
      std::strcmp(std::getenv("NO_AT_BRIDGE"), "1") == 0)
    return false;
  if (named("AT_SPI_BUS_ADDRESS") || named("DBUS_SESSION_BUS_ADDRESS"))
    return true;
  return named("XDG_RUNTIME_DIR") &&
         access((std::string(std::getenv("XDG_RUNTIME_DIR")) + "/bus").c_str(),
                F_OK) == 0;
}

}  // namespace

void openAccess(const Face &shown) {
  if (!busNamed()) return;
  face = &shown;
  clickType = SDL_RegisterEvents(1);
  told = sceneNow();
  loop = g_main_loop_new(nullptr, FALSE);
  bridged = true;
  thread = g_thread_new("access", serve, new Scene(told));
}

void closeAccess() {
  if (!thread) return;
  onGlibThread(
      [](gpointer) {
        g_main_loop_quit(loop);
        return G_SOURCE_REMOVE;
      },
      nullptr, nullptr);
  g_thread_join(thread);
  thread = nullptr;
  g_main_loop_unref(loop);
}

bool handleAccessEvent(const SDL_Event &e) {
  if (!clickType || e.type != clickType) return false;
  // The box may have been greyed since the reader's click.
  if (e.user.code != ID_SPORTS || iconSetBoxEnabled()) gameCommand(e.user.code);
  return true;
}

void accessChanged() {
  if (!bridged) return;
  Scene now = sceneNow();
  if (now == told) return;
  told = now;
  onGlibThread(tell, new Scene(std::move(now)),
               [](gpointer s) { delete static_cast<Scene *>(s); });
}
