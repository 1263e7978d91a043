#pragma once

// The console view: a small text terminal of fixed character cells drawn with a font, fed from
// one text variable (each new value) or from the growing elements of a variable array, with an
// optional line input from the keyboard that is stored in a variable and runs an action on
// Return.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/events.h"
#include "gui/geometry.h"
#include "gui/handlers.h"
#include "gui/resources/font.h"
#include "gui/resources/image.h"
#include "velto/views/view.h"

namespace Wex {
class iNativeView;
}

namespace Velto {

class rcRootView;

// The id of the cursor's blink timer.
inline constexpr std::uint32_t kConsoleBlinkTimer = 23462;
// The most cells a console may have.
inline constexpr std::int64_t kMaxConsoleCells = 1000000;

// What a console is made of, as its description gives it.
struct cConsoleSettings {
  std::int32_t fColumns = 80;  // both at least 1, their product at most kMaxConsoleCells
  std::int32_t fRows = 40;
  iref<iFont> fFont;
  Wex::cPoint fMargins;
  // 0 for no cursor.
  std::uint8_t fCursorCharacter = '_';
  // Kept with the view; the cursor is drawn with its character only.
  ref<rcImage> fCursorImage;
  Wex::cPoint fCursorOffset;
  // Milliseconds between two changes of the blink phase; 0 for a steady cursor.
  std::int32_t fBlinkPeriod = 500;
  std::int32_t fTabSize = 8;  // at least 1
  std::string fOutputName;
  bool fOutputIsArray = false;
  std::string fInputAction;
  std::string fInputParams;
  std::string fInputVariable;
  // ARGB; 0 for none.
  std::uint32_t fBackground = 0;
};

// The grid's bytes are written by the terminal rules: 2 goes to the start of the next row unless
// at a row's start, 8 erases the cell to the left within the row, 9 advances to the next tab
// stop, 10 starts a new row, 12 clears the grid, 13 returns to the row's start, other bytes below
// 32 are ignored and every other byte is written and advances; writing past the last column
// wraps, and a new row past the last scrolls the grid up by one row.
//
// An input console (one with an input variable or an input action) claims the keyboard when it
// becomes visible, as the key handler of its host's view, and takes typed keys only while it is
// input-active: its view has the focus of its window, that window is the key window and the
// console is the view's key handler. It learns this in its refresh, and shows its cursor only
// while input-active.
class rcConsoleView : public rcView, public Wex::iKeyHandler {
 public:
  // The root is not owned. In array mode the elements that exist now are not written.
  rcConsoleView(const Wex::cRect& r, rcRootView& root, cConsoleSettings settings);

  // Fills the update rectangle with the background, then draws every row's characters in one run
  // each, learning the characters' widths from where their drawing ended.
  void Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) override;
  // An input console takes the keyboard focus and, unless it is the key handler already (then it
  // answers false), installs itself and refreshes. Any other console is a base view.
  bool MouseDown(const Wex::cPoint& p, std::int32_t time, bool doubleClick,
                 const Wex::cKeyModifiers& modifiers) override;
  // Writes the typed bytes not yet echoed and the new output, claims or releases the keyboard and
  // invalidates the cells whose displayed byte changed.
  void WindowStateChanged() override;
  // The blink timer starts here, then the element's attachment.
  void OnHostAttached(Wex::rcGUIRoot& host) override;
  // The element's detachment, then the console stops being the view's key handler.
  void OnHostDetached(Wex::rcGUIRoot& host) override;
  // The blink: re-armed a period after its due time (a period after now when it ran that late),
  // the phase flips and the changed cells are invalidated.
  void OnTimer(Wex::rcScheduler& scheduler, std::int32_t dueTime, std::int32_t now, std::uint32_t id) override;

  // A typed key, while input-active: backspace (8), Return (13) and 32 to 126 are echoed and edit
  // the line; Return stores the line with its "\n" in the input variable and runs the input action.
  // Answers whether the key was taken.
  virtual bool HandleTextInput(const Wex::cKeyEvent& key);
  // The key handler's press, given to HandleTextInput.
  bool KeyDown(const iref<Wex::iGUIView>& host, const Wex::cKeyEvent& key, bool repeat) override;

  const cConsoleSettings& GetSettings() const { return fSettings; }
  // The text grid's row, as the screen shows it from the top.
  std::string GetRowText(std::int32_t row) const;
  Wex::cPoint GetCursor() const { return {fCursorColumn, fCursorRow}; }
  bool IsInputActive() const { return fInputActive; }
  bool IsBlinkOn() const { return fBlinkOn; }
  const std::string& GetLineBuffer() const { return fLineBuffer; }

 private:
  // The edges of a cell's area, in 64 bits.
  struct cWideRect {
    std::int64_t fLeft = 0;
    std::int64_t fTop = 0;
    std::int64_t fRight = 0;
    std::int64_t fBottom = 0;
  };

  bool AcceptsInput() const { return !fSettings.fInputVariable.empty() || !fSettings.fInputAction.empty(); }
  // The text grid's rows form a ring that starts at fTopRow; a row whose epoch is not the
  // current one was cleared by a form feed and is blank.
  std::size_t RingRow(std::int32_t row) const;
  // The row's text bytes; null for a blank row.
  const std::uint8_t* TextRow(std::int32_t row) const;
  void SetTextByte(std::int32_t column, std::int32_t row, std::uint8_t byte);
  // The row as it is to be shown: its text bytes with the cursor where it shows, in a buffer that
  // the next call reuses.
  const std::uint8_t* DisplayedRow(std::int32_t row);
  std::uint8_t* ShownRow(std::int32_t row) {
    return fShownGrid.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(fSettings.fColumns);
  }
  void Write(std::string_view text);
  void WriteByte(std::uint8_t byte);
  void NewRow();
  void ClearTextRow(std::int32_t row);
  // The focus rules of a refresh: the keyboard is claimed on becoming visible and released on
  // becoming invisible; input is active when the console holds it.
  void UpdateFocus();
  bool IsKeyHandlerOf(Wex::iNativeView& view);
  // Whether the view and each of its ancestors is visible.
  bool IsShown() const;
  std::int64_t CellLeft(std::int32_t column) const;
  std::int64_t CellTop(std::int32_t row) const;
  cWideRect DirtyRect(std::int32_t column, std::int32_t row, std::uint8_t oldByte, std::uint8_t newByte) const;
  // Invalidates the cells whose displayed byte differs from the shown one, neighbours merged while
  // the merge wastes at most 100 square pixels.
  void InvalidateChanges();
  void Invalidate(const cWideRect& r);

  rcRootView* fRoot;
  cConsoleSettings fSettings;
  // What the screen shows now, row by row from the top.
  std::vector<std::uint8_t> fShownGrid;
  // The console's content.
  std::vector<std::uint8_t> fTextGrid;
  std::int32_t fTopRow = 0;
  std::vector<std::uint64_t> fRowEpochs;
  std::uint64_t fClearEpoch = 0;
  std::string fLastOutput;
  std::int32_t fCursorColumn = 0;
  std::int32_t fCursorRow = 0;
  bool fBlinkOn = true;
  // Scratch buffers of a row.
  std::vector<std::uint8_t> fDisplayedRow;
  std::vector<std::uint32_t> fRunCharacters;
  std::vector<Wex::cPoint> fRunStarts;
  std::vector<Wex::cPoint> fRunEnds;
  // Drawn widths by byte; kUnmeasured until the byte was drawn.
  std::array<std::int32_t, 256> fWidths;
  std::int32_t fLineHeight;
  std::int32_t fAscent = 0;
  std::int32_t fElementsSeen = 0;
  bool fInputActive = false;
  std::string fLineBuffer;
  std::string fEchoBuffer;
  bool fLastVisible = false;
};

// The "console" type: "dimensions", "font", "margins", "cursor" ("character", "image", "offset",
// "blinkRate"), "outputArray" or "outputVariable", "inputAction", "inputParams",
// "inputVariable", "tabSize" and "background"; then "autoRefresh" and "hint". Throws
// FormatException "Console view has negative or zero dimensions" and "Console view dimensions
// are too large" before asking for the font.
ref<Wex::rcGUIElement> MakeConsoleView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
