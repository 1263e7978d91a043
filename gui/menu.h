#pragma once

// Pop-up menus built item by item and shown at a screen point, and the removal of '&' mnemonic
// marks from titles.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/rc.h"
#include "base/rc_vector.h"
#include "gui/ext_window.h"
#include "gui/geometry.h"
#include "platform/mac_cf_object.h"

// Receives the choice of a menu: every item reports its tag here when it is chosen.
class comkelvane_brimlib_20150413151123_MenuItemTarget : public Wex::rc {
 public:
  void resetSelectedTag() { fSelectedTag = 0; }
  std::int32_t selectedTag() const { return fSelectedTag; }
  // Stores the tag of the chosen item.
  void selectMenu(std::int32_t senderTag) { fSelectedTag = senderTag; }

 private:
  std::int32_t fSelectedTag = 0;
};

namespace Wex {

// The title without its mnemonic marks: "&&" becomes one '&' and every other '&' goes. The new
// vector holds a terminating zero unit after its length.
aref<rcVector<UniChar>> StripMnemonics(const rcVector<UniChar>& label);
aref<rcVector<char>> StripMnemonics(const rcVector<char>& title);

// One entry of a menu: a separator, or an item with a UTF-8 title.
struct cMenuItem {
  bool fSeparator = false;
  bool fEnabled = false;
  bool fMarked = false;
  std::string fTitle;
  std::int32_t fTag = 0;

  friend bool operator==(const cMenuItem&, const cMenuItem&) = default;
};

// A pop-up menu. Its entries are kept here and become toolkit items each time the menu pops up,
// so menus are built and inspected without a display. The toolkit never enables items by
// itself: an item is exactly as enabled as it was inserted.
class rcMenu : public rc {
 public:
  rcMenu();

  // Inserts an item before the entry at the index; an index outside 0 .. count appends. The
  // UTF-16 label loses its mnemonic marks. A marked item shows a check mark. The tag is what
  // PopUp answers when the item is chosen, so callers avoid 0, which means no choice.
  void InsertItem(std::int32_t index, bool enabled, bool marked, const rcVector<UniChar>& label, std::int32_t tag);
  // The same with a finished title (a string holder; anything else is an empty title).
  void InsertItemWithTitle(std::int32_t index, bool enabled, bool marked, const rcMacCFObject& title, std::int32_t tag);
  // A separator takes an index like an item.
  void InsertSeparator(std::int32_t index);
  std::int32_t GetItemCount() const { return static_cast<std::int32_t>(fItems.size()); }
  const std::vector<cMenuItem>& GetItems() const { return fItems; }

  // Shows the menu with its top-left corner at the point (top-down screen coordinates) over the
  // window's content (the screen when there is none) and waits until it closes. Answers the tag
  // of the chosen item, 0 when none was chosen or the menu could not be shown.
  std::int32_t PopUp(const ref<rcExtWindow>& window, cPoint point);

  comkelvane_brimlib_20150413151123_MenuItemTarget& GetTarget() const { return *fTarget; }

 private:
  void Insert(std::int32_t index, cMenuItem item);

  std::vector<cMenuItem> fItems;
  ref<comkelvane_brimlib_20150413151123_MenuItemTarget> fTarget;
};

// What PopUp calls with its menu, window and point. Tests install one that records them (the
// menu's items included) and answers a chosen tag without showing anything.
using MenuPopUp = std::function<std::int32_t(rcMenu& menu, const ref<rcExtWindow>& window, cPoint point)>;

// Installs the function (an empty one installs the default, which shows a toolkit menu) and
// answers the previous one. Main thread only.
MenuPopUp SetMenuPopUp(MenuPopUp popUp);

}  // namespace Wex
