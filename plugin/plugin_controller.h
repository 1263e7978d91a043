#pragma once

// The plug-in's controller as the editor sees it: the application behind the Velto GUI. It answers
// resources from the module's resource registry, keeps the GUI variables in memory for the run,
// writes every edit of them to an output stream as a plug-in host would see it, keeps the open
// editor in step with them as a plug-in framework's idle poll does, and opens and closes the
// editor: the root view loaded from the top-level description, with its hint window and layout
// editor, inside an opaque buffered container that goes on the host's view.

#include <cstdint>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>

#include "base/rc.h"
#include "gui/native_view.h"
#include "gui/offscreen_container.h"
#include "gui/resources/resource_registry.h"
#include "gui/root.h"
#include "plugin/plugin_record.h"
#include "velto/controller.h"
#include "velto/root_view.h"
#include "velto/views/hint_window.h"

class PlugInController : public Velto::iController {
 public:
  // Takes the module's registry for the record (GetResourceRegistry, whose errors pass out). The
  // record's name is the application's name and the prefix of the top-level description
  // "<name>_main". Variable edits are written to `out`; without a display, errors are shown on
  // `errors`. Both streams must outlive the controller.
  PlugInController(PlugInRecord record, std::ostream& out, std::ostream& errors);
  // Closes the editor.
  ~PlugInController() override;
  PlugInController(const PlugInController&) = delete;
  PlugInController& operator=(const PlugInController&) = delete;

  // The width and height that the top-level description's "bounds" give (0 x 0 without them).
  std::pair<std::int32_t, std::int32_t> GetEditorSize();
  // Opens the editor: the root view gets the description's size and this controller, then (with a
  // host view) a hint window, and a layout editor; the description is loaded into it; the editor
  // container of `bounds` holds a black element of its whole size, the root view and, above it,
  // the layout editor. With a host view, which needs a display, the container becomes the root element of a
  // GUI root over it; without one the editor is on no host, so no timer, automatic action or
  // window of its own ever runs. Ends with one ReloadFromPlugIn. An error closes what was made
  // and passes out. An open editor is closed first.
  void Initialize(const iref<Wex::iNativeView>& hostView, const Wex::cRect& bounds);
  // Closes the GUI root (and with it the host view), closes the hint window and lets go of the
  // root view and the container. Nothing when no editor is open.
  void Close();

  // The editor's root view and container; empty while no editor is open.
  const ref<Velto::rcRootView>& GetRootView() const { return fRootView; }
  const ref<Wex::rcOffscreenGUIContainer>& GetEditorContainer() const { return fEditor; }

  // Stores a variable as the host hands back stored state when it opens an editor: no line is
  // written.
  void RestoreVariable(const std::string& name, const std::string& value);
  // Whether an edit of the variable has begun and not ended.
  bool IsTracking(const std::string& name) const { return fTracking.count(name) != 0; }

  // The record's name.
  std::string GetApplicationName() override;
  // With a display (an editor open on a host view), a critical alert titled with the application
  // name with "Error: " and the message below it; without one "error: " and the message on the
  // error stream. An empty message reads "Unexpected error". True both ways.
  bool ShowError(Velto::rcRootView& root, const std::string& message) override;
  // Clears the registry, loads the string table again and loads the top-level description into
  // the editor's root view (the root given when no editor is open).
  void ReloadResources(Velto::rcRootView& root) override;
  // The refresh down the whole tree of the editor's root view, whichever root view asks (the
  // asking one when no editor is open); a refresh still due from a stored change goes.
  void ReloadFromPlugIn(Velto::rcRootView& root) override;
  std::string LoadGUIDescription(Velto::rcRootView& root, const std::string& name) override;
  ref<Velto::rcImage> GetLayeredImage(Velto::rcRootView& root, const std::string& value) override;
  iref<Velto::iFont> GetFont(Velto::rcRootView& root, const std::string& value) override;
  std::string LoadVectorGraphics(Velto::rcRootView& root, const std::string& name) override;
  std::string GetText(Velto::rcRootView& root, const std::string& text) override;
  // Always empty: the view factory makes every view.
  ref<Wex::rcGUIElement> CreateView(Velto::rcRootView& root, const Wex::cRect& bounds, const std::string& type,
                                    const Velto::Description& description) override;
  // The controller has no actions of its own: never enabled or checked, and performing one throws
  // FormatException "Unrecognized action : " and the quoted name.
  bool IsActionEnabled(Velto::rcRootView& root, const std::string& action, const std::string& params) override;
  bool IsActionChecked(Velto::rcRootView& root, const std::string& action, const std::string& params) override;
  void PerformAction(Velto::rcRootView& root, const std::string& action, const std::string& params) override;
  // The stored value; empty for a name never set.
  std::string GetVariable(Velto::rcRootView& root, const std::string& name) override;
  // True for every name but the empty one.
  bool TestVariable(Velto::rcRootView& root, const std::string& name) override;
  // An edit that begins writes "begin NAME", one that ends "end NAME"; a repeated begin or an end
  // without a begin writes nothing.
  void SetVariableTracking(Velto::rcRootView& root, const std::string& name, bool tracking) override;
  // Stores the value and writes "set NAME VALUE" (there is no undo to record). A value other than
  // the stored one (a name never set reads empty) schedules a refresh of the whole GUI on a later
  // tick of the editor's timer, unless one is due already: many changes give one refresh.
  void SetVariable(Velto::rcRootView& root, const std::string& name, const std::string& value,
                   bool recordUndo) override;

 private:
  std::string MainDescriptionName() const { return fRecord.fName + "_main"; }
  // One line of the edit log, flushed: the word and the quoted texts.
  void WriteLine(const char* word, const std::string& name, const std::string* value = nullptr);

  PlugInRecord fRecord;
  Velto::rcResourceRegistry& fRegistry;
  std::ostream& fOut;
  std::ostream& fErrors;
  std::map<std::string, std::string> fVariables;
  std::set<std::string> fTracking;
  ref<Velto::rcRootView> fRootView;
  ref<Velto::rcHintWindow> fHintWindow;
  ref<Wex::rcOffscreenGUIContainer> fEditor;
  ref<Wex::rcGUIRoot> fGUIRoot;
  // A refresh from a stored change is on the editor's timer and has not run yet.
  bool fRefreshDue = false;
};
