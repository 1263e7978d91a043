#include "velto/dialog_actions.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/encoding.h"
#include "base/exceptions.h"
#include "base/key_value.h"
#include "base/text.h"
#include "gui/alert.h"
#include "gui/menu.h"
#include "gui/simple_text_edit.h"
#include "velto/actions.h"
#include "velto/popup_menu.h"
#include "velto/readers.h"
#include "velto/root_view.h"
#include "velto/text_macros.h"

namespace Velto {

namespace {

// The alert's style for each type, its button sets and the ids of its buttons: the index of a
// name is what the platform alert takes and answers.
constexpr std::array<std::string_view, 5> kAlertTypes = {"plain", "question", "warning", "info", "error"};
constexpr std::array<std::string_view, 6> kButtonSets = {
    "ok", "ok cancel", "retry cancel", "yes no", "yes no cancel", "abort retry ignore",
};
constexpr std::array<std::string_view, 7> kButtons = {"ok", "cancel", "retry", "yes", "no", "abort", "ignore"};

// The index of the name in the table, 0 for an empty name; any other name throws FormatException
// with the message and the quoted name.
template <std::size_t N>
std::int32_t IndexOf(const std::array<std::string_view, N>& table, const std::string& name, const char* message) {
  if (name.empty()) return 0;
  for (std::size_t i = 0; i < N; ++i) {
    if (table[i] == name) return static_cast<std::int32_t>(i);
  }
  throw FormatException(message + Wex::Quote(name));
}

std::string UnquotedValue(const Description& description, const std::string& key) {
  return Wex::Unquote(Wex::ValueOf(description, key));
}

}  // namespace

void RunAlertAction(rcRootView& root, const std::string& params) {
  const Description description = Wex::ParseKeyValueMap(params);
  const std::string type = UnquotedValue(description, "type");
  const std::string buttons = UnquotedValue(description, "buttons");
  const std::string defaultButton = UnquotedValue(description, "default");
  std::string title = root.GetController().GetApplicationName();
  if (const auto found = description.find("title"); found != description.end()) {
    title = ExpandTextMacros(root, Wex::Unquote(found->second));
  }
  const std::string message = ExpandTextMacros(root, UnquotedValue(description, "text"));
  const std::int32_t typeIndex = IndexOf(kAlertTypes, type, "Invalid alert type : ");
  const std::int32_t setIndex = IndexOf(kButtonSets, buttons, "Invalid alert buttons : ");
  const std::int32_t defaultId = IndexOf(kButtons, defaultButton, "Invalid default button : ");
  const std::int32_t pressed =
      Wex::RunAlert(typeIndex, setIndex, defaultId, Wex::MakeRCString(title), Wex::MakeRCString(message),
                    root.GetWindow());
  if (pressed < 0 || pressed >= static_cast<std::int32_t>(kButtons.size())) return;
  const Description reactions = Wex::ParseKeyValueMap(Wex::ValueOf(description, "reactions"));
  if (const auto found = reactions.find(std::string(kButtons[pressed])); found != reactions.end()) {
    ExecuteActionPair(root, std::string(found->second));
  }
}

void RunPopupAction(rcRootView& root, const std::string& params) {
  const ref<Wex::rcMenu> menu(new Wex::rcMenu());
  const Description description = Wex::ParseKeyValueMap(params);
  bool isOffset = true;
  Wex::cPoint point;
  ReadPositionOrOffset(description, isOffset, point, {0, 0});
  std::vector<cActionBinding> entries;
  for (const std::string& item : Wex::ParseList(ExpandTextMacros(root, Wex::ValueOf(description, "items")))) {
    if (item == "-") {
      menu->InsertSeparator(menu->GetItemCount());
      continue;
    }
    const std::vector<std::string> fields = Wex::ParseList(item);
    const std::string label = fields.empty() ? std::string() : Wex::Unquote(fields[0]);
    if (label.empty()) continue;
    cActionBinding entry{fields.size() > 1 ? Wex::Unquote(fields[1]) : std::string(),
                         fields.size() > 2 ? fields[2] : std::string()};
    const bool enabled = IsActionEnabled(root, entry.fAction, entry.fParams);
    const bool checked = IsActionChecked(root, entry.fAction, entry.fParams);
    menu->InsertItem(menu->GetItemCount(), enabled, checked, *Wex::WideToUTF16(Wex::UTF8ToWide(label)),
                     static_cast<std::int32_t>(entries.size() + 1));
    entries.push_back(std::move(entry));
  }
  const std::int32_t tag = ShowPopupMenu(root, menu, isOffset, point);
  // A tag that no entry has counts as no choice.
  if (tag < 1 || static_cast<std::size_t>(tag) > entries.size()) return;
  const cActionBinding& chosen = entries[static_cast<std::size_t>(tag) - 1];
  iController& controller = root.GetController();
  if (const auto found = description.find("storeAction"); found != description.end()) {
    controller.SetVariable(root, Wex::Unquote(found->second), chosen.fAction, false);
  }
  if (const auto found = description.find("storeParams"); found != description.end()) {
    controller.SetVariable(root, Wex::Unquote(found->second), chosen.fParams, false);
  }
  ExecuteAction(root, chosen.fAction, chosen.fParams);
}

void RunEditAction(rcRootView& root, const std::string& params) {
  const Description description = Wex::ParseKeyValueMap(params);
  const std::string variable = UnquotedValue(description, "variable");
  iController& controller = root.GetController();
  if (!controller.TestVariable(root, variable)) return;
  const std::string prompt = ExpandTextMacros(root, UnquotedValue(description, "text"));
  const auto initial = description.find("default");
  std::string text = initial != description.end() ? ExpandTextMacros(root, Wex::Unquote(initial->second))
                                                  : controller.GetVariable(root, variable);
  if (!Wex::RunSimpleTextEditDialog(ref<Wex::rcGUIRoot>(root.GetHost()), prompt, text)) return;
  controller.SetVariableTracking(root, variable, true);
  controller.SetVariable(root, variable, text, true);
  controller.SetVariableTracking(root, variable, false);
  if (const auto reaction = description.find("reaction"); reaction != description.end()) {
    ExecuteActionPair(root, std::string(reaction->second));
  }
}

}  // namespace Velto
