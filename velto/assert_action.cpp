#include "velto/assert_action.h"

#include <array>
#include <string_view>

#include "base/exceptions.h"
#include "base/key_value.h"
#include "base/text.h"
#include "velto/actions.h"
#include "velto/root_view.h"

namespace Velto {

namespace {

// The comparisons in the order in which they are looked for; the even ones pass on equal values.
constexpr std::array<std::string_view, 4> kComparisons = {"is", "isNot", "sameAs", "differsFrom"};

void AssertVariable(rcRootView& root, const Description& description, const std::string& params) {
  iController& controller = root.GetController();
  const std::string name = Wex::Unquote(description.at("variable"));
  const std::string value = controller.GetVariable(root, name);
  for (std::size_t i = 0; i < kComparisons.size(); ++i) {
    const auto found = description.find(std::string(kComparisons[i]));
    if (found == description.end()) continue;
    const std::string written = Wex::Unquote(found->second);
    const std::string expected = i < 2 ? written : controller.GetVariable(root, written);
    if ((value == expected) != (i % 2 == 0)) {
      throw QorDebug::Assert("Velto assertion failed: " + Wex::Quote(name) + " " + std::string(kComparisons[i]) +
                             ": " + Wex::Quote(written));
    }
    return;
  }
  throw FormatException("Invalid assert params : " + Wex::Quote(params));
}

void AssertAction(rcRootView& root, const Description& description, const std::string& params) {
  const std::string action = Wex::Unquote(description.at("action"));
  const std::string actionParams = Wex::Unquote(Wex::ValueOf(description, "params"));
  using Query = bool (*)(rcRootView&, const std::string&, const std::string&);
  const std::pair<const char*, Query> states[] = {{"enabled", IsActionEnabled}, {"checked", IsActionChecked}};
  bool checked = false;
  for (const auto& [state, query] : states) {
    const auto found = description.find(state);
    if (found == description.end()) continue;
    checked = true;
    const bool actual = query(root, action, actionParams);
    if (Wex::StringToBool(found->second, false) != actual) {
      throw QorDebug::Assert("Velto assertion failed: action " + Wex::Quote(action) + " with params " +
                             Wex::Quote(actionParams) + (actual ? " is " : " is not ") + state);
    }
  }
  if (!checked) throw FormatException("Invalid assert params : " + Wex::Quote(params));
}

}  // namespace

void RunAssertAction(rcRootView& root, const std::string& params) {
  const Description description = Wex::ParseKeyValueMap(params);
  if (description.contains("variable")) {
    AssertVariable(root, description, params);
  } else if (description.contains("action")) {
    AssertAction(root, description, params);
  } else {
    throw FormatException("Invalid assert params : " + Wex::Quote(params));
  }
}

}  // namespace Velto
