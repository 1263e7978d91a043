#include "gui/ext_window.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <string>
#include <utility>

#include "gui/toolkit_text.h"
#include "platform/text.h"

namespace Wex {

namespace {

// X11 window coordinates and sizes are 16-bit; a size of 0 the toolkit refuses.
gint ToWindowPosition(std::int32_t v) { return std::clamp<std::int32_t>(v, -32768, 32767); }
gint ToWindowSize(std::int64_t v) { return static_cast<gint>(std::clamp<std::int64_t>(v, 1, 32767)); }

gint ToWidgetUnit(std::int64_t v) { return static_cast<gint>(std::clamp<std::int64_t>(v, G_MININT, G_MAXINT)); }

}  // namespace

rcExtWindow::rcExtWindow(GtkWindow* window) { AttachWindow(window); }

rcExtWindow::~rcExtWindow() { rcExtWindow::Close(); }

void rcExtWindow::AttachWindow(GtkWindow* window) {
  if (window == nullptr) return;
  fWindow = GTK_WINDOW(g_object_ref(window));
  // The window system's report of a geometry ends the pending state of a requested rectangle.
  fConfigureHandler = g_signal_connect(window, "configure-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer self) {
                                         static_cast<rcExtWindow*>(self)->fRequestedRect.reset();
                                         return FALSE;
                                       }),
                                       this);
}

void rcExtWindow::SetTitle(const refString& title) {
  if (fWindow == nullptr) return;
  const std::string utf8 = ToToolkitText(title);
  gtk_window_set_title(fWindow, utf8.c_str());
}

refString rcExtWindow::GetTitle() {
  const char* title = fWindow != nullptr ? gtk_window_get_title(fWindow) : nullptr;
  if (title == nullptr) return rcString::GetEmpty();
  return MakeRCString(Platform::UTF8ToLatin1(title, '_'));
}

void rcExtWindow::SetContentRect(const cRect& r) {
  if (fWindow == nullptr) return;
  fRequestedRect = r;
  // The position is the content area's, not that of a frame around it.
  gtk_window_set_gravity(fWindow, GDK_GRAVITY_STATIC);
  gtk_window_move(fWindow, ToWindowPosition(r.fLeft), ToWindowPosition(r.fTop));
  gtk_window_resize(fWindow, ToWindowSize(std::int64_t{r.fRight} - r.fLeft),
                    ToWindowSize(std::int64_t{r.fBottom} - r.fTop));
}

cRect rcExtWindow::GetContentRect() {
  if (fWindow == nullptr) return {};
  return fRequestedRect ? *fRequestedRect : GetReportedRect();
}

cRect rcExtWindow::GetReportedRect() const {
  gint x = 0;
  gint y = 0;
  gint width = 0;
  gint height = 0;
  if (gtk_widget_get_realized(GTK_WIDGET(fWindow))) {
    GdkWindow* window = gtk_widget_get_window(GTK_WIDGET(fWindow));
    gdk_window_get_origin(window, &x, &y);
    width = gdk_window_get_width(window);
    height = gdk_window_get_height(window);
  } else {
    gtk_window_get_position(fWindow, &x, &y);
    gtk_window_get_size(fWindow, &width, &height);
  }
  return {x, y, x + width, y + height};
}

cRect rcExtWindow::GetBounds() {
  const cRect content = GetContentRect();
  return {0, 0, content.Width(), content.Height()};
}

void rcExtWindow::Show() {
  if (fWindow == nullptr || IsVisible()) return;
  gtk_window_set_focus_on_map(fWindow, FALSE);
  gtk_widget_show(GTK_WIDGET(fWindow));
}

void rcExtWindow::Hide() {
  if (fWindow == nullptr || !IsVisible()) return;
  gtk_widget_hide(GTK_WIDGET(fWindow));
}

bool rcExtWindow::IsVisible() { return fWindow != nullptr && gtk_widget_get_visible(GTK_WIDGET(fWindow)); }

void rcExtWindow::Activate() {
  if (fWindow != nullptr) gtk_window_present(fWindow);
}

bool rcExtWindow::IsKeyWindow() { return fWindow != nullptr && gtk_window_is_active(fWindow); }

void rcExtWindow::InvalidateRect(const cRect& r) {
  GtkWidget* content = fWindow != nullptr ? gtk_bin_get_child(GTK_BIN(fWindow)) : nullptr;
  const std::int64_t width = std::int64_t{r.fRight} - r.fLeft;
  const std::int64_t height = std::int64_t{r.fBottom} - r.fTop;
  if (content == nullptr || width <= 0 || height <= 0) return;
  gtk_widget_queue_draw_area(content, r.fLeft, r.fTop, ToWidgetUnit(width), ToWidgetUnit(height));
}

void rcExtWindow::InvalidateAll() {
  if (GtkWidget* content = fWindow != nullptr ? gtk_bin_get_child(GTK_BIN(fWindow)) : nullptr) {
    gtk_widget_queue_draw(content);
  }
}

void rcExtWindow::SetUserValue(std::int32_t value) { fUserValue = value; }

std::int32_t rcExtWindow::GetUserValue() { return fUserValue; }

iref<iGUIView> rcExtWindow::GetAttachedInterface() { return nullptr; }

void rcExtWindow::Close() {
  if (GtkWindow* window = std::exchange(fWindow, nullptr)) {
    if (g_signal_handler_is_connected(window, fConfigureHandler)) g_signal_handler_disconnect(window, fConfigureHandler);
    fConfigureHandler = 0;
    fRequestedRect.reset();
    g_object_unref(window);
  }
  if (const aref<rcVector<rcExtWindow**>> holders = std::move(fBackReferences)) {
    for (std::int64_t i = holders.GetSize() - 1; i >= 0; --i) *holders[i] = nullptr;
  }
}

void rcExtWindow::Placeholder() {}

void rcExtWindow::UpdateRect(const cRect& r) { InvalidateRect(r); }

void rcExtWindow::SetAlphaValue(float alpha) {
  if (fWindow != nullptr) gtk_widget_set_opacity(GTK_WIDGET(fWindow), static_cast<double>(alpha));
}

void rcExtWindow::AddBackReference(rcExtWindow** holder) {
  if (!fBackReferences) fBackReferences = new rcVector<rcExtWindow**>();
  fBackReferences->Append(holder);
}

void rcExtWindow::RemoveBackReference(rcExtWindow** holder) {
  for (std::int64_t i = fBackReferences.GetSize() - 1; i >= 0; --i) {
    if (fBackReferences[i] == holder) {
      fBackReferences->Remove(i, 1);
      return;
    }
  }
}

ref<rcGraphicsContext> rcExtWindow::BeginDrawing() {
  if (fDrawingDepth == 0) {
    if (fWindow == nullptr) return nullptr;
    // The toolkit draws only while it paints a window, and what is drawn here is only measured:
    // text metrics do not depend on the surface.
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    fDrawingContext = cairo_create(surface);
    cairo_surface_destroy(surface);
  }
  ++fDrawingDepth;
  return new rcWindowGraphicsContext(cairo_reference(fDrawingContext), ref<rcExtWindow>(this));
}

void rcExtWindow::EndDrawing() {
  if (--fDrawingDepth == 0) cairo_destroy(std::exchange(fDrawingContext, nullptr));
}

rcWindowGraphicsContext::rcWindowGraphicsContext(cairo_t* context, const ref<rcExtWindow>& window)
    : rcGraphicsContext(context), fWindow(window) {}

rcWindowGraphicsContext::~rcWindowGraphicsContext() { fWindow->EndDrawing(); }

Platform::Rect ToFlippedScreenRect(const cRect& r, std::int32_t screenHeight) {
  const auto single = [](std::int64_t v) { return static_cast<double>(static_cast<float>(v)); };
  return {single(r.fLeft), single(std::int64_t{screenHeight} - r.fBottom), single(std::int64_t{r.fRight} - r.fLeft),
          single(std::int64_t{r.fBottom} - r.fTop)};
}

cRect FromFlippedScreenRect(const Platform::Rect& r, std::int32_t screenHeight) {
  const cRect edges = ToRect(r);
  return {edges.fLeft, FlipScreenY(edges.fBottom, screenHeight), edges.fRight, FlipScreenY(edges.fTop, screenHeight)};
}

std::int32_t FlipScreenY(std::int32_t y) {
  std::int32_t height = 0;
  if (GdkDisplay* display = gdk_display_get_default()) {
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (monitor == nullptr) monitor = gdk_display_get_monitor(display, 0);
    if (monitor != nullptr) {
      GdkRectangle geometry;
      gdk_monitor_get_geometry(monitor, &geometry);
      height = geometry.height;
    }
  }
  return FlipScreenY(y, height);
}

}  // namespace Wex
