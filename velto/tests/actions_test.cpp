// The action interpreter over the recording controller, with the platform's alert, menu and
// launcher replaced by recorders that answer what the test chooses.
#include "velto/actions.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "base/exceptions.h"
#include "gui/alert.h"
#include "gui/menu.h"
#include "gui/simple_text_edit.h"
#include "platform/launch.h"
#include "velto/popup_menu.h"
#include "velto/tests/root_fixture.h"

namespace VeltoTest {
namespace {

using Log = std::vector<std::string>;

class ActionTest : public RootTest {
 protected:
  ActionTest() {
    fController.fVariables = {{"x", "1"}, {"mode", "b"}, {"a", "on"}, {"patch.name", "Other"},
                              {"list", "{A, set, {z, 1}}, -, {B, nop}"}};
    fController.fReadOnly = {"ro"};
    fController.fEnabledActions = {{"off", false}};
    fController.fCheckedActions = {{"on", true}};
    fController.fShowErrorResult = true;
    fView->fWindow = ref<Wex::rcExtWindow>(new GuiTest::rcFakeWindow({100, 200, 400, 300}));
    Velto::gActionOrigin = {500, 600};
    Host(fRoot);
    sShown.clear();
    fAlert = Wex::SetAlertRunner([this](std::int32_t style, std::int32_t buttons, std::int32_t defaultId,
                                        const refString& title, const refString& text, const ref<Wex::rcExtWindow>&) {
      sShown.push_back("alert " + std::to_string(style) + std::to_string(buttons) + std::to_string(defaultId) +
                       " '" + std::string(title->GetText()) + "' '" + std::string(text->GetText()) + "'");
      return fAnswer;
    });
    fMenu = Wex::SetMenuPopUp([this](Wex::rcMenu& menu, const ref<Wex::rcExtWindow>&, Wex::cPoint p) {
      std::string shown = "menu " + std::to_string(p.fX) + "," + std::to_string(p.fY) + ":";
      for (const Wex::cMenuItem& item : menu.GetItems()) {
        shown += item.fSeparator ? " -"
                                 : " " + item.fTitle + "/" + std::to_string(item.fTag) + (item.fEnabled ? "" : " off") +
                                       (item.fMarked ? " checked" : "");
      }
      sShown.push_back(shown);
      return fAnswer;
    });
    fLauncher = Platform::SetLauncher([](const std::string& uri) { sShown.push_back("open " + uri); });
    fEdit = Wex::SetSimpleTextEditRunner([this](const ref<Wex::rcGUIRoot>& host, const std::string& prompt,
                                                std::string& text) {
      sShown.push_back("edit '" + prompt + "' '" + text + "'" + (host.Get() == fHost.Get() ? "" : " elsewhere"));
      text += "!";
      return fAnswer != 0;
    });
    TakeCalls();
  }
  ~ActionTest() override {
    Wex::SetAlertRunner(fAlert);
    Wex::SetMenuPopUp(fMenu);
    Platform::SetLauncher(fLauncher);
    Wex::SetSimpleTextEditRunner(fEdit);
  }

  // Runs the action with the user's answer (PerformAction, then the timers that it started, or
  // ExecuteAction and the message of the exception that leaves it): what the platform showed,
  // then the controller's calls.
  Log Run(bool perform, const std::string& name, const std::string& params, std::int32_t answer = 0) {
    fAnswer = answer;
    const std::string error = ErrorOf(
        [&] { perform ? Velto::PerformAction(*fRoot, name, params) : Velto::ExecuteAction(*fRoot, name, params); });
    while (RunNextTask()) {
    }
    Log log = std::exchange(sShown, {});
    for (const Call& call : TakeCalls()) {
      std::string text = call.fOperation;
      for (const std::string& argument : call.fArguments) text += " " + argument;
      log.push_back(text);
    }
    if (!error.empty()) log.push_back(error);
    return log;
  }
  // The log of the changes and actions only, for ExecuteAction.
  Log Effects(const std::string& name, const std::string& params, std::int32_t answer = 0) {
    Log log = Run(false, name, params, answer);
    std::erase_if(log, [](const std::string& line) {
      return line.starts_with("GetVariable") || line.starts_with("IsAction") || line.starts_with("TestVariable") ||
             line.starts_with("GetApplicationName");
    });
    return log;
  }

  // What the platform was asked to show or open, in order.
  static inline Log sShown;
  std::int32_t fAnswer = 0;
  Wex::AlertRunner fAlert;
  Wex::MenuPopUp fMenu;
  Platform::Launcher fLauncher;
  Wex::SimpleTextEditRunner fEdit;
};

TEST_F(ActionTest, PerformedActionsRunWhenEnabledAndThenRefresh) {
  const std::string refresh = "ReloadFromPlugIn";
  fController.fVariables["host"] = "a.b";
  const std::tuple<const char*, const char*, Log> cases[] = {
      {"batch", "{{set, {patch.name, Init}}, {reload}}",
       {"TestVariable patch.name", "SetVariable patch.name Init false", "ReloadResources", refresh}},
      {"batch", "{{set, {ro, 1}}, {set, {x, 2, 3}}}",
       {"TestVariable ro", "TestVariable x", "SetVariable ro 1 false", "SetVariable x 2 false", refresh}},
      {"batch", "{{set, {x}}, {assert, {variable: x, is: 4}}, {set, {y, 1}}}",
       {"TestVariable x", "SetVariable x  false", "GetVariable x", "ShowError Velto assertion failed: \"x\" is: \"4\"",
        refresh}},
      {"execute", "{params: p}", {}},
      {"batch", "{{nop}, {execute, {params: p}}}", {"ShowError Invalid execute params : \"{params: p}\"", refresh}},
      {"switch", "{variable: mode, cases: {default: {x1}, b: {x2, {p}}}, default: {x3}}",
       {"GetVariable mode", "IsActionEnabled x2 {p}", "GetVariable mode", "PerformAction x2 {p}", refresh}},
      {"switch", "{variable: mode, cases: {default: {x1}}, default: {x3}}",
       {"GetVariable mode", "IsActionEnabled x3 ", "GetVariable mode", "PerformAction x3 ", refresh}},
      {"hint", "{text: x}", {}},
      {"Set", "{x, 1}", {"IsActionEnabled Set {x, 1}", "PerformAction Set {x, 1}", refresh}},
      {"off", "", {"IsActionEnabled off "}},
      {"launch", "file:///Users/x/a.txt", {"open file:///Users/x/a.txt", refresh}},
      {"launch", "'file:///Users/x/\xc3\xa9 b.txt'", {"open file:///Users/x/%C3%A9%20b.txt", refresh}},
      {"launch", "HTTP://x", {"ShowError Invalid parameter (OS status -50)", refresh}},  // a relative path
      {"launch", "https://a.b/c", {"open https://a.b/c", refresh}},
      {"launch", "\"telnet://[var]host[/var]/ x\"", {"open telnet://a.b/ x", "GetVariable host", refresh}},
  };
  for (const auto& [name, params, log] : cases) EXPECT_EQ(Run(true, name, params), log) << name << " " << params;

  // Failures are shown by their kind; a lost window and the enabled query's errors leave at once.
  using Throw = std::function<void()>;
  const auto arm = [this](auto e) -> Throw { return [this, e] { fController.ThrowOn("PerformAction", e); }; };
  const std::pair<Throw, const char*> failures[] = {
      {arm(Wex::xMacOSError(-43)), "File not found (OS status -43)"}, {arm(Wex::xExceptionWithRCString("t")), "t"},
      {arm(UserCancelledException()), nullptr},          {arm(FormatException("f")), "f"},
      {arm(QorDebug::Assert("a")), "a"},                 {arm(42), nullptr},
  };
  const Log performed{"IsActionEnabled app ", "PerformAction app "};
  for (const auto& [throwing, message] : failures) {
    throwing();
    Log expected = performed;
    if (message != nullptr) expected.push_back("ShowError " + std::string(message));
    expected.push_back(refresh);
    EXPECT_EQ(Run(true, "app", ""), expected);
  }
  fController.ThrowOn("PerformAction", LostWindowException());
  EXPECT_EQ(Run(true, "app", ""), (Log{performed[0], performed[1], "Lost window"}));
  fController.ThrowOn("IsActionEnabled", FormatException("query"));
  EXPECT_EQ(Run(true, "app", ""), (Log{performed[0], "query"}));
}

TEST_F(ActionTest, EnabledAndCheckedStates) {
  const std::tuple<const char*, const char*, bool, bool> cases[] = {  // name, params, enabled, checked
      {"set", "{x, 1}", true, true}, {"set", "{ro, ''}", false, true},
      {"switch", "{variable: mode, cases: {a: {off}, b: {on}}}", true, false},
      {"switch", "{variable: mode, cases: {a: {on}}, default: {off}, checked: {a, 'b'}}", false, true},
      {"batch", "{}", false, true}, {"batch", "{{off}, {on}}", true, false}, {"execute", "{}", false, false},
      {"execute", "{actionVariable: a}", true, true}, {"edit", "{variable: ro}", false, false},
      {"hint", "", false, false},
  };
  for (const auto& [name, params, enabled, checked] : cases) {
    EXPECT_EQ(Velto::IsActionEnabled(*fRoot, name, params), enabled) << name << " " << params;
    EXPECT_EQ(Velto::IsActionChecked(*fRoot, name, params), checked) << name << " " << params;
  }
  for (const char* name : {"nop", "alert", "popup", "launch", "reload", "assert"}) {
    EXPECT_TRUE(Velto::IsActionEnabled(*fRoot, name, "") && !Velto::IsActionChecked(*fRoot, name, "")) << name;
  }
}

TEST_F(ActionTest, ActionsThatReachThemselvesStopAtTheNestingLimit) {
  const std::string loop = "{action: execute, paramsVariable: loop}";
  fController.fVariables["loop"] = loop;
  Log expected(Velto::kMaxActionNesting, "GetVariable loop");
  expected.push_back("Action recursion limit reached");
  EXPECT_EQ(Run(false, "execute", loop), expected);
  EXPECT_FALSE(Velto::IsActionEnabled(*fRoot, "execute", loop) || Velto::IsActionChecked(*fRoot, "execute", loop));
  EXPECT_EQ(TakeCalls().size(), 2u * Velto::kMaxActionNesting);
  // A batch that forks into itself ends at its first branch that nests too deep.
  const std::string branch = "{execute, {action: batch, paramsVariable: fork}}";
  fController.fVariables["fork"] = "{" + branch + ", " + branch + "}";
  EXPECT_FALSE(Velto::IsActionEnabled(*fRoot, "batch", fController.fVariables["fork"]));
  EXPECT_FALSE(Velto::IsActionEnabled(*fRoot, "batch", "{" + branch + ", {nop}}"));
  EXPECT_EQ(TakeCalls().size(), 2u * (Velto::kMaxActionNesting / 2));  // one read per two levels
  std::string nested = "{nop}";
  for (int i = 2; i < Velto::kMaxActionNesting; ++i) nested = "{batch, {" + nested + "}}";
  EXPECT_EQ(Run(false, "batch", "{" + nested + "}"), Log());
  EXPECT_EQ(Run(false, "batch", "{{batch, {" + nested + "}}}"), Log{"Action recursion limit reached"});
}

TEST_F(ActionTest, DialogsAndAssertsFollowTheirParams) {
  const std::string items = "{items: {{Copy, copyPatch}, -, {Paste, pastePatch}}}";
  const char* menu = "menu 500,600: Copy/1 - Paste/2";
  const auto failed = [](const std::string& what) { return Log{"Velto assertion failed: " + what}; };
  const std::tuple<const char*, std::string, std::int32_t, Log> cases[] = {  // name, params, answer, log
      {"alert", "{reactions: {ok: {set, {y, 1}}}}", 0, {"alert 000 'Test' ''", "SetVariable y 1 false"}},
      {"alert", "{buttons: yes no, reactions: {yes: {set, {y, 1}}}}", 4, {"alert 030 'Test' ''"}},
      {"alert", "{type: error, buttons: abort retry ignore, default: ignore, title: \"\", text: '[var]x[/var]!'}", 5,
       {"alert 456 '' '1!'"}},
      {"alert",
       "{type: info, title: '[uppercase]t[/uppercase]', default: cancel, reactions: {ok: {batch, {{a}, {off}}}}}", 0,
       {"alert 301 'T' ''", "PerformAction a ", "PerformAction off "}},
      {"alert", "{type: Info}", 0, {"Invalid alert type : \"Info\""}},
      {"alert", "{buttons: okcancel}", 0, {"Invalid alert buttons : \"okcancel\""}},
      {"alert", "{default: maybe}", 0, {"Invalid default button : \"maybe\""}},
      {"popup", items, 2, {menu, "PerformAction pastePatch "}}, {"popup", items, 0, {menu}},
      {"popup", items, 3, {menu}},
      {"popup",
       "{items: {{'', a}, \"-\", {'&\xc3\x9c[var]x[/var]', on, {p}}, {off, off}}, position: {5, 6}, storeAction: sa,"
       " storeParams: 'sp'}", 2,
       {"menu 105,206: -/1 \xc3\x9c" "1/2 checked off/3 off", "SetVariable sa on false", "SetVariable sp {p} false",
        "PerformAction on {p}"}},
      {"popup", "{items: [var]list[/var], offset: {-1, 2}}", 1, {"menu 499,602: A/1 - B/2", "SetVariable z 1 false"}},
      {"edit", "{variable: ro}", 1, {}},
      {"edit", "{variable: x, text: '[var]x[/var]?', reaction: {set, {y, 1}}}", 1,
       {"edit '1?' '1'", "SetVariableTracking x true", "SetVariable x 1! true", "SetVariableTracking x false",
        "SetVariable y 1 false"}},
      {"edit", "{variable: x, default: '', reaction: {set, {y, 1}}}", 0, {"edit '' ''"}},
      {"assert", "{variable: patch.name, is: Init}", 0, failed("\"patch.name\" is: \"Init\"")},
      {"assert", "{variable: 'patch.name', isNot: Init, differsFrom: \"patch.name\"}", 0, {}},
      {"assert", "{variable: 'patch.name', differsFrom: \"patch.name\"}", 0,
       failed("\"patch.name\" differsFrom: \"patch.name\"")},
      {"assert", "{action: nop, enabled: false}", 0, failed("action \"nop\" with params \"\" is enabled")},
      {"assert", "{action: nop, enabled: \"true\"}", 0, failed("action \"nop\" with params \"\" is enabled")},
      {"assert", "{action: on, params: '{p}', enabled: TRUE, checked: false}", 0,
       failed("action \"on\" with params \"{p}\" is checked")},
      {"assert", "{action: off, enabled: true}", 0, failed("action \"off\" with params \"\" is not enabled")},
      {"assert", "{variable: x, action: nop, enabled: true}", 0,
       {"Invalid assert params : \"{variable: x, action: nop, enabled: true}\""}},
      {"assert", "{action: nop}", 0, {"Invalid assert params : \"{action: nop}\""}},
  };
  for (const auto& [name, params, answer, log] : cases) EXPECT_EQ(Effects(name, params, answer), log) << params;
}

}  // namespace
}  // namespace VeltoTest
