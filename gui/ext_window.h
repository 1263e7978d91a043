#pragma once

// A toolkit window behind the window operations of the GUI layer: a window that the program
// creates, the window of a dialog, or the host's window that holds the editor's view. Holders of
// a plain pointer to a wrapper enter the pointer's address in the wrapper, which writes null into
// it when it closes. Main thread only.
//
// The toolkit's screen coordinates already have their origin at the top left with y downward,
// so window rectangles pass to it unflipped. Moves and resizes are carried out later by the
// window system: a requested content rectangle is answered until the window next reports its
// geometry.

#include <cairo.h>

#include <cstdint>
#include <optional>

#include "base/rc.h"
#include "base/rc_string.h"
#include "base/rc_vector.h"
#include "gui/geometry.h"
#include "gui/graphics_context.h"
#include "gui/gui_view.h"

typedef struct _GtkWindow GtkWindow;

namespace Wex {

class rcExtWindow : public rc, public virtual iGUIView {
 public:
  // Wraps the window, holding a reference to it (never destroying it); null gives a closed
  // wrapper whose operations do nothing.
  explicit rcExtWindow(GtkWindow* window);
  rcExtWindow(const rcExtWindow&) = delete;
  rcExtWindow& operator=(const rcExtWindow&) = delete;
  ~rcExtWindow() override;

  // The title goes to the toolkit from ISO Latin-1; read back, characters without a Latin-1
  // form become '_'.
  void SetTitle(const refString& title) override;
  refString GetTitle() override;
  // Positions are clamped to -32768 .. 32767 and sizes to 1 .. 32767 on their way to the toolkit;
  // the rectangle is answered as given until the window reports its geometry.
  void SetContentRect(const cRect& r) override;
  cRect GetContentRect() override;
  cRect GetBounds() override;
  // Orders the window in without giving it the keys.
  void Show() override;
  void Hide() override;
  bool IsVisible() override;
  void Activate() override;
  bool IsKeyWindow() override;
  // On the window's content widget; empty rectangles are skipped.
  void InvalidateRect(const cRect& r) override;
  void InvalidateAll() override;
  void SetUserValue(std::int32_t value) override;
  std::int32_t GetUserValue() override;
  iref<iGUIView> GetAttachedInterface() override;
  // Drops the window and writes null into every entered variable, the last entered first.
  virtual void Close();
  virtual void Placeholder();
  virtual void UpdateRect(const cRect& r);

  void SetAlphaValue(float alpha);
  // Enters and removes the address of a variable that points at this wrapper; removal finds the
  // last entry of the address.
  void AddBackReference(rcExtWindow** holder);
  void RemoveBackReference(rcExtWindow** holder);
  // A context for measuring text, shared by the nested calls; empty for a closed wrapper. Test
  // windows measure through a bitmap of their own.
  virtual ref<rcGraphicsContext> BeginDrawing();

  // The wrapped window; null after Close.
  GtkWindow* GetGtkWindow() const { return fWindow; }

 protected:
  // Wraps the window now (a wrapper constructed over none).
  void AttachWindow(GtkWindow* window);

 private:
  friend class rcWindowGraphicsContext;

  void EndDrawing();
  // The content rectangle as the window system last reported it.
  cRect GetReportedRect() const;

  std::int32_t fUserValue = 0;
  std::int32_t fDrawingDepth = 0;
  cairo_t* fDrawingContext = nullptr;
  GtkWindow* fWindow = nullptr;
  aref<rcVector<rcExtWindow**>> fBackReferences;
  unsigned long fConfigureHandler = 0;
  std::optional<cRect> fRequestedRect;
};

// A context handed out by BeginDrawing; the drawing ends when the last one goes.
class rcWindowGraphicsContext : public rcGraphicsContext {
 public:
  rcWindowGraphicsContext(cairo_t* context, const ref<rcExtWindow>& window);
  ~rcWindowGraphicsContext() override;

 private:
  ref<rcExtWindow> fWindow;
};

// Conversions between top-left screen rectangles and the bottom-left ones of a platform whose y
// grows upward from the bottom of the main screen, screenHeight high. Edges pass through single
// precision; the way back truncates the origin and rounds the far edges up. Nothing here needs
// them, since the toolkit's coordinates are top-left already.
Platform::Rect ToFlippedScreenRect(const cRect& r, std::int32_t screenHeight);
cRect FromFlippedScreenRect(const Platform::Rect& r, std::int32_t screenHeight);
inline std::int32_t FlipScreenY(std::int32_t y, std::int32_t screenHeight) { return WrapSub(screenHeight, y); }
// The same against the height of the primary monitor (monitor 0 when none is primary; 0
// without a display).
std::int32_t FlipScreenY(std::int32_t y);

}  // namespace Wex
