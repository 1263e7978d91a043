#include "gui/dialog.h"

#include <gtk/gtk.h>

#include <charconv>
#include <cstdint>
#include <string>

#include "base/exceptions.h"
#include "gui/menu.h"
#include "gui/toolkit_text.h"
#include "platform/modal_run.h"
#include "platform/text.h"

namespace Wex {

namespace {

constexpr const char* kButtonStateKey = "marovell-button-state";

bool IsControl(GtkWidget* w) {
  return GTK_IS_BUTTON(w) || GTK_IS_ENTRY(w) || GTK_IS_LABEL(w) || GTK_IS_COMBO_BOX(w) || GTK_IS_RANGE(w) ||
         GTK_IS_SWITCH(w);
}

std::optional<std::int32_t> TagOf(GtkWidget* widget) {
  const char* id = gtk_buildable_get_name(GTK_BUILDABLE(widget));
  return id != nullptr ? ParseItemTag(id) : std::nullopt;
}

struct TagSearch {
  std::int32_t fTag;
  GtkWidget* fFound = nullptr;
};

void Search(GtkWidget* widget, TagSearch& search) {
  if (search.fFound != nullptr) return;
  if (TagOf(widget) == search.fTag) {
    search.fFound = widget;
  } else if (GTK_IS_CONTAINER(widget)) {
    gtk_container_forall(
        GTK_CONTAINER(widget), [](GtkWidget* child, gpointer data) { Search(child, *static_cast<TagSearch*>(data)); },
        &search);
  }
}

[[noreturn]] void ThrowUnexpectedClass() { throw xExceptionWithRCString("Dialog item is of unexpected class"); }

GtkWidget* Check(GtkWidget* item, bool isRightKind) {
  if (!isRightKind) ThrowUnexpectedClass();
  return item;
}

// The control's action, as the target listens to it; one function for every signal, so that
// setters find it on any widget.
void OnControlAction(GtkWidget* sender, gpointer target) {
  static_cast<comkelvane_brimlib_20150413151123_DialogItemTarget*>(target)->performAction(sender);
}

// Keeps the target's handlers on the widget blocked for its lifetime: setting a value from code
// sends no action.
class ActionsBlocked {
 public:
  explicit ActionsBlocked(GtkWidget* widget) : fWidget(widget) {
    g_signal_handlers_block_matched(fWidget, G_SIGNAL_MATCH_FUNC, 0, 0, nullptr,
                                    reinterpret_cast<gpointer>(&OnControlAction), nullptr);
  }
  ~ActionsBlocked() {
    g_signal_handlers_unblock_matched(fWidget, G_SIGNAL_MATCH_FUNC, 0, 0, nullptr,
                                      reinterpret_cast<gpointer>(&OnControlAction), nullptr);
  }
  ActionsBlocked(const ActionsBlocked&) = delete;
  ActionsBlocked& operator=(const ActionsBlocked&) = delete;

 private:
  GtkWidget* fWidget;
};

// Toolkit text in ISO Latin-1 with '_' for losses; null when there is none or it is empty.
refString FromToolkitText(const char* utf8) {
  if (utf8 == nullptr || *utf8 == '\0') return nullptr;
  return MakeRCString(Platform::UTF8ToLatin1(utf8, '_'));
}

std::int32_t CountRows(GtkComboBox* box) {
  GtkTreeModel* model = gtk_combo_box_get_model(box);
  return model != nullptr ? gtk_tree_model_iter_n_children(model, nullptr) : 0;
}

}  // namespace

std::optional<std::int32_t> ParseItemTag(std::string_view id) {
  constexpr std::string_view kPrefix = "tag-";
  if (id.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
  id.remove_prefix(kPrefix.size());
  std::int32_t tag = 0;
  const auto [end, error] = std::from_chars(id.data(), id.data() + id.size(), tag);
  if (id.empty() || error != std::errc() || end != id.data() + id.size()) return std::nullopt;
  return tag;
}

CocoaDialog::CocoaDialog(ref<rcExtWindow> window, GtkWidget* view)
    : fWindow(std::move(window)), fView(view != nullptr ? GTK_WIDGET(g_object_ref(view)) : nullptr) {}

CocoaDialog::~CocoaDialog() {
  if (fView != nullptr) g_object_unref(fView);
}

GtkWidget* CocoaDialog::FindItem(std::int32_t tag) const {
  TagSearch search{tag};
  if (fView != nullptr) Search(fView, search);
  if (search.fFound == nullptr) throw xExceptionWithRCString("Missing dialog item");
  return Check(search.fFound, IsControl(search.fFound));
}

void CocoaDialog::EndModal(std::int32_t code) { Platform::StopModalRun(code); }

void CocoaDialog::SetItemState(std::int32_t tag, bool on) {
  GtkWidget* item = FindItem(tag);
  Check(item, GTK_IS_BUTTON(item));
  if (!GTK_IS_TOGGLE_BUTTON(item)) {
    // A push button keeps its state for the program only.
    g_object_set_data(G_OBJECT(item), kButtonStateKey, GINT_TO_POINTER(on));
    return;
  }
  const ActionsBlocked blocked(item);
  gtk_toggle_button_set_inconsistent(GTK_TOGGLE_BUTTON(item), FALSE);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(item), on);
}

bool CocoaDialog::GetItemState(std::int32_t tag) {
  GtkWidget* item = FindItem(tag);
  Check(item, GTK_IS_BUTTON(item));
  if (!GTK_IS_TOGGLE_BUTTON(item)) return GPOINTER_TO_INT(g_object_get_data(G_OBJECT(item), kButtonStateKey)) != 0;
  return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(item)) ||
         gtk_toggle_button_get_inconsistent(GTK_TOGGLE_BUTTON(item));
}

void CocoaDialog::SetRadioGroup(std::int32_t firstTag, std::int32_t count, std::int32_t selected) {
  for (std::int32_t i = 0; i < count && std::int64_t{firstTag} + i <= INT32_MAX; ++i) {
    SetItemState(firstTag + i, i == selected);
  }
}

std::int32_t CocoaDialog::GetRadioGroup(std::int32_t firstTag, std::int32_t count) {
  for (std::int32_t i = 0; i < count && std::int64_t{firstTag} + i <= INT32_MAX; ++i) {
    if (GetItemState(firstTag + i)) return i;
  }
  return -1;
}

void CocoaDialog::SetPopUpIndex(std::int32_t tag, std::int32_t index) {
  GtkWidget* item = FindItem(tag);
  Check(item, GTK_IS_COMBO_BOX(item));
  const ActionsBlocked blocked(item);
  gtk_combo_box_set_active(GTK_COMBO_BOX(item), index >= 0 && index < CountRows(GTK_COMBO_BOX(item)) ? index : -1);
}

std::int32_t CocoaDialog::GetPopUpIndex(std::int32_t tag) {
  GtkWidget* item = FindItem(tag);
  return gtk_combo_box_get_active(GTK_COMBO_BOX(Check(item, GTK_IS_COMBO_BOX(item))));
}

void CocoaDialog::SetItemText(std::int32_t tag, const refString& text) {
  GtkWidget* item = FindItem(tag);
  const ActionsBlocked blocked(item);
  const std::string utf8 = ToToolkitText(text);
  if (GTK_IS_ENTRY(item)) {
    gtk_entry_set_text(GTK_ENTRY(item), utf8.c_str());
  } else if (GTK_IS_LABEL(item)) {
    gtk_label_set_text(GTK_LABEL(item), utf8.c_str());
  } else if (GTK_IS_BUTTON(item)) {
    gtk_button_set_use_underline(GTK_BUTTON(item), FALSE);
    gtk_button_set_label(GTK_BUTTON(item), utf8.c_str());
  }
}

refString CocoaDialog::GetItemText(std::int32_t tag) {
  GtkWidget* item = FindItem(tag);
  if (GTK_IS_ENTRY(item)) return FromToolkitText(gtk_entry_get_text(GTK_ENTRY(item)));
  if (GTK_IS_LABEL(item)) return FromToolkitText(gtk_label_get_text(GTK_LABEL(item)));
  if (GTK_IS_BUTTON(item)) return FromToolkitText(gtk_button_get_label(GTK_BUTTON(item)));
  return nullptr;
}

void CocoaDialog::EnableItem(std::int32_t tag, bool enabled) { gtk_widget_set_sensitive(FindItem(tag), enabled); }

void CocoaDialog::EnableItems(std::int32_t firstTag, std::int32_t count, bool enabled) {
  // The sums are taken in 64 bits: tags end at the largest one.
  for (std::int64_t tag = firstTag; tag < std::int64_t{firstTag} + count && tag <= INT32_MAX; ++tag) {
    EnableItem(static_cast<std::int32_t>(tag), enabled);
  }
}

void CocoaDialog::SetItemTitle(std::int32_t tag, const refString& title) {
  GtkWidget* item = FindItem(tag);
  Check(item, GTK_IS_BUTTON(item));
  const std::string_view bytes = title ? title->GetText() : std::string_view();
  const aref<rcVector<char>> stripped =
      StripMnemonics(rcVector<char>(bytes.data(), static_cast<std::int64_t>(bytes.size())));
  gtk_button_set_use_underline(GTK_BUTTON(item), FALSE);
  const std::string utf8 = Platform::Latin1ToUTF8({stripped->GetData(), static_cast<std::size_t>(stripped->GetSize())});
  gtk_button_set_label(GTK_BUTTON(item), utf8.c_str());
}

void CocoaDialog::SetFocusItem(std::int32_t tag) { gtk_widget_grab_focus(FindItem(tag)); }

void CocoaDialog::SetDefaultItem(std::int32_t tag) {
  GtkWidget* item = FindItem(tag);
  Check(item, GTK_IS_BUTTON(item));
  gtk_widget_set_can_default(item, TRUE);
  if (fWindow && fWindow->GetGtkWindow() != nullptr) gtk_window_set_default(fWindow->GetGtkWindow(), item);
}

void CocoaAccessoryDialog::EndModal(std::int32_t) { Platform::StopModalRun(0); }

void ConnectControls(GtkWidget* view, comkelvane_brimlib_20150413151123_DialogItemTarget& target) {
  if (!GTK_IS_CONTAINER(view)) return;
  gtk_container_forall(
      GTK_CONTAINER(view),
      [](GtkWidget* child, gpointer data) {
        auto& target = *static_cast<comkelvane_brimlib_20150413151123_DialogItemTarget*>(data);
        if (IsControl(child)) target.Connect(child);
        ConnectControls(child, target);
      },
      &target);
}

}  // namespace Wex

comkelvane_brimlib_20150413151123_DialogItemTarget::comkelvane_brimlib_20150413151123_DialogItemTarget(
    iref<Wex::iDialog> dialog, iref<Wex::iDialogHandler> handler)
    : wexDialog(std::move(dialog)), wexDialogHandler(std::move(handler)) {}

comkelvane_brimlib_20150413151123_DialogItemTarget::~comkelvane_brimlib_20150413151123_DialogItemTarget() {
  for (const auto& [control, handler] : fConnections) {
    if (g_signal_handler_is_connected(control, handler)) g_signal_handler_disconnect(control, handler);
    g_object_unref(control);
  }
}

void comkelvane_brimlib_20150413151123_DialogItemTarget::Connect(GtkWidget* control) {
  const auto listen = [&](const char* signal) {
    fConnections.emplace_back(GTK_WIDGET(g_object_ref(control)),
                              g_signal_connect(control, signal, G_CALLBACK(Wex::OnControlAction), this));
  };
  if (GTK_IS_BUTTON(control)) listen("clicked");
  if (GTK_IS_ENTRY(control)) listen("activate");
  if (GTK_IS_COMBO_BOX(control)) listen("changed");
  if (GTK_IS_RANGE(control) || GTK_IS_SPIN_BUTTON(control)) listen("value-changed");
}

void comkelvane_brimlib_20150413151123_DialogItemTarget::performAction(GtkWidget* sender) {
  try {
    // The handler may release this target (closing its dialog) while it runs.
    const ref<comkelvane_brimlib_20150413151123_DialogItemTarget> self(this);
    const iref<Wex::iDialogHandler> handler = wexDialogHandler;
    const std::optional<std::int32_t> tag = Wex::TagOf(sender);
    if (handler && tag) handler->ItemAction(wexDialog, *tag);
  } catch (...) {
  }
}
