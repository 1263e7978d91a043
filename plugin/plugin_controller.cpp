#include "plugin/plugin_controller.h"

#include <utility>

#include "base/exceptions.h"
#include "base/key_value.h"
#include "base/rc_string.h"
#include "base/text.h"
#include "gui/alert.h"
#include "gui/simple_elements.h"
#include "plugin/registry_access.h"
#include "velto/auto_exec.h"
#include "velto/layout_editor.h"
#include "velto/readers.h"
#include "velto/views/hint_window.h"

namespace {

// The refresh after a stored change is due a millisecond on: it runs on the next tick of the
// editor's timer, never in the tick that stored the change, so a refresh whose automatic actions
// store a change again waits for a later tick instead of running again at once.
constexpr std::int32_t kRefreshDelay = 1;

// The alert's style and button set: critical, OK alone.
constexpr std::int32_t kCriticalAlert = 4;
constexpr std::int32_t kOKButtonSet = 0;
constexpr std::int32_t kOKButton = 0;

}  // namespace

PlugInController::PlugInController(PlugInRecord record, std::ostream& out, std::ostream& errors)
    : fRecord(std::move(record)), fRegistry(GetResourceRegistry(fRecord)), fOut(out), fErrors(errors) {}

PlugInController::~PlugInController() { Close(); }

std::pair<std::int32_t, std::int32_t> PlugInController::GetEditorSize() {
  return Velto::ReadDescriptionSize(fRegistry.LoadResource(MainDescriptionName(), "velto", true));
}

void PlugInController::Initialize(const iref<Wex::iNativeView>& hostView, const Wex::cRect& bounds) {
  Close();
  try {
    const auto [width, height] = GetEditorSize();
    fRootView = new Velto::rcRootView({0, 0, width, height}, this);
    if (hostView) {
      const Wex::cRGBColor white{255, 255, 255}, black{0, 0, 0};
      fHintWindow = new Velto::rcHintWindow(6, 16, &white, {2, 12}, &black, Velto::gDefaultFont());
      fRootView->SetHintWindow(fHintWindow);
    }
    const ref<Velto::rcLayoutEditor> layoutEditor = Velto::rcLayoutEditor::Create();
    fRootView->SetLayoutEditor(layoutEditor);
    Velto::ReadAutoExecs(*fRootView, MainDescriptionName());
    fEditor = new Wex::rcOffscreenGUIContainer(bounds);
    // The root view may cover less than the editor: the container's tile bitmap is not cleared
    // between tiles, so what no view covers would show stale pixels.
    fEditor->AddChild(ref<Wex::rcGUIElement>(new Wex::rcSolidColorElement(bounds, 0, 0, 0)));
    fEditor->AddChild(fRootView);
    fEditor->AddChild(layoutEditor);
    if (hostView) {
      fGUIRoot = new Wex::rcGUIRoot(hostView);
      fGUIRoot->SetRootElement(fEditor);
    }
    ReloadFromPlugIn(*fRootView);
  } catch (...) {
    Close();
    throw;
  }
}

void PlugInController::Close() {
  // The GUI root detaches the tree (the root view drops its hint window then) and closes the view.
  if (const ref<Wex::rcGUIRoot> root = std::exchange(fGUIRoot, nullptr)) root->Close();
  // A root view that failed to load may be in no container yet.
  if (fEditor) fEditor->Detach();
  if (fRootView) fRootView->Detach();
  // The hint window references itself until it is closed.
  if (const ref<Velto::rcHintWindow> hints = std::exchange(fHintWindow, nullptr)) hints->Close();
  fRootView = nullptr;
  fEditor = nullptr;
  fRefreshDue = false;
}

void PlugInController::RestoreVariable(const std::string& name, const std::string& value) {
  fVariables[name] = value;
}

void PlugInController::WriteLine(const char* word, const std::string& name, const std::string* value) {
  fOut << word << ' ' << Wex::Quote(name);
  if (value != nullptr) fOut << ' ' << Wex::Quote(*value);
  fOut << std::endl;
}

std::string PlugInController::GetApplicationName() { return fRecord.fName; }

bool PlugInController::ShowError(Velto::rcRootView& root, const std::string& message) {
  const std::string error = Wex::ShortenForDisplay(message.empty() ? "Unexpected error" : message);
  if (fGUIRoot) {
    Wex::RunAlert(kCriticalAlert, kOKButtonSet, kOKButton, Wex::MakeRCString(GetApplicationName()),
                  Wex::MakeRCString("Error: " + error), root.GetWindow());
  } else {
    fErrors << "error: " << error << std::endl;
  }
  return true;
}

void PlugInController::ReloadResources(Velto::rcRootView& root) {
  fRegistry.Clear();
  fRegistry.LoadStrings(fRecord.fName + "_strings", "txt");
  Velto::ReadAutoExecs(fRootView ? *fRootView : root, MainDescriptionName());
}

void PlugInController::ReloadFromPlugIn(Velto::rcRootView& root) {
  // A nested view asks with itself; the refresh covers the whole GUI all the same, and makes a
  // refresh still due from a stored change needless.
  Velto::rcRootView& top = fRootView ? *fRootView : root;
  fRefreshDue = false;
  top.StopTimer(Velto::kRefreshTimer);
  top.WindowStateChanged();
}

std::string PlugInController::LoadGUIDescription(Velto::rcRootView&, const std::string& name) {
  return fRegistry.LoadResource(name, "velto", true);
}

ref<Velto::rcImage> PlugInController::GetLayeredImage(Velto::rcRootView&, const std::string& value) {
  return fRegistry.GetImage(value);
}

iref<Velto::iFont> PlugInController::GetFont(Velto::rcRootView&, const std::string& value) {
  return fRegistry.GetFont(value);
}

std::string PlugInController::LoadVectorGraphics(Velto::rcRootView&, const std::string& name) {
  return fRegistry.LoadResource(name, "orv", true);
}

std::string PlugInController::GetText(Velto::rcRootView&, const std::string& text) {
  return fRegistry.TranslateLatin1(text);
}

ref<Wex::rcGUIElement> PlugInController::CreateView(Velto::rcRootView&, const Wex::cRect&, const std::string&,
                                                    const Velto::Description&) {
  return nullptr;
}

bool PlugInController::IsActionEnabled(Velto::rcRootView&, const std::string&, const std::string&) { return false; }

bool PlugInController::IsActionChecked(Velto::rcRootView&, const std::string&, const std::string&) { return false; }

void PlugInController::PerformAction(Velto::rcRootView&, const std::string& action, const std::string&) {
  throw FormatException("Unrecognized action : " + Wex::Quote(action));
}

std::string PlugInController::GetVariable(Velto::rcRootView&, const std::string& name) {
  const auto found = fVariables.find(name);
  return found != fVariables.end() ? found->second : std::string();
}

bool PlugInController::TestVariable(Velto::rcRootView&, const std::string& name) { return !name.empty(); }

void PlugInController::SetVariableTracking(Velto::rcRootView&, const std::string& name, bool tracking) {
  if (tracking ? fTracking.insert(name).second : fTracking.erase(name) != 0) {
    WriteLine(tracking ? "begin" : "end", name);
  }
}

void PlugInController::SetVariable(Velto::rcRootView&, const std::string& name, const std::string& value, bool) {
  // A value that reads as before (a name never set reads empty) changes nothing to refresh.
  std::string& stored = fVariables[name];
  const bool changed = stored != value;
  stored = value;
  WriteLine("set", name, &value);
  // One refresh, due at a fixed time however many changes come before it, so that a stream of
  // changes cannot put it off; an editor on no host has no timer.
  if (changed && fGUIRoot && !fRefreshDue) {
    fRefreshDue = true;
    fRootView->StartTimer(kRefreshDelay, Velto::kRefreshTimer);
  }
}
