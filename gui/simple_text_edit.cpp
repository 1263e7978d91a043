#include "gui/simple_text_edit.h"

#include <cstring>
#include <utility>

#include "gui/modal_dialog.h"

namespace Wex {

namespace {

constexpr std::int32_t kConfirmItem = 1;
constexpr std::int32_t kCancelItem = 2;
constexpr std::int32_t kPromptItem = 3;
constexpr std::int32_t kTextItem = 4;
// The code that the dialog's resource is loaded with: 'Pell'.
constexpr std::uint32_t kDialogCode = 0x50656C6C;

// The text up to its first NUL.
refString ToDialogText(const std::string& text) { return MakeRCString(text.c_str()); }

bool RunDialog(const ref<rcGUIRoot>& host, const std::string& prompt, std::string& text) {
  const ref<SimpleTextEditHandler> handler(new SimpleTextEditHandler(prompt, text));
  const ref<rcCocoaModalDialog> dialog(new rcCocoaModalDialog(GetCurrentImageBundle(), MakeRCString("KVSimpleTextEdit"),
                                                              MakeRCString("SimpleTextEditDialog"), kDialogCode,
                                                              iref<iDialogHandler>(handler)));
  iNativeView* view = host ? host->GetNativeView() : nullptr;
  const std::int32_t code = dialog->RunModal(view != nullptr ? view->GetWindow() : nullptr);
  dialog->Close();
  if (code == 0) return false;
  text = handler->GetText();
  return true;
}

SimpleTextEditRunner& GetRunner() {
  static SimpleTextEditRunner runner = RunDialog;
  return runner;
}

}  // namespace

void SimpleTextEditHandler::DialogOpening(const iref<iDialog>& dialog) {
  dialog->SetItemString(kPromptItem, ToDialogText(fPrompt));
  dialog->SetItemText(kTextItem, ToDialogText(fText));
  dialog->SetFocusItem(kTextItem);
}

bool SimpleTextEditHandler::ItemAction(const iref<iDialog>& dialog, std::int32_t tag) {
  if (tag != kConfirmItem && tag != kCancelItem) return false;
  dialog->EndModal(tag == kConfirmItem ? 1 : 0);
  return true;
}

void SimpleTextEditHandler::DialogClosed(const iref<iDialog>& dialog) {
  const refString text = dialog->GetItemText(kTextItem);
  fText = text ? text->GetChars() : "";
}

bool RunSimpleTextEditDialog(const ref<rcGUIRoot>& host, const std::string& prompt, std::string& text) {
  // The runner stays alive for its call even when it installs another.
  const SimpleTextEditRunner runner = GetRunner();
  return runner(host, prompt, text);
}

SimpleTextEditRunner SetSimpleTextEditRunner(SimpleTextEditRunner runner) {
  return std::exchange(GetRunner(), runner ? std::move(runner) : SimpleTextEditRunner(RunDialog));
}

}  // namespace Wex
