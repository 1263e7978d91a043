#pragma once

// A Velto::iController for tests: it answers from settings that a test makes, logs every call in
// order with its root view and arguments, and sends resource calls to a resource registry as the
// plug-in's controller does.

#include <exception>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "gui/resources/resource_registry.h"
#include "velto/controller.h"

namespace VeltoTest {

// One call as the controller received it: the root view it came from (null for
// GetApplicationName), the operation and its arguments as texts: bools "true" or "false",
// rectangles "left,top,right,bottom", descriptions "{key: value, ...}" with raw values.
struct Call {
  const Velto::rcRootView* fRoot = nullptr;
  std::string fOperation;
  std::vector<std::string> fArguments;

  friend bool operator==(const Call&, const Call&) = default;
};
std::ostream& operator<<(std::ostream& out, const Call& call);
using Calls = std::vector<Call>;

class RecordingController : public Velto::iController {
 public:
  // Resource calls go to `registry`, which must outlive the controller; without one they throw
  // std::logic_error. ReloadResources clears the registry and loads the "txt" string table
  // `stringsName` (nothing when it is empty).
  explicit RecordingController(Velto::rcResourceRegistry* registry = nullptr, std::string stringsName = {});

  // Makes every later call of the operation (named as in the interface) throw the exception,
  // after it is logged and before it changes anything. Throws std::invalid_argument for a name
  // that is no operation.
  template <class E>
  void ThrowOn(std::string_view operation, const E& exception) {
    SetThrow(operation, std::make_exception_ptr(exception));
  }
  void StopThrowing(std::string_view operation) { SetThrow(operation, nullptr); }

  // The calls so far; TakeCalls answers them and starts a new log.
  const Calls& GetCalls() const { return fCalls; }
  Calls TakeCalls();

  std::string GetApplicationName() override;
  // Answers fShowErrorResult.
  bool ShowError(Velto::rcRootView& root, const std::string& message) override;
  void ReloadResources(Velto::rcRootView& root) override;
  void ReloadFromPlugIn(Velto::rcRootView& root) override;
  // LoadResource(name, "velto", true).
  std::string LoadGUIDescription(Velto::rcRootView& root, const std::string& name) override;
  // GetImage.
  ref<Velto::rcImage> GetLayeredImage(Velto::rcRootView& root, const std::string& value) override;
  // From fFonts, else the registry's GetFont.
  iref<Velto::iFont> GetFont(Velto::rcRootView& root, const std::string& value) override;
  // LoadResource(name, "orv", true).
  std::string LoadVectorGraphics(Velto::rcRootView& root, const std::string& name) override;
  // TranslateLatin1.
  std::string GetText(Velto::rcRootView& root, const std::string& text) override;
  // The view of fViews for the type; empty when there is none.
  ref<Wex::rcGUIElement> CreateView(Velto::rcRootView& root, const Wex::cRect& bounds, const std::string& type,
                                    const Velto::Description& description) override;
  // From fEnabledActions (default true) and fCheckedActions (default false), by action name.
  bool IsActionEnabled(Velto::rcRootView& root, const std::string& action, const std::string& params) override;
  bool IsActionChecked(Velto::rcRootView& root, const std::string& action, const std::string& params) override;
  void PerformAction(Velto::rcRootView& root, const std::string& action, const std::string& params) override;
  // From fVariables; "" for an absent name.
  std::string GetVariable(Velto::rcRootView& root, const std::string& name) override;
  // False for the names in fReadOnly.
  bool TestVariable(Velto::rcRootView& root, const std::string& name) override;
  // Stores the state in fTracking.
  void SetVariableTracking(Velto::rcRootView& root, const std::string& name, bool tracking) override;
  // Stores the value in fVariables.
  void SetVariable(Velto::rcRootView& root, const std::string& name, const std::string& value,
                   bool recordUndo) override;

  // What the calls answer; tests set them directly.
  std::string fApplicationName = "Test";
  std::map<std::string, std::string> fVariables;
  std::map<std::string, bool> fTracking;
  std::set<std::string> fReadOnly;
  std::map<std::string, bool> fEnabledActions;
  std::map<std::string, bool> fCheckedActions;
  bool fShowErrorResult = false;
  std::map<std::string, ref<Wex::rcGUIElement>> fViews;
  std::map<std::string, iref<Velto::iFont>> fFonts;

 private:
  void SetThrow(std::string_view operation, std::exception_ptr exception);
  // Logs the call, then throws what the test set for the operation.
  void Record(const Velto::rcRootView* root, const char* operation, std::vector<std::string> arguments = {});
  Velto::rcResourceRegistry& Registry() const;

  Velto::rcResourceRegistry* fRegistry;
  std::string fStringsName;
  Calls fCalls;
  std::map<std::string, std::exception_ptr, std::less<>> fThrows;
};

}  // namespace VeltoTest
