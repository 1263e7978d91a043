#pragma once

// The two sides of a content view's link to its toolkit widget. The widget side (the peer)
// turns the toolkit's signals into calls on the view side (the sink) and carries out what the
// view asks of its widget; neither side shows the other a toolkit type.

#include <cairo.h>

#include "base/rc.h"
#include "platform/geometry.h"
#include "platform/view_event.h"

typedef struct _GObject GObject;
typedef struct _GtkContainer GtkContainer;
typedef struct _GtkWindow GtkWindow;

namespace Platform {

// What the widget hands the content view. The names of the view notifications are those of the
// view's own methods.
class iContentViewSink {
 public:
  // One mouse or key event; answers whether the view consumed it (else the widget's parent gets it).
  virtual bool DispatchEvent(const ViewEvent& event) = 0;
  // Draws the dirty rectangle (view coordinates) into the widget's context, which is valid only
  // during the call.
  virtual void drawRect(cairo_t* context, const Rect& dirty) = 0;
  virtual void viewDidHide() = 0;
  virtual void viewDidUnhide() = 0;
  virtual void viewDidMoveToWindow() = 0;
  virtual void viewDidMoveToSuperview() = 0;
  // The widget gained or lost the keyboard focus: it became or stopped being the focus of its
  // window while that window is active, or its window gained or lost the focus.
  virtual void viewDidChangeFocus() = 0;
  // The widget is being destroyed.
  virtual void Release() = 0;

 protected:
  virtual ~iContentViewSink() = default;
};

// What the content view asks of its widget.
class iContentViewPeer {
 public:
  // Sets the view that receives the widget's events. The link is not counted: the view calls
  // Disconnect before it goes away. While a call to the sink runs, the peer holds a reference
  // to the sink's object.
  virtual void Connect(Wex::rc* object, iContentViewSink* sink) = 0;
  // From now on the sink receives nothing.
  virtual void Disconnect() = 0;
  // Places the widget in its parent (view coordinates of the parent) and sizes it; a negative
  // size is none.
  virtual void SetFrame(const Rect& frame) = 0;
  // The frame last set: the toolkit places and sizes the widget later.
  virtual Rect GetFrame() = 0;
  // Puts the widget into a parent, taking it out of the one it is in: into a fixed container at
  // the frame's top-left, into any other container as its content.
  virtual void AddToSuperview(GtkContainer* parent) = 0;
  virtual void SetHidden(bool hidden) = 0;
  virtual bool IsHidden() = 0;
  // The toplevel window that holds the widget; null when the widget is in none.
  virtual GtkWindow* GetWindow() = 0;
  // The widget's top-left in its window's coordinates; (0, 0) when it is in no window or not
  // placed yet.
  virtual Point GetPositionInWindow() = 0;
  // Marks the part of the widget covered by the rectangle (widget coordinates), or all of it,
  // for redrawing; an empty rectangle marks nothing.
  virtual void SetNeedsDisplayInRect(const Rect& r) = 0;
  virtual void SetNeedsDisplay() = 0;
  // Makes the widget the focus of its window, when it is in one; and whether it is, active
  // window or not.
  virtual void MakeFirstResponder() = 0;
  virtual bool IsFirstResponder() = 0;
  // The cursor that the widget shows: a shared cursor object, a toolkit cursor, or null for the
  // parent's cursor. It is applied at the end of the event being dispatched, or at once outside
  // a dispatch.
  virtual void UseCursor(GObject* cursor) = 0;
  // Takes the widget out of its parent, when it has one.
  virtual void RemoveFromSuperview() = 0;

 protected:
  virtual ~iContentViewPeer() = default;
};

}  // namespace Platform
