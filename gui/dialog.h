#pragma once

// Dialogs whose controls portable code addresses by integer tag, the application's side of a
// dialog, and the object that routes control actions to it.
//
// A widget whose builder id is "tag-N", N a decimal 32-bit integer that may be negative, has tag
// N; any other id, or none, gives no tag. Items are searched depth first from the dialog's view
// itself, internal children included. Controls are buttons (toggle, check and radio buttons
// included), entries (spin buttons included), labels, combo boxes, ranges and switches; of
// them, buttons take states and titles, and combo boxes indexes. Items that code drives as a
// radio group are independent check buttons, since toolkit radio groups cannot be all off.
// Setting a value from code sends no action. Tag 2 stands for the window's close box. Main
// thread only.

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "base/rc.h"
#include "base/rc_string.h"
#include "gui/ext_window.h"

typedef struct _GtkWidget GtkWidget;

namespace Wex {

class iDialog {
 public:
  // Ends the innermost modal run with the code; nothing when no run is active.
  virtual void EndModal(std::int32_t code) = 0;
  virtual ref<rcExtWindow> GetWindow() = 0;
  // A mixed state counts as on.
  virtual void SetItemState(std::int32_t tag, bool on) = 0;
  virtual bool GetItemState(std::int32_t tag) = 0;
  // Turns item first + selected on and the other count - 1 items from the first tag off; a
  // selected index outside 0 .. count - 1 turns all off.
  virtual void SetRadioGroup(std::int32_t firstTag, std::int32_t count, std::int32_t selected) = 0;
  // The index of the first item that is on, -1 when none is or the count is below 1.
  virtual std::int32_t GetRadioGroup(std::int32_t firstTag, std::int32_t count) = 0;
  // An index outside the items selects none; -1 answers that none is selected.
  virtual void SetPopUpIndex(std::int32_t tag, std::int32_t index) = 0;
  virtual std::int32_t GetPopUpIndex(std::int32_t tag) = 0;
  // ISO Latin-1 text of an entry, a label or a button; a null text is empty. Other controls
  // take nothing and answer a null text, as does an empty one. Characters without a Latin-1
  // form read as '_'.
  virtual void SetItemText(std::int32_t tag, const refString& text) = 0;
  virtual refString GetItemText(std::int32_t tag) = 0;
  virtual void SetItemString(std::int32_t tag, const refString& text) = 0;
  virtual refString GetItemString(std::int32_t tag) = 0;
  virtual void EnableItem(std::int32_t tag, bool enabled) = 0;
  virtual void EnableItems(std::int32_t firstTag, std::int32_t count, bool enabled) = 0;
  // A button's title, without its mnemonic marks.
  virtual void SetItemTitle(std::int32_t tag, const refString& title) = 0;
  virtual void SetFocusItem(std::int32_t tag) = 0;
  // The button that Return presses.
  virtual void SetDefaultItem(std::int32_t tag) = 0;

 protected:
  virtual ~iDialog() = default;
};

class iDialogHandler {
 public:
  // Once, before the dialog shows: the handler fills its items.
  virtual void DialogOpening(const iref<iDialog>& dialog) = 0;
  // A control was used; true when the handler dealt with it (the value is not used).
  virtual bool ItemAction(const iref<iDialog>& dialog, std::int32_t tag) = 0;
  // Once, after the modal run ended: the handler reads its items back.
  virtual void DialogClosed(const iref<iDialog>& dialog) = 0;

 protected:
  virtual ~iDialogHandler() = default;
};

// The tag of a builder id, none when the id is no "tag-N".
std::optional<std::int32_t> ParseItemTag(std::string_view id);

// The items of a view in a window. Errors of the item operations: xExceptionWithRCString
// "Missing dialog item" for a tag that no widget carries, "Dialog item is of unexpected class"
// for a widget of the wrong kind.
class CocoaDialog : public rc, public iDialog {
 public:
  // Holds the window and a reference to the view whose widgets are the items.
  CocoaDialog(ref<rcExtWindow> window, GtkWidget* view);
  ~CocoaDialog() override;

  void EndModal(std::int32_t code) override;
  ref<rcExtWindow> GetWindow() override { return fWindow; }
  void SetItemState(std::int32_t tag, bool on) override;
  bool GetItemState(std::int32_t tag) override;
  void SetRadioGroup(std::int32_t firstTag, std::int32_t count, std::int32_t selected) override;
  std::int32_t GetRadioGroup(std::int32_t firstTag, std::int32_t count) override;
  void SetPopUpIndex(std::int32_t tag, std::int32_t index) override;
  std::int32_t GetPopUpIndex(std::int32_t tag) override;
  void SetItemText(std::int32_t tag, const refString& text) override;
  refString GetItemText(std::int32_t tag) override;
  void SetItemString(std::int32_t tag, const refString& text) override { SetItemText(tag, text); }
  refString GetItemString(std::int32_t tag) override { return GetItemText(tag); }
  void EnableItem(std::int32_t tag, bool enabled) override;
  void EnableItems(std::int32_t firstTag, std::int32_t count, bool enabled) override;
  void SetItemTitle(std::int32_t tag, const refString& title) override;
  void SetFocusItem(std::int32_t tag) override;
  void SetDefaultItem(std::int32_t tag) override;

  GtkWidget* GetView() const { return fView; }

 private:
  // The control with the tag.
  GtkWidget* FindItem(std::int32_t tag) const;

  ref<rcExtWindow> fWindow;
  GtkWidget* fView;
};

// The items of a file chooser's extra widget: ending its run always stops it with 0.
class CocoaAccessoryDialog : public CocoaDialog {
 public:
  using CocoaDialog::CocoaDialog;
  void EndModal(std::int32_t code) override;
};

}  // namespace Wex

// Routes the actions of a dialog's controls to the handler, with the sender's tag: a button's
// click, an entry's Return, a combo box's change and a range's or spin button's value change.
// Releasing it disconnects it from every control.
class comkelvane_brimlib_20150413151123_DialogItemTarget : public Wex::rc {
 public:
  comkelvane_brimlib_20150413151123_DialogItemTarget(iref<Wex::iDialog> dialog, iref<Wex::iDialogHandler> handler);
  ~comkelvane_brimlib_20150413151123_DialogItemTarget() override;

  // Listens to the control's action.
  void Connect(GtkWidget* control);
  // Calls the handler's ItemAction with the sender's tag (nothing for a sender without one);
  // every exception is dropped.
  void performAction(GtkWidget* sender);

 private:
  iref<Wex::iDialog> wexDialog;
  iref<Wex::iDialogHandler> wexDialogHandler;
  // The connected controls (each referenced) and the handler ids.
  std::vector<std::pair<GtkWidget*, unsigned long>> fConnections;
};

namespace Wex {

// Connects every control below the view to the target, depth first, a parent before its
// children.
void ConnectControls(GtkWidget* view, comkelvane_brimlib_20150413151123_DialogItemTarget& target);

}  // namespace Wex
