#include "velto/testing/recording_controller.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <utility>

namespace VeltoTest {

namespace {

constexpr std::array<std::string_view, 17> kOperations = {
    "GetApplicationName", "ShowError",     "ReloadResources",  "ReloadFromPlugIn", "LoadGUIDescription",
    "GetLayeredImage",    "GetFont",       "LoadVectorGraphics", "GetText",        "CreateView",
    "IsActionEnabled",    "IsActionChecked", "PerformAction",  "GetVariable",      "TestVariable",
    "SetVariableTracking", "SetVariable",
};

std::string Text(bool value) { return value ? "true" : "false"; }

std::string Text(const Wex::cRect& r) {
  return std::to_string(r.fLeft) + "," + std::to_string(r.fTop) + "," + std::to_string(r.fRight) + "," +
         std::to_string(r.fBottom);
}

std::string Text(const Velto::Description& description) {
  std::string text = "{";
  for (const auto& [key, value] : description) {
    if (text.size() > 1) text += ", ";
    text.append(key).append(": ").append(value);
  }
  return text + "}";
}

bool Lookup(const std::map<std::string, bool>& settings, const std::string& name, bool otherwise) {
  const auto found = settings.find(name);
  return found != settings.end() ? found->second : otherwise;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const Call& call) {
  out << call.fOperation << "(";
  if (call.fRoot != nullptr) out << "root " << static_cast<const void*>(call.fRoot);
  for (std::size_t i = 0; i < call.fArguments.size(); ++i) {
    out << (i > 0 || call.fRoot != nullptr ? ", " : "") << '"' << call.fArguments[i] << '"';
  }
  return out << ")";
}

RecordingController::RecordingController(Velto::rcResourceRegistry* registry, std::string stringsName)
    : fRegistry(registry), fStringsName(std::move(stringsName)) {}

Calls RecordingController::TakeCalls() { return std::exchange(fCalls, {}); }

void RecordingController::SetThrow(std::string_view operation, std::exception_ptr exception) {
  if (std::find(kOperations.begin(), kOperations.end(), operation) == kOperations.end()) {
    throw std::invalid_argument("no controller operation " + std::string(operation));
  }
  if (exception) {
    fThrows.insert_or_assign(std::string(operation), std::move(exception));
  } else if (const auto found = fThrows.find(operation); found != fThrows.end()) {
    fThrows.erase(found);
  }
}

void RecordingController::Record(const Velto::rcRootView* root, const char* operation,
                                 std::vector<std::string> arguments) {
  fCalls.push_back({root, operation, std::move(arguments)});
  if (const auto found = fThrows.find(std::string_view(operation)); found != fThrows.end()) {
    std::rethrow_exception(found->second);
  }
}

Velto::rcResourceRegistry& RecordingController::Registry() const {
  if (fRegistry == nullptr) throw std::logic_error("the controller has no resource registry");
  return *fRegistry;
}

std::string RecordingController::GetApplicationName() {
  Record(nullptr, "GetApplicationName");
  return fApplicationName;
}

bool RecordingController::ShowError(Velto::rcRootView& root, const std::string& message) {
  Record(&root, "ShowError", {message});
  return fShowErrorResult;
}

void RecordingController::ReloadResources(Velto::rcRootView& root) {
  Record(&root, "ReloadResources");
  Registry().Clear();
  if (!fStringsName.empty()) Registry().LoadStrings(fStringsName, "txt");
}

void RecordingController::ReloadFromPlugIn(Velto::rcRootView& root) { Record(&root, "ReloadFromPlugIn"); }

std::string RecordingController::LoadGUIDescription(Velto::rcRootView& root, const std::string& name) {
  Record(&root, "LoadGUIDescription", {name});
  return Registry().LoadResource(name, "velto", true);
}

ref<Velto::rcImage> RecordingController::GetLayeredImage(Velto::rcRootView& root, const std::string& value) {
  Record(&root, "GetLayeredImage", {value});
  return Registry().GetImage(value);
}

iref<Velto::iFont> RecordingController::GetFont(Velto::rcRootView& root, const std::string& value) {
  Record(&root, "GetFont", {value});
  if (const auto found = fFonts.find(value); found != fFonts.end()) return found->second;
  return Registry().GetFont(value);
}

std::string RecordingController::LoadVectorGraphics(Velto::rcRootView& root, const std::string& name) {
  Record(&root, "LoadVectorGraphics", {name});
  return Registry().LoadResource(name, "orv", true);
}

std::string RecordingController::GetText(Velto::rcRootView& root, const std::string& text) {
  Record(&root, "GetText", {text});
  return Registry().TranslateLatin1(text);
}

ref<Wex::rcGUIElement> RecordingController::CreateView(Velto::rcRootView& root, const Wex::cRect& bounds,
                                                       const std::string& type,
                                                       const Velto::Description& description) {
  Record(&root, "CreateView", {Text(bounds), type, Text(description)});
  const auto found = fViews.find(type);
  return found != fViews.end() ? found->second : nullptr;
}

bool RecordingController::IsActionEnabled(Velto::rcRootView& root, const std::string& action,
                                          const std::string& params) {
  Record(&root, "IsActionEnabled", {action, params});
  return Lookup(fEnabledActions, action, true);
}

bool RecordingController::IsActionChecked(Velto::rcRootView& root, const std::string& action,
                                          const std::string& params) {
  Record(&root, "IsActionChecked", {action, params});
  return Lookup(fCheckedActions, action, false);
}

void RecordingController::PerformAction(Velto::rcRootView& root, const std::string& action,
                                        const std::string& params) {
  Record(&root, "PerformAction", {action, params});
}

std::string RecordingController::GetVariable(Velto::rcRootView& root, const std::string& name) {
  Record(&root, "GetVariable", {name});
  const auto found = fVariables.find(name);
  return found != fVariables.end() ? found->second : std::string();
}

bool RecordingController::TestVariable(Velto::rcRootView& root, const std::string& name) {
  Record(&root, "TestVariable", {name});
  return fReadOnly.count(name) == 0;
}

void RecordingController::SetVariableTracking(Velto::rcRootView& root, const std::string& name, bool tracking) {
  Record(&root, "SetVariableTracking", {name, Text(tracking)});
  fTracking[name] = tracking;
}

void RecordingController::SetVariable(Velto::rcRootView& root, const std::string& name, const std::string& value,
                                      bool recordUndo) {
  Record(&root, "SetVariable", {name, value, Text(recordUndo)});
  fVariables[name] = value;
}

}  // namespace VeltoTest
