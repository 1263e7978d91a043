#pragma once

// The paged view: named pages of child views, of which it shows the one that a GUI variable
// names. Every page's views are built once, hidden; a page switch hides the old page's views and
// shows the new page's.

#include <map>
#include <string>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/container.h"
#include "gui/element.h"
#include "gui/geometry.h"

namespace Velto {

class rcRootView;

class rcPagedView : public Wex::rcGUIContainer {
 public:
  // The root, whose controller answers the variable, is borrowed; no page is shown yet.
  rcPagedView(const Wex::cRect& r, rcRootView& root, std::string indexVariable);

  // Adds the views of each page of a key/value text (page name to a list of view descriptions),
  // hidden, pages in ascending byte order of their names and each page's views in list order.
  // Errors pass out; the views made before stay.
  void AddPages(const Wex::cTextPart& pages);

  // Empties the pages (the current page's name stays), then the container's Detach.
  void Detach() override;
  // The page switch: when the variable's text (read on every refresh, also for an empty name)
  // differs from the current page's name, the current page's views are hidden and those of the
  // page that the text names, byte for byte, are shown; then every child is refreshed.
  void WindowStateChanged() override;
  // The root forgets the child's records first; the pages keep the view.
  void RemoveChild(const ref<Wex::rcGUIElement>& child) override;

  const std::string& GetCurrentPage() const { return fCurrentPage; }

 private:
  // Shows or hides the views of the page, in their order.
  void ShowPage(const std::string& name, bool visible);

  rcRootView* fRoot;
  std::string fIndexVariable;
  // Equal names keep the order in which their views were added.
  std::multimap<std::string, ref<Wex::rcGUIElement>> fPages;
  std::string fCurrentPage;
};

// The "paged" type: "index" (unquoted) names the variable, "pages" holds the pages; then
// "autoRefresh".
ref<Wex::rcGUIElement> MakePagedView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
