#include "gui/window.h"

#include <gtk/gtk.h>

#include <optional>
#include <vector>

#include "base/clock.h"

using ContentView = comkelvane_brimlib_20150413151123_ContentView;

// The window's delegate: it turns the toolkit window's signals into the window's notifications.
// It holds a plain pointer to the window, which owns it, and takes a reference to the window for
// each notification. Nothing reaches the window after Disconnect.
class comkelvane_brimlib_20150413151123_WindowsDelegate {
 public:
  explicit comkelvane_brimlib_20150413151123_WindowsDelegate(Wex::rcWindow* window) : wexWindow(window) {}
  comkelvane_brimlib_20150413151123_WindowsDelegate(const comkelvane_brimlib_20150413151123_WindowsDelegate&) = delete;
  comkelvane_brimlib_20150413151123_WindowsDelegate& operator=(
      const comkelvane_brimlib_20150413151123_WindowsDelegate&) = delete;
  ~comkelvane_brimlib_20150413151123_WindowsDelegate() { Disconnect(); }

  void Connect(GtkWindow* window) {
    fWindow = window;
    fHandlers.push_back(g_signal_connect(window, "notify::is-active", G_CALLBACK(OnActive), this));
    fHandlers.push_back(g_signal_connect(window, "configure-event", G_CALLBACK(OnConfigure), this));
    fHandlers.push_back(g_signal_connect(window, "delete-event", G_CALLBACK(OnDelete), this));
  }

  void Disconnect() {
    for (const gulong handler : fHandlers) g_signal_handler_disconnect(fWindow, handler);
    fHandlers.clear();
  }

  void windowDidBecomeKey() { Notify(&Wex::iGUIElementListener::ActivationChanged); }
  void windowDidResignKey() { Notify(&Wex::iGUIElementListener::ActivationChanged); }
  // The window moved or was resized, or both.
  void windowDidChangeFrame() { Notify(&Wex::iGUIElementListener::FrameChanged); }
  // Asks the window event handler; the window itself never closes.
  bool windowShouldClose() {
    const ref<Wex::rcWindow> window(wexWindow);
    if (const iref<Wex::iWindowEventHandler> handler = window->fWindowEventHandler) handler->CloseRequested(window);
    return false;
  }

 private:
  void Notify(void (Wex::iGUIElementListener::*notification)(const iref<Wex::iGUIView>&)) {
    const ref<Wex::rcWindow> window(wexWindow);
    window->Notify(notification);
  }

  // An exception must not unwind through the toolkit's frames: whatever a notification throws is
  // dropped here.
  template <class Call>
  static void Guard(Call call) {
    try {
      call();
    } catch (...) {
    }
  }

  static void OnActive(GObject* window, GParamSpec*, gpointer self) {
    auto* delegate = static_cast<comkelvane_brimlib_20150413151123_WindowsDelegate*>(self);
    Guard([&] {
      if (gtk_window_is_active(GTK_WINDOW(window))) {
        delegate->windowDidBecomeKey();
      } else {
        delegate->windowDidResignKey();
      }
    });
  }

  // Configure events come for restacking too: only a new position or size counts.
  static gboolean OnConfigure(GtkWidget*, GdkEventConfigure* event, gpointer self) {
    auto* delegate = static_cast<comkelvane_brimlib_20150413151123_WindowsDelegate*>(self);
    const Wex::cRect frame{event->x, event->y, event->x + event->width, event->y + event->height};
    if (delegate->fReportedFrame != frame) {
      delegate->fReportedFrame = frame;
      Guard([&] { delegate->windowDidChangeFrame(); });
    }
    return FALSE;
  }

  static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
    Guard([&] { static_cast<comkelvane_brimlib_20150413151123_WindowsDelegate*>(self)->windowShouldClose(); });
    return TRUE;
  }

  Wex::rcWindow* wexWindow;
  GtkWindow* fWindow = nullptr;
  std::vector<gulong> fHandlers;
  std::optional<Wex::cRect> fReportedFrame;
};

namespace Wex {

rcWindow::rcWindow(const cRect& contentRect, std::uint32_t styleMask, std::int32_t level, bool)
    : rcExtWindow(nullptr) {
  try {
    fDelegate = std::make_unique<comkelvane_brimlib_20150413151123_WindowsDelegate>(this);
    GtkWidget* window = gtk_window_new(styleMask == 0 ? GTK_WINDOW_POPUP : GTK_WINDOW_TOPLEVEL);
    AttachWindow(GTK_WINDOW(window));
    if (styleMask == 0) {
      // A hint: clicks go through it (so the view beneath never sees the pointer leave when it
      // appears there), and it never takes the keys.
      cairo_region_t* none = cairo_region_create();
      gtk_widget_input_shape_combine_region(window, none);
      cairo_region_destroy(none);
      gtk_window_set_accept_focus(GTK_WINDOW(window), FALSE);
      gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_TOOLTIP);
    } else if (level > 0) {
      gtk_window_set_keep_above(GTK_WINDOW(window), TRUE);
    }
    rcExtWindow::SetContentRect(contentRect);
    fDelegate->Connect(GTK_WINDOW(window));

    StartScheduler();

    // Made last: from here on the view holds a reference to this window, which the clean-up of
    // a later failure would release. The window gives its content its size, so the view asks
    // for none.
    fContentView = ContentView::CreateForOwner({}, this, this);
    fContentView->GetPeer().AddToSuperview(GTK_CONTAINER(window));
  } catch (...) {
    Close();
    throw;
  }
}

rcWindow::~rcWindow() { rcWindow::Close(); }

void rcWindow::SetTitle(const refString& title) {
  if (GetTitle()->IsEqual(title)) return;
  rcExtWindow::SetTitle(title);
  Notify(&iGUIElementListener::TitleChanged);
}

void rcWindow::Show() {
  if (IsVisible()) return;
  rcExtWindow::Show();
  Notify(&iGUIElementListener::VisibilityChanged);
}

void rcWindow::Hide() {
  if (!IsVisible()) return;
  rcExtWindow::Hide();
  Notify(&iGUIElementListener::VisibilityChanged);
}

void rcWindow::Close() {
  // Releasing the content view may release the last reference to this window: one is held for
  // the close, unless the window is being destroyed already.
  const ref<rcWindow> keep = GetReferenceCount() > 0 ? ref<rcWindow>(this) : nullptr;
  fWindowEventHandler = nullptr;
  DropHandlers();
  DropScheduler();
  ReleaseContentView();
  fDelegate.reset();
  if (GtkWindow* window = GetGtkWindow()) gtk_widget_destroy(GTK_WIDGET(window));
  rcExtWindow::Close();
}

void rcWindow::Notify(void (iGUIElementListener::*notification)(const iref<iGUIView>&)) {
  if (const iref<iGUIElementListener> listener = cNativeViewCore::GetListener())
    (listener.Get()->*notification)(iref<iGUIView>(this));
}

void rcWindow::SetWindowEventHandler(const iref<iWindowEventHandler>& handler) { fWindowEventHandler = handler; }

ref<rcExtWindow> rcWindow::GetWindow() { return ref<rcExtWindow>(this); }

cPoint rcWindow::GetPositionInWindow() { return {}; }

void rcWindow::RunDueTasks() {
  if (const ref<rcScheduler> scheduler = cNativeViewCore::GetScheduler()) {
    scheduler->RunDueTasks(static_cast<std::int32_t>(GetMilliseconds()));
  }
}

}  // namespace Wex
