#include "velto/views/paged_view.h"

#include <utility>
#include <vector>

#include "base/text.h"
#include "velto/root_view.h"
#include "velto/views/view_construction.h"

namespace Velto {

rcPagedView::rcPagedView(const Wex::cRect& r, rcRootView& root, std::string indexVariable)
    : rcGUIContainer(r), fRoot(&root), fIndexVariable(std::move(indexVariable)) {}

void rcPagedView::AddPages(const Wex::cTextPart& pages) {
  // The map's order is the byte order of the names; of two equal names the first is read.
  for (const auto& [name, views] : Wex::ParseKeyValueMap(pages)) {
    for (const Wex::cTextPart& item : Wex::ParseListParts(views)) {
      fPages.emplace(name, MakeViewFromDescription(*fRoot, Wex::ParseKeyValueMap(item), *this, true));
    }
  }
}

void rcPagedView::Detach() {
  fPages.clear();
  rcGUIContainer::Detach();
}

void rcPagedView::WindowStateChanged() {
  std::string page = fRoot->GetController().GetVariable(*fRoot, fIndexVariable);
  if (page != fCurrentPage) {
    if (!fCurrentPage.empty()) ShowPage(fCurrentPage, false);
    fCurrentPage = std::move(page);
    if (!fCurrentPage.empty()) ShowPage(fCurrentPage, true);
  }
  rcGUIContainer::WindowStateChanged();
}

void rcPagedView::RemoveChild(const ref<Wex::rcGUIElement>& child) {
  fRoot->ForgetView(child);
  rcGUIContainer::RemoveChild(child);
}

void rcPagedView::ShowPage(const std::string& name, bool visible) {
  // A copy: hiding sends MouseExited, whose handler may change the pages.
  std::vector<ref<Wex::rcGUIElement>> views;
  const auto range = fPages.equal_range(name);
  for (auto entry = range.first; entry != range.second; ++entry) views.push_back(entry->second);
  for (const ref<Wex::rcGUIElement>& view : views) {
    if (visible) {
      view->Show();
    } else {
      view->Hide();
    }
  }
}

ref<Wex::rcGUIElement> MakePagedView(rcRootView& root, const Wex::cRect& bounds, const Description& description) {
  const ref<rcPagedView> view(new rcPagedView(bounds, root, Wex::Unquote(Wex::ValueOf(description, "index"))));
  root.FinishOrForget(view, [&] {
    view->AddPages(Wex::PartOf(description, "pages"));
    root.ReadAutoRefresh(view, description);
  });
  return view;
}

}  // namespace Velto
