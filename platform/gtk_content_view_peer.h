#pragma once

// The toolkit widget of a content view: a drawing area with a window of its own, whose signals
// become calls on the view, and the display side of the shared cursors. Main thread only.

#include <gtk/gtk.h>

#include <cstdint>
#include <vector>

#include "base/rc.h"
#include "platform/content_view_peer.h"
#include "platform/view_event_translator.h"

namespace Platform {

// The toolkit cursor that a cursor object stands for on a display: a toolkit cursor stands for
// itself; a shared cursor gets one lasting cursor per display, made from its name the first time
// it is asked for (the default arrow when the cursor theme lacks the name). Null for null and for
// any other object. The cursor belongs to the callee.
GdkCursor* GetDisplayCursor(GObject* cursor, GdkDisplay* display);

class GtkContentViewPeer : public Wex::rc, public iContentViewPeer {
 public:
  // Makes the widget (app-paintable, focusable, with the event masks of a view that tracks the
  // pointer everywhere), shown but not yet in a parent.
  GtkContentViewPeer();
  GtkContentViewPeer(const GtkContentViewPeer&) = delete;
  GtkContentViewPeer& operator=(const GtkContentViewPeer&) = delete;
  // Disconnects and destroys the widget.
  ~GtkContentViewPeer() override;

  GtkWidget* GetWidget() const { return fWidget; }

  // Connects the widget's signals to the sink.
  void Connect(Wex::rc* object, iContentViewSink* sink) override;
  void Disconnect() override;
  // Sizes the widget; when its parent is a GtkFixed, also moves it there. X11 coordinates are
  // 16-bit: positions reach the toolkit clamped to -32768 .. 32767, sizes to 0 .. 32767.
  void SetFrame(const Rect& frame) override;
  Rect GetFrame() override { return fFrame; }
  void AddToSuperview(GtkContainer* parent) override;
  void SetHidden(bool hidden) override;
  bool IsHidden() override;
  GtkWindow* GetWindow() override;
  Point GetPositionInWindow() override;
  void SetNeedsDisplayInRect(const Rect& r) override;
  void SetNeedsDisplay() override;
  void MakeFirstResponder() override;
  bool IsFirstResponder() override;
  void UseCursor(GObject* cursor) override;
  void RemoveFromSuperview() override;

 private:
  static gboolean OnEvent(GtkWidget* widget, GdkEvent* event, gpointer peer);
  static gboolean OnDraw(GtkWidget* widget, cairo_t* context, gpointer peer);
  static void OnRealize(GtkWidget* widget, gpointer peer);
  template <void (iContentViewSink::*Notification)()>
  static void Notify(GtkWidget* widget, gpointer peer);
  template <void (iContentViewSink::*Notification)()>
  static void NotifyChange(GtkWidget* widget, GtkWidget* previous, gpointer peer);

  // Translates one event and hands its record to the sink; answers whether the event is consumed.
  bool Dispatch(GdkEvent* event);
  ViewEventContext ReadContext(const GdkEvent* event) const;
  // Runs one call into the sink, with the peer and the sink held, catching whatever it throws
  // (an exception must not unwind through the toolkit's frames; it counts as consumed), and
  // applies the cursor afterwards. Without a sink it answers false.
  template <class Call>
  bool CallSink(Call call);
  // Shows the current cursor in the widget's window unless it already does.
  void ApplyCursor();
  void ConnectSignal(const char* signal, GCallback handler);

  GtkWidget* fWidget;
  Rect fFrame;
  std::vector<gulong> fHandlers;
  Wex::rc* fSinkObject = nullptr;
  iContentViewSink* fSink = nullptr;
  ViewEventTranslator fTranslator;
  std::int32_t fDispatchDepth = 0;
  GObject* fCursor = nullptr;
  // What was last applied, held so that a new object at the same address is not taken for it.
  GdkWindow* fAppliedWindow = nullptr;
  GdkCursor* fAppliedCursor = nullptr;
};

}  // namespace Platform
