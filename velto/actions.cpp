#include "velto/actions.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "base/encoding.h"
#include "base/exceptions.h"
#include "base/files.h"
#include "base/key_value.h"
#include "base/text.h"
#include "platform/launch.h"
#include "velto/assert_action.h"
#include "velto/dialog_actions.h"
#include "velto/popup_menu.h"
#include "velto/readers.h"
#include "velto/root_view.h"
#include "velto/text_macros.h"

namespace Velto {

namespace {

enum eAction : std::int32_t {
  kNotBuiltIn = -1,
  kNop,
  kSet,
  kSwitch,
  kBatch,
  kExecute,
  kAlert,
  kHint,
  kPopup,
  kEdit,
  kLaunch,
  kReload,
  kAssert,
};

constexpr std::array<std::string_view, 12> kActionNames = {
    "nop", "set", "switch", "batch", "execute", "alert", "hint", "popup", "edit", "launch", "reload", "assert",
};

// The action at (byte 1 XOR length) AND 15 of each name; the hash has no collisions.
constexpr std::array<std::int32_t, 16> kActionIndex = {
    kEdit, kSwitch, kNotBuiltIn, kReload, kBatch, kAssert,  kSet,       kLaunch,
    kNotBuiltIn, kAlert, kPopup, kNotBuiltIn, kNop, kHint, kNotBuiltIn, kExecute,
};

eAction Lookup(std::string_view name) {
  if (name.size() < 3 || name.size() > 7) return kNotBuiltIn;
  const std::int32_t index = kActionIndex[(static_cast<unsigned char>(name[1]) ^ name.size()) & 15];
  return index != kNotBuiltIn && kActionNames[index] == name ? static_cast<eAction>(index) : kNotBuiltIn;
}

// Counts one level of nesting while it lives. The interpreter runs on the GUI thread only.
class cNestingLevel {
 public:
  explicit cNestingLevel(int& depth) : fDepth(depth) { ++fDepth; }
  ~cNestingLevel() { --fDepth; }
  cNestingLevel(const cNestingLevel&) = delete;
  cNestingLevel& operator=(const cNestingLevel&) = delete;
  bool IsTooDeep() const { return fDepth > kMaxActionNesting; }

 private:
  int& fDepth;
};

int gExecutionDepth = 0;
int gQueryDepth = 0;

// Item i of a list, or empty text.
std::string Item(const std::vector<std::string>& items, std::size_t i) { return i < items.size() ? items[i] : ""; }

cActionBinding ReadActionPair(std::string_view pair) {
  const std::vector<std::string> items = Wex::ParseList(pair);
  return {Wex::Unquote(Item(items, 0)), Item(items, 1)};
}

// The action pair that a switch selects: the case of the variable's value, else the switch's own
// "default"; none without either.
std::optional<cActionBinding> SelectCase(rcRootView& root, const Description& params) {
  const Description cases = Wex::ParseKeyValueMap(Wex::ValueOf(params, "cases"));
  const std::string value =
      root.GetController().GetVariable(root, Wex::Unquote(Wex::ValueOf(params, "variable")));
  if (const auto found = cases.find(value); found != cases.end()) return ReadActionPair(found->second);
  if (const auto found = params.find("default"); found != params.end()) return ReadActionPair(found->second);
  return std::nullopt;
}

void RunHintAction(rcRootView& root, const std::string& params) {
  const ref<rcHintWindow> window = root.GetHintWindow();
  if (!window) return;
  const Description description = Wex::ParseKeyValueMap(params);
  bool isOffset = true;
  Wex::cPoint point;
  ReadPositionOrOffset(description, isOffset, point, {0, 22});
  const std::string text = ExpandTextMacros(root, Wex::Unquote(Wex::ValueOf(description, "text")));
  const Wex::cPoint screen = isOffset ? gActionOrigin + point : root.LocalToScreen(point);
  const Wex::cPoint mouse = root.GetLastMousePoint();
  const Wex::cPoint low = mouse - Wex::cPoint{5, 5};
  const Wex::cPoint high = mouse + Wex::cPoint{5, 5};
  root.SetHintArea({low.fX, low.fY, high.fX, high.fY});
  window->ShowHint(ref<Wex::rcGUIElement>(&root), screen, Wex::MakeRCString(text));
}

void RunLaunchAction(rcRootView& root, const std::string& params) {
  const std::string target = ExpandTextMacros(root, Wex::Unquote(params));
  const std::string_view text(target);
  if (text.starts_with("http://") || text.starts_with("https://") || text.starts_with("telnet://")) {
    Wex::LaunchURL(*Wex::MakeRCString(text));
    return;
  }
  const std::string_view path = text.starts_with("file://") ? text.substr(7) : text;
  Wex::LaunchPath(QorFiles::Path(Wex::UTF8ToWide(path)));
}

// Thrown where a query nests too deep.
struct cQueryTooDeep {};

// Answers the query one level deeper. Beyond kMaxActionNesting levels the whole query answers
// false from its outermost level: a batch of items that reach the batch again would otherwise
// ask on along every branch.
template <class Query>
bool AnswerQuery(Query query) {
  const bool outermost = gQueryDepth == 0;
  const cNestingLevel level(gQueryDepth);
  if (level.IsTooDeep()) throw cQueryTooDeep();
  if (!outermost) return query();
  try {
    return query();
  } catch (const cQueryTooDeep&) {
    return false;
  }
}

bool Enabled(rcRootView& root, const std::string& name, const std::string& params) {
  iController& controller = root.GetController();
  switch (Lookup(name)) {
    case kNotBuiltIn:
      return controller.IsActionEnabled(root, name, params);
    case kSet:
      return controller.TestVariable(root, Wex::Unquote(Item(Wex::ParseList(params), 0)));
    case kEdit:
      return controller.TestVariable(root, Wex::Unquote(Wex::ValueOf(Wex::ParseKeyValueMap(params), "variable")));
    case kHint:
      return static_cast<bool>(root.GetHintWindow());
    case kExecute: {
      cActionBinding binding;
      return ReadActionBinding(root, params, binding.fAction, binding.fParams) && !binding.fAction.empty() &&
             IsActionEnabled(root, binding.fAction, binding.fParams);
    }
    case kBatch:
      for (const std::string& item : Wex::ParseList(params)) {
        const cActionBinding binding = ReadActionPair(item);
        if (IsActionEnabled(root, binding.fAction, binding.fParams)) return true;
      }
      return false;
    case kSwitch: {
      const std::optional<cActionBinding> chosen = SelectCase(root, Wex::ParseKeyValueMap(params));
      return chosen && IsActionEnabled(root, chosen->fAction, chosen->fParams);
    }
    case kNop:
    case kAlert:
    case kPopup:
    case kLaunch:
    case kReload:
    case kAssert:
      return true;
  }
  return false;
}

bool Checked(rcRootView& root, const std::string& name, const std::string& params) {
  iController& controller = root.GetController();
  switch (Lookup(name)) {
    case kNotBuiltIn:
      return controller.IsActionChecked(root, name, params);
    case kSet: {
      const std::vector<std::string> items = Wex::ParseList(params);
      return controller.GetVariable(root, Wex::Unquote(Item(items, 0))) == Wex::Unquote(Item(items, 1));
    }
    case kSwitch: {
      const Description description = Wex::ParseKeyValueMap(params);
      const std::vector<std::string> values = Wex::ParseList(Wex::ValueOf(description, "checked"));
      if (values.empty()) return false;
      const std::string value =
          controller.GetVariable(root, Wex::Unquote(Wex::ValueOf(description, "variable")));
      for (const std::string& checked : values) {
        if (Wex::Unquote(checked) == value) return true;
      }
      return false;
    }
    case kBatch:
      for (const std::string& item : Wex::ParseList(params)) {
        const cActionBinding binding = ReadActionPair(item);
        if (!IsActionChecked(root, binding.fAction, binding.fParams)) return false;
      }
      return true;
    case kExecute: {
      cActionBinding binding;
      return ReadActionBinding(root, params, binding.fAction, binding.fParams) && !binding.fAction.empty() &&
             IsActionChecked(root, binding.fAction, binding.fParams);
    }
    case kNop:
    case kAlert:
    case kHint:
    case kPopup:
    case kEdit:
    case kLaunch:
    case kReload:
    case kAssert:
      return false;
  }
  return false;
}

}  // namespace

void ExecuteActionPair(rcRootView& root, const std::string& pair) {
  const cActionBinding binding = ReadActionPair(pair);
  ExecuteAction(root, binding.fAction, binding.fParams);
}

void PerformAction(rcRootView& root, const std::string& name, const std::string& params) {
  if (!IsActionEnabled(root, name, params)) return;
  const ref<rcRootView> held(&root);
  std::string message;
  try {
    ExecuteAction(root, name, params);
  } catch (const LostWindowException&) {
    throw;
  } catch (...) {
    message = CurrentErrorText();
  }
  root.StartTimer(0, kRefreshTimer);
  if (!message.empty()) root.ShowError(message);
}

void ExecuteAction(rcRootView& root, const std::string& name, const std::string& params) {
  const cNestingLevel level(gExecutionDepth);
  if (level.IsTooDeep()) throw Exception("Action recursion limit reached");
  iController& controller = root.GetController();
  switch (Lookup(name)) {
    case kNotBuiltIn:
      controller.PerformAction(root, name, params);
      break;
    case kNop:
      break;
    case kSet: {
      const std::vector<std::string> items = Wex::ParseList(params);
      controller.SetVariable(root, Wex::Unquote(Item(items, 0)), Wex::Unquote(Item(items, 1)), false);
      break;
    }
    case kSwitch:
      if (const std::optional<cActionBinding> chosen = SelectCase(root, Wex::ParseKeyValueMap(params))) {
        ExecuteAction(root, chosen->fAction, chosen->fParams);
      }
      break;
    case kBatch:
      for (const std::string& item : Wex::ParseList(params)) ExecuteActionPair(root, item);
      break;
    case kExecute: {
      cActionBinding binding;
      if (!ReadActionBinding(root, params, binding.fAction, binding.fParams)) {
        throw FormatException("Invalid execute params : " + Wex::Quote(params));
      }
      if (!binding.fAction.empty()) ExecuteAction(root, binding.fAction, binding.fParams);
      break;
    }
    case kAlert:
      RunAlertAction(root, params);
      break;
    case kHint:
      RunHintAction(root, params);
      break;
    case kPopup:
      RunPopupAction(root, params);
      break;
    case kEdit:
      RunEditAction(root, params);
      break;
    case kLaunch:
      RunLaunchAction(root, params);
      break;
    case kReload:
      root.StartTimer(0, kReloadTimer);
      break;
    case kAssert:
      RunAssertAction(root, params);
      break;
  }
}

bool IsActionEnabled(rcRootView& root, const std::string& name, const std::string& params) {
  return AnswerQuery([&] { return Enabled(root, name, params); });
}

bool IsActionChecked(rcRootView& root, const std::string& name, const std::string& params) {
  return AnswerQuery([&] { return Checked(root, name, params); });
}

}  // namespace Velto
