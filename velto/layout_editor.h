#pragma once

// The overlay with which a GUI designer moves and resizes views on the running GUI. Each entry is
// framed by four 6-pixel bars with its name above them; dragging a bar moves the view, dragging a
// corner square resizes it from that corner, with shift a tenth as fast, and Escape puts it back.
// The editor moves nothing itself: every new rectangle goes to the entry's listener, which applies
// it. It covers the whole window and sits above the GUI's root view; it draws only while the
// mouse is over the GUI.

#include <cstdint>
#include <functional>
#include <list>
#include <string>

#include "base/rc.h"
#include "gui/element.h"
#include "gui/font.h"
#include "gui/geometry.h"
#include "gui/graphics_context.h"
#include "gui/handlers.h"
#include "velto/layout_edit_listener.h"

namespace Velto {

struct LayoutEditorEntry {
  std::string fName;                      // the label
  ref<Wex::rcGUIElement> fElement;        // the element in whose coordinates fRect lies
  Wex::cRect fRect;                       // the view's rectangle
  Wex::cRect fFrame;                      // fRect in the editor's (window) coordinates
  const void* fValue = nullptr;           // the caller's; view construction passes the owning root
  iref<iLayoutEditListener> fListener;    // none: every rectangle is adopted
  Wex::rcGUIElement* fListenerArgument = nullptr;  // passed back to the listener
  Wex::cRGBColor fColor;
};

class rcLayoutEditor : public Wex::rcGUIElement, public Wex::iMouseTracker {
 public:
  // Grab handles: the drag moves the view, or one corner of it.
  enum Handle : std::int32_t { kMove = -1, kTopLeft = 0, kTopRight = 1, kBottomRight = 2, kBottomLeft = 3 };

  static ref<rcLayoutEditor> Create();
  // Covers (0, 0) to (32000, 32000); its labels are in the default face at size 11.
  rcLayoutEditor();

  // Appends an entry for a view whose rectangle r lies in the element's coordinates; its frame is
  // r moved by the element's window origin.
  void AddEditableView(std::string name, ref<Wex::rcGUIElement> element, const Wex::cRect& r, const void* value,
                       iref<iLayoutEditListener> listener, Wex::rcGUIElement* listenerArgument,
                       const Wex::cRGBColor& color);
  // Removes the entry, cancelling a drag of it first.
  void RemoveEntry(const LayoutEditorEntry& entry);
  // Removes, one by one, the entries that the predicate selects.
  void RemoveEntriesIf(const std::function<bool(const LayoutEditorEntry&)>& which);
  // Gives the entry the rectangle unless it has it already or the listener refuses it; the frame
  // moves with it.
  void SetEntryRect(const LayoutEditorEntry& entry, const Wex::cRect& r);

  const std::list<LayoutEditorEntry>& GetEntries() const { return fEntries; }
  // The entry grabbed last, or null.
  const LayoutEditorEntry* GetSelectedEntry() const { return fSelected; }
  bool IsDragging() const { return fDragging; }
  Handle GetHandle() const { return fHandle; }

  // Cancels a drag and removes every entry before leaving the host.
  void Detach() override;
  // The frames and labels, while the mouse is inside.
  void Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) override;
  // A press on a bar of an entry that may be edited (the last one added first) selects it and
  // starts tracking through the host's view; elsewhere it deselects and is not handled.
  bool MouseDown(const Wex::cPoint& p, std::int32_t time, bool doubleClick,
                 const Wex::cKeyModifiers& modifiers) override;
  // Frames follow their elements' window origins.
  void WindowStateChanged() override;
  // Frames appear and vanish with the mouse.
  void MouseEntered(std::int32_t time) override;
  void MouseExited(std::int32_t time) override;

  // The drag, through the host's view: moves follow the pointer, Escape (character 27) cancels,
  // a release ends it, a cancel puts the start rectangle back.
  using Wex::rcGUIElement::CancelTracking;
  using Wex::rcGUIElement::EndTracking;
  using Wex::rcGUIElement::TrackMouse;
  void TrackMouse(const iref<Wex::iMouseTrackingHost>& host, const Wex::cMouseEvent& event) override;
  bool TrackKey(const iref<Wex::iMouseTrackingHost>& host, const Wex::cKeyEvent& key) override;
  bool EndTracking(const iref<Wex::iMouseTrackingHost>& host, const Wex::cMouseEvent& event) override;
  void CancelTracking(const iref<Wex::iMouseTrackingHost>& host) override;

  // The four bars around a frame: left, top, right, bottom.
  static void GetBars(const Wex::cRect& frame, Wex::cRect (&bars)[4]);

 private:
  std::list<LayoutEditorEntry>::iterator Find(const LayoutEditorEntry& entry);
  // Marks the entry's bars and label for redrawing.
  void Redraw(const LayoutEditorEntry& entry);
  // The label's baseline point.
  Wex::cPoint GetLabelPoint(const Wex::cRect& frame) const;
  bool CanEdit(const LayoutEditorEntry& entry) const;
  void DragTo(const Wex::cPoint& p);
  // Stops a running drag through the host's view (putting the start rectangle back), or here
  // when the view has gone.
  void CancelDrag();
  iref<Wex::iMouseTracker> AsTracker() { return iref<Wex::iMouseTracker>(this); }

  ref<Wex::rcFont> fLabelFont;
  std::int32_t fLabelDescent = 0;
  std::list<LayoutEditorEntry> fEntries;
  LayoutEditorEntry* fSelected = nullptr;
  bool fDragging = false;
  bool fFine = false;
  Handle fHandle = kMove;
  Wex::cPoint fStartPoint;
  Wex::cRect fStartRect;
};

}  // namespace Velto
