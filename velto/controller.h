#pragma once

// The interface through which the Velto framework asks the application for everything it does
// not own: the application's name, error display, resources, application-made views, actions
// and GUI variables.

#include <string>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/element.h"
#include "gui/geometry.h"
#include "gui/resources/font.h"
#include "gui/resources/image.h"

namespace Velto {

class rcRootView;

// Every operation but GetApplicationName receives the calling root view, so that one controller
// can serve several GUIs. Texts are ISO Latin-1. Every operation may throw.
class iController {
 public:
  // The application's display name (the default title of alerts).
  virtual std::string GetApplicationName() = 0;
  // True when the application has shown the message itself; false makes the framework show it.
  virtual bool ShowError(rcRootView& root, const std::string& message) = 0;
  // Drops the cached resources, reloads the translations and the top-level description.
  virtual void ReloadResources(rcRootView& root) = 0;
  // Re-reads the application's state and refreshes every view.
  virtual void ReloadFromPlugIn(rcRootView& root) = 0;
  // The text of the "velto" resource of that name.
  virtual std::string LoadGUIDescription(rcRootView& root, const std::string& name) = 0;
  // The image that an image specification (a name or a block) denotes.
  virtual ref<rcImage> GetLayeredImage(rcRootView& root, const std::string& value) = 0;
  // The font that a font description value (a name or a block) denotes.
  virtual iref<iFont> GetFont(rcRootView& root, const std::string& value) = 0;
  // The source of the "orv" resource of that name.
  virtual std::string LoadVectorGraphics(rcRootView& root, const std::string& name) = 0;
  // The translation of a text; a text without one comes back unchanged.
  virtual std::string GetText(rcRootView& root, const std::string& text) = 0;
  // An application-made view of a type that the view factory does not know; empty when the
  // application has none.
  virtual ref<Wex::rcGUIElement> CreateView(rcRootView& root, const Wex::cRect& bounds, const std::string& type,
                                            const Description& description) = 0;
  // Whether an application action may run now, and whether it shows as checked.
  virtual bool IsActionEnabled(rcRootView& root, const std::string& action, const std::string& params) = 0;
  virtual bool IsActionChecked(rcRootView& root, const std::string& action, const std::string& params) = 0;
  virtual void PerformAction(rcRootView& root, const std::string& action, const std::string& params) = 0;
  // The current value of a GUI variable as text.
  virtual std::string GetVariable(rcRootView& root, const std::string& name) = 0;
  // Whether the GUI may set the variable.
  virtual bool TestVariable(rcRootView& root, const std::string& name) = 0;
  // Brackets a continuous change of a variable: true when a gesture starts, false when it ends.
  virtual void SetVariableTracking(rcRootView& root, const std::string& name, bool tracking) = 0;
  // Stores a new value; `recordUndo` asks for an undo step for the change.
  virtual void SetVariable(rcRootView& root, const std::string& name, const std::string& value, bool recordUndo) = 0;
  virtual ~iController() = default;
};

}  // namespace Velto
