#include "platform/gtk_content_view_peer.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "platform/cursor.h"

namespace Platform {

namespace {

constexpr const char* kDisplayCursorsKey = "marovell-display-cursors";

// The toolkit cursors of the shared cursors on one display, by cursor id; they live as long as
// the display.
struct DisplayCursors {
  DisplayCursors() = default;
  DisplayCursors(const DisplayCursors&) = delete;
  DisplayCursors& operator=(const DisplayCursors&) = delete;
  ~DisplayCursors() {
    for (const auto& [id, cursor] : cursors) g_object_unref(cursor);
  }

  std::map<std::int32_t, GdkCursor*> cursors;
};

// A widget coordinate from a double, rounded and clamped into X11's 16 bits; NaN gives 0.
gint ToWidgetPosition(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<gint>(std::lround(std::clamp(v, -32768.0, 32767.0)));
}

// A widget size from a double, likewise; a negative size is none.
gint ToWidgetSize(double v) { return std::max(0, ToWidgetPosition(v)); }

// An edge of an area to redraw, rounded outward by the caller, within the toolkit's integers.
gint ToAreaEdge(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<gint>(std::clamp<double>(v, G_MININT / 2, G_MAXINT / 2));
}

// Replaces a held object by another, holding the new one.
template <class T>
void Hold(T*& field, T* object) {
  if (object != nullptr) g_object_ref(object);
  if (field != nullptr) g_object_unref(field);
  field = object;
}

}  // namespace

GdkCursor* GetDisplayCursor(GObject* cursor, GdkDisplay* display) {
  if (cursor == nullptr || display == nullptr) return nullptr;
  if (GDK_IS_CURSOR(cursor)) return GDK_CURSOR(cursor);
  const char* name = GetCursorName(cursor);
  if (name == nullptr) return nullptr;
  auto* cache = static_cast<DisplayCursors*>(g_object_get_data(G_OBJECT(display), kDisplayCursorsKey));
  if (cache == nullptr) {
    cache = new DisplayCursors();
    g_object_set_data_full(G_OBJECT(display), kDisplayCursorsKey, cache,
                           [](gpointer data) { delete static_cast<DisplayCursors*>(data); });
  }
  GdkCursor*& made = cache->cursors[GetCursorId(cursor)];
  if (made == nullptr) {
    made = gdk_cursor_new_from_name(display, name);
    if (made == nullptr) made = gdk_cursor_new_for_display(display, GDK_LEFT_PTR);
  }
  return made;
}

GtkContentViewPeer::GtkContentViewPeer() : fWidget(gtk_drawing_area_new()) {
  g_object_ref_sink(fWidget);
  gtk_widget_set_app_paintable(fWidget, TRUE);
  gtk_widget_set_can_focus(fWidget, TRUE);
  gtk_widget_add_events(fWidget, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                     GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK | GDK_KEY_PRESS_MASK |
                                     GDK_KEY_RELEASE_MASK | GDK_FOCUS_CHANGE_MASK);
  // A view shows once it is in a parent, unless it is hidden.
  gtk_widget_show(fWidget);
}

GtkContentViewPeer::~GtkContentViewPeer() {
  Disconnect();
  Hold(fCursor, static_cast<GObject*>(nullptr));
  Hold(fAppliedCursor, static_cast<GdkCursor*>(nullptr));
  Hold(fAppliedWindow, static_cast<GdkWindow*>(nullptr));
  gtk_widget_destroy(fWidget);
  g_object_unref(fWidget);
}

void GtkContentViewPeer::ConnectSignal(const char* signal, GCallback handler) {
  fHandlers.push_back(g_signal_connect(fWidget, signal, handler, this));
}

void GtkContentViewPeer::Connect(Wex::rc* object, iContentViewSink* sink) {
  Disconnect();
  if (sink == nullptr) return;
  fSinkObject = object;
  fSink = sink;
  for (const char* signal : {"button-press-event", "button-release-event", "motion-notify-event",
                             "enter-notify-event", "leave-notify-event", "key-press-event", "key-release-event",
                             "focus-in-event", "focus-out-event", "grab-broken-event"}) {
    ConnectSignal(signal, G_CALLBACK(OnEvent));
  }
  ConnectSignal("draw", G_CALLBACK(OnDraw));
  ConnectSignal("realize", G_CALLBACK(OnRealize));
  ConnectSignal("hide", G_CALLBACK(Notify<&iContentViewSink::viewDidHide>));
  ConnectSignal("show", G_CALLBACK(Notify<&iContentViewSink::viewDidUnhide>));
  ConnectSignal("hierarchy-changed", G_CALLBACK(NotifyChange<&iContentViewSink::viewDidMoveToWindow>));
  ConnectSignal("parent-set", G_CALLBACK(NotifyChange<&iContentViewSink::viewDidMoveToSuperview>));
  ConnectSignal("destroy", G_CALLBACK(Notify<&iContentViewSink::Release>));
}

void GtkContentViewPeer::Disconnect() {
  for (const gulong handler : fHandlers) g_signal_handler_disconnect(fWidget, handler);
  fHandlers.clear();
  fSinkObject = nullptr;
  fSink = nullptr;
}

void GtkContentViewPeer::SetFrame(const Rect& frame) {
  fFrame = frame;
  gtk_widget_set_size_request(fWidget, ToWidgetSize(frame.width), ToWidgetSize(frame.height));
  if (GtkWidget* parent = gtk_widget_get_parent(fWidget); parent != nullptr && GTK_IS_FIXED(parent)) {
    gtk_fixed_move(GTK_FIXED(parent), fWidget, ToWidgetPosition(frame.x), ToWidgetPosition(frame.y));
  }
}

void GtkContentViewPeer::AddToSuperview(GtkContainer* parent) {
  RemoveFromSuperview();
  if (GTK_IS_FIXED(parent)) {
    gtk_fixed_put(GTK_FIXED(parent), fWidget, ToWidgetPosition(fFrame.x), ToWidgetPosition(fFrame.y));
  } else {
    gtk_container_add(parent, fWidget);
  }
}

void GtkContentViewPeer::SetHidden(bool hidden) { gtk_widget_set_visible(fWidget, !hidden); }

bool GtkContentViewPeer::IsHidden() { return !gtk_widget_get_visible(fWidget); }

GtkWindow* GtkContentViewPeer::GetWindow() {
  GtkWidget* toplevel = gtk_widget_get_toplevel(fWidget);
  return gtk_widget_is_toplevel(toplevel) && GTK_IS_WINDOW(toplevel) ? GTK_WINDOW(toplevel) : nullptr;
}

Point GtkContentViewPeer::GetPositionInWindow() {
  GtkWindow* window = GetWindow();
  gint x = 0;
  gint y = 0;
  if (window == nullptr || !gtk_widget_translate_coordinates(fWidget, GTK_WIDGET(window), 0, 0, &x, &y)) return {};
  return {static_cast<double>(x), static_cast<double>(y)};
}

void GtkContentViewPeer::SetNeedsDisplayInRect(const Rect& r) {
  const gint left = ToAreaEdge(std::floor(r.x));
  const gint top = ToAreaEdge(std::floor(r.y));
  const gint right = ToAreaEdge(std::ceil(r.x + r.width));
  const gint bottom = ToAreaEdge(std::ceil(r.y + r.height));
  if (right > left && bottom > top) gtk_widget_queue_draw_area(fWidget, left, top, right - left, bottom - top);
}

void GtkContentViewPeer::SetNeedsDisplay() { gtk_widget_queue_draw(fWidget); }

void GtkContentViewPeer::MakeFirstResponder() {
  if (GetWindow() != nullptr) gtk_widget_grab_focus(fWidget);
}

bool GtkContentViewPeer::IsFirstResponder() { return GetWindow() != nullptr && gtk_widget_is_focus(fWidget); }

void GtkContentViewPeer::UseCursor(GObject* cursor) {
  Hold(fCursor, cursor);
  if (fDispatchDepth == 0) ApplyCursor();
}

void GtkContentViewPeer::RemoveFromSuperview() {
  if (GtkWidget* parent = gtk_widget_get_parent(fWidget); parent != nullptr && GTK_IS_CONTAINER(parent)) {
    gtk_container_remove(GTK_CONTAINER(parent), fWidget);
  }
}

template <class Call>
bool GtkContentViewPeer::CallSink(Call call) {
  if (fSink == nullptr) return false;
  const ref<GtkContentViewPeer> keepPeer(this);
  const ref<Wex::rc> keepSink(fSinkObject);
  bool result = true;
  ++fDispatchDepth;
  try {
    result = call(*fSink);
  } catch (...) {
    // Dropped: the event counts as consumed.
  }
  --fDispatchDepth;
  ApplyCursor();
  return result;
}

void GtkContentViewPeer::ApplyCursor() {
  GdkWindow* window = gtk_widget_get_window(fWidget);
  if (window == nullptr) return;
  GdkCursor* cursor = GetDisplayCursor(fCursor, gdk_window_get_display(window));
  if (window == fAppliedWindow && cursor == fAppliedCursor) return;
  gdk_window_set_cursor(window, cursor);
  Hold(fAppliedWindow, window);
  Hold(fAppliedCursor, cursor);
}

ViewEventContext GtkContentViewPeer::ReadContext(const GdkEvent* event) const {
  ViewEventContext context;
  GdkModifierType state{};
  if (gdk_event_get_state(event, &state)) {
    gdk_keymap_add_virtual_modifiers(gdk_keymap_get_for_display(gtk_widget_get_display(fWidget)), &state);
  }
  context.modifierState = static_cast<std::uint32_t>(state);
  gint time = 400;
  gint distance = 5;
  g_object_get(gtk_widget_get_settings(fWidget), "gtk-double-click-time", &time, "gtk-double-click-distance",
               &distance, nullptr);
  context.doubleClickTime = time;
  context.doubleClickDistance = distance;
  context.width = gtk_widget_get_allocated_width(fWidget);
  context.height = gtk_widget_get_allocated_height(fWidget);
  return context;
}

bool GtkContentViewPeer::Dispatch(GdkEvent* event) {
  if (fSink == nullptr) return false;
  // A click makes the view the receiver of the keys.
  if (event->type == GDK_BUTTON_PRESS) gtk_widget_grab_focus(fWidget);
  const std::optional<ViewEvent> record = fTranslator.Translate(*event, ReadContext(event));
  const bool consumed = record && CallSink([&](iContentViewSink& sink) { return sink.DispatchEvent(*record); });
  // The translator only forgets held keys on a focus change; the view hears of it as such.
  if (event->type == GDK_FOCUS_CHANGE) Notify<&iContentViewSink::viewDidChangeFocus>(fWidget, this);
  // Crossings go on to the parent in any case.
  if (event->type == GDK_ENTER_NOTIFY || event->type == GDK_LEAVE_NOTIFY) return false;
  return consumed;
}

gboolean GtkContentViewPeer::OnEvent(GtkWidget*, GdkEvent* event, gpointer peer) {
  return static_cast<GtkContentViewPeer*>(peer)->Dispatch(event) ? TRUE : FALSE;
}

gboolean GtkContentViewPeer::OnDraw(GtkWidget*, cairo_t* context, gpointer peer) {
  double x1 = 0.0;
  double y1 = 0.0;
  double x2 = 0.0;
  double y2 = 0.0;
  cairo_clip_extents(context, &x1, &y1, &x2, &y2);
  const Rect dirty{x1, y1, x2 - x1, y2 - y1};
  static_cast<GtkContentViewPeer*>(peer)->CallSink([&](iContentViewSink& sink) {
    sink.drawRect(context, dirty);
    return true;
  });
  return FALSE;
}

void GtkContentViewPeer::OnRealize(GtkWidget*, gpointer peer) { static_cast<GtkContentViewPeer*>(peer)->ApplyCursor(); }

template <void (iContentViewSink::*Notification)()>
void GtkContentViewPeer::Notify(GtkWidget*, gpointer peer) {
  static_cast<GtkContentViewPeer*>(peer)->CallSink([](iContentViewSink& sink) {
    (sink.*Notification)();
    return true;
  });
}

template <void (iContentViewSink::*Notification)()>
void GtkContentViewPeer::NotifyChange(GtkWidget* widget, GtkWidget*, gpointer peer) {
  Notify<Notification>(widget, peer);
}

}  // namespace Platform
