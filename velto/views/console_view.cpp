#include "velto/views/console_view.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "base/exceptions.h"
#include "base/expression.h"
#include "base/text.h"
#include "gui/container.h"
#include "gui/native_view.h"
#include "gui/resources/attributes.h"
#include "gui/resources/canvas.h"
#include "gui/resources/layout.h"
#include "raster/solid.h"
#include "velto/actions.h"
#include "velto/root_view.h"

namespace Velto {

namespace {

// A width or line height not yet measured.
constexpr std::int32_t kUnmeasured = 16384;
// The most array elements that one refresh reads.
constexpr std::int64_t kMaxElementsPerRefresh = 65536;
// A merge of dirty rectangles may waste this many square pixels.
constexpr std::int64_t kMergeSlack = 100;

using Area = __int128;

// The element count of an array: 0 when it is not a number or negative.
std::int32_t ReadCount(rcRootView& root, const std::string& arrayName) {
  return std::max(0, Wex::StringToInt(root.GetController().GetVariable(root, arrayName + ".n"), 0));
}

// The blink rate (seconds) in whole milliseconds; 0, no blinking, for a rate that is negative, not
// a number, or too long for 32 bits.
std::int32_t BlinkPeriod(double seconds) {
  const double milliseconds = seconds * 1000.0;
  if (!(milliseconds >= 0.0 && milliseconds < std::numeric_limits<std::int32_t>::max())) return 0;
  return static_cast<std::int32_t>(std::lround(milliseconds));
}

}  // namespace

rcConsoleView::rcConsoleView(const Wex::cRect& r, rcRootView& root, cConsoleSettings settings)
    : rcView(r), fRoot(&root), fSettings(std::move(settings)), fLineHeight(kUnmeasured) {
  const auto cells = static_cast<std::size_t>(fSettings.fColumns) * static_cast<std::size_t>(fSettings.fRows);
  fShownGrid.assign(cells, ' ');
  fTextGrid.assign(cells, ' ');
  fRowEpochs.assign(static_cast<std::size_t>(fSettings.fRows), 0);
  const auto columns = static_cast<std::size_t>(fSettings.fColumns);
  fDisplayedRow.resize(columns);
  fRunCharacters.resize(columns);
  fRunStarts.resize(columns);
  fRunEnds.resize(columns);
  fWidths.fill(kUnmeasured);
  fWidths[' '] = 0;
  if (fSettings.fOutputIsArray) fElementsSeen = ReadCount(root, fSettings.fOutputName);
}

std::size_t rcConsoleView::RingRow(std::int32_t row) const {
  return static_cast<std::size_t>((fTopRow + row) % fSettings.fRows);
}

const std::uint8_t* rcConsoleView::TextRow(std::int32_t row) const {
  const std::size_t ringRow = RingRow(row);
  if (fRowEpochs[ringRow] != fClearEpoch) return nullptr;
  return fTextGrid.data() + ringRow * static_cast<std::size_t>(fSettings.fColumns);
}

void rcConsoleView::SetTextByte(std::int32_t column, std::int32_t row, std::uint8_t byte) {
  const std::size_t ringRow = RingRow(row);
  if (fRowEpochs[ringRow] != fClearEpoch) ClearTextRow(row);
  fTextGrid[ringRow * static_cast<std::size_t>(fSettings.fColumns) + static_cast<std::size_t>(column)] = byte;
}

void rcConsoleView::ClearTextRow(std::int32_t row) {
  const std::size_t ringRow = RingRow(row);
  const auto start =
      fTextGrid.begin() + static_cast<std::ptrdiff_t>(ringRow * static_cast<std::size_t>(fSettings.fColumns));
  std::fill(start, start + fSettings.fColumns, ' ');
  fRowEpochs[ringRow] = fClearEpoch;
}

const std::uint8_t* rcConsoleView::DisplayedRow(std::int32_t row) {
  const auto columns = static_cast<std::size_t>(fSettings.fColumns);
  if (const std::uint8_t* text = TextRow(row)) {
    std::copy_n(text, columns, fDisplayedRow.begin());
  } else {
    std::fill(fDisplayedRow.begin(), fDisplayedRow.end(), ' ');
  }
  if (row == fCursorRow && fInputActive && fBlinkOn && fSettings.fCursorCharacter != 0) {
    fDisplayedRow[static_cast<std::size_t>(fCursorColumn)] = fSettings.fCursorCharacter;
  }
  return fDisplayedRow.data();
}

std::string rcConsoleView::GetRowText(std::int32_t row) const {
  const std::uint8_t* text = TextRow(row);
  const auto columns = static_cast<std::size_t>(fSettings.fColumns);
  return text != nullptr ? std::string(text, text + columns) : std::string(columns, ' ');
}

std::int64_t rcConsoleView::CellLeft(std::int32_t column) const {
  const std::int64_t margin = fSettings.fMargins.fX;
  const std::int64_t width = std::int64_t{GetBounds().fRight} - GetBounds().fLeft;
  return GetBounds().fLeft + margin + (width - 2 * margin) * column / fSettings.fColumns;
}

std::int64_t rcConsoleView::CellTop(std::int32_t row) const {
  const std::int64_t margin = fSettings.fMargins.fY;
  const std::int64_t height = std::int64_t{GetBounds().fBottom} - GetBounds().fTop;
  return GetBounds().fTop + margin + (height - 2 * margin) * row / fSettings.fRows;
}

void rcConsoleView::Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) {
  if (fSettings.fBackground != 0) {
    cContextCanvas canvas(context);
    QorRaster::SolidRectPaint fill(fSettings.fBackground, EdgesToRect(update));
    canvas.Draw(fill);
  }
  iFont* font = fSettings.fFont.Get();
  if (font != nullptr && fLineHeight == kUnmeasured) font->GetMetrics(context, fLineHeight, fAscent);
  for (std::int32_t row = 0; row < fSettings.fRows; ++row) {
    const std::int32_t y = SaturateToInt32(CellTop(row) + fAscent);
    const std::uint8_t* displayed = DisplayedRow(row);
    std::copy_n(displayed, fSettings.fColumns, ShownRow(row));
    std::int32_t count = 0;
    for (std::int32_t column = 0; column < fSettings.fColumns; ++column) {
      const std::uint8_t byte = displayed[column];
      if (byte == ' ') continue;
      fRunCharacters[static_cast<std::size_t>(count)] = byte;
      fRunStarts[static_cast<std::size_t>(count)] = {SaturateToInt32(CellLeft(column)), y};
      ++count;
    }
    if (count == 0 || font == nullptr) continue;
    font->DrawCharacters(context, count, fRunStarts.data(), fRunCharacters.data(), fRunEnds.data());
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
      fWidths[fRunCharacters[i]] = SaturateToInt32(std::int64_t{fRunEnds[i].fX} - fRunStarts[i].fX);
    }
  }
}

bool rcConsoleView::MouseDown(const Wex::cPoint& p, std::int32_t time, bool doubleClick,
                              const Wex::cKeyModifiers& modifiers) {
  if (!AcceptsInput()) return rcView::MouseDown(p, time, doubleClick, modifiers);
  Wex::iNativeView* view = GetHostView();
  if (view != nullptr) {
    view->Activate();
    if (IsKeyHandlerOf(*view)) return false;
    view->SetKeyHandler(iref<Wex::iKeyHandler>(this));
  }
  WindowStateChanged();
  return true;
}

void rcConsoleView::WindowStateChanged() {
  iController& controller = fRoot->GetController();
  std::string pending = std::exchange(fEchoBuffer, {});
  if (fSettings.fOutputIsArray) {
    const std::int32_t count = ReadCount(*fRoot, fSettings.fOutputName);
    const std::int64_t first = std::max<std::int64_t>(fElementsSeen, std::int64_t{count} - kMaxElementsPerRefresh);
    for (std::int64_t i = first; i < count; ++i) {
      const std::string element = fSettings.fOutputName + "[" + Wex::IntToString(static_cast<std::int32_t>(i)) + "]";
      pending += controller.GetVariable(*fRoot, element);
    }
    fElementsSeen = count;
  } else if (std::string text = controller.GetVariable(*fRoot, fSettings.fOutputName); text != fLastOutput) {
    fLastOutput = text;
    pending = std::move(text);
    if (pending.empty() || pending.back() != '\n') pending += '\n';
  }
  Write(pending);
  fInputActive = false;
  if (AcceptsInput()) UpdateFocus();
  InvalidateChanges();
}

void rcConsoleView::Write(std::string_view text) {
  for (const char c : text) WriteByte(static_cast<std::uint8_t>(c));
}

void rcConsoleView::WriteByte(std::uint8_t byte) {
  switch (byte) {
    case 2:
      if (fCursorColumn != 0) NewRow();
      break;
    case 8:
      if (fCursorColumn > 0) SetTextByte(--fCursorColumn, fCursorRow, ' ');
      break;
    case 9: {
      const std::int64_t target = std::int64_t{fCursorColumn} + fSettings.fTabSize - fCursorColumn % fSettings.fTabSize;
      fCursorColumn = static_cast<std::int32_t>(std::min<std::int64_t>(target, fSettings.fColumns));
      break;
    }
    case 10:
      NewRow();
      break;
    case 12:
      // Every row counts as blank until it is written again.
      ++fClearEpoch;
      fTopRow = 0;
      fCursorColumn = 0;
      fCursorRow = 0;
      break;
    case 13:
      fCursorColumn = 0;
      break;
    default:
      if (byte < 32) break;
      SetTextByte(fCursorColumn, fCursorRow, byte);
      ++fCursorColumn;
      break;
  }
  if (fCursorColumn >= fSettings.fColumns) NewRow();
}

void rcConsoleView::NewRow() {
  fCursorColumn = 0;
  if (++fCursorRow < fSettings.fRows) return;
  // The top row becomes the new bottom row.
  fTopRow = (fTopRow + 1) % fSettings.fRows;
  fCursorRow = fSettings.fRows - 1;
  ClearTextRow(fCursorRow);
}

bool rcConsoleView::IsKeyHandlerOf(Wex::iNativeView& view) {
  return view.GetKeyHandler().Get() == static_cast<Wex::iKeyHandler*>(this);
}

bool rcConsoleView::IsShown() const {
  if (!IsVisible()) return false;
  for (const Wex::rcGUIElement* parent = GetParent(); parent != nullptr; parent = parent->GetParent()) {
    if (!parent->IsVisible()) return false;
  }
  return true;
}

void rcConsoleView::UpdateFocus() {
  Wex::iNativeView* view = GetHostView();
  const ref<Wex::rcExtWindow> window = view != nullptr ? view->GetWindow() : nullptr;
  if (!window) return;
  if (const bool visible = IsShown(); visible != fLastVisible) {
    fLastVisible = visible;
    if (visible) {
      view->Activate();
      view->SetKeyHandler(iref<Wex::iKeyHandler>(this));
    } else if (IsKeyHandlerOf(*view)) {
      view->SetKeyHandler(nullptr);
    }
  }
  fInputActive = view->IsKeyWindow() && window->IsKeyWindow() && IsKeyHandlerOf(*view);
}

rcConsoleView::cWideRect rcConsoleView::DirtyRect(std::int32_t column, std::int32_t row, std::uint8_t oldByte,
                                                  std::uint8_t newByte) const {
  const std::int64_t x = CellLeft(column);
  const std::int64_t y = CellTop(row);
  return {x - 2, y - 2, x + 2 + std::max(fWidths[oldByte], fWidths[newByte]), y + 2 + fLineHeight};
}

void rcConsoleView::InvalidateChanges() {
  const auto isEmpty = [](const cWideRect& r) { return r.fRight <= r.fLeft || r.fBottom <= r.fTop; };
  const auto area = [&isEmpty](const cWideRect& r) {
    return isEmpty(r) ? Area{0} : Area{r.fRight - r.fLeft} * Area{r.fBottom - r.fTop};
  };
  cWideRect merged;
  for (std::int32_t row = 0; row < fSettings.fRows; ++row) {
    const std::uint8_t* displayed = DisplayedRow(row);
    const std::uint8_t* shown = ShownRow(row);
    if (std::equal(displayed, displayed + fSettings.fColumns, shown)) continue;
    for (std::int32_t column = 0; column < fSettings.fColumns; ++column) {
      if (shown[column] == displayed[column]) continue;
      const cWideRect dirty = DirtyRect(column, row, shown[column], displayed[column]);
      if (isEmpty(dirty)) continue;
      if (isEmpty(merged)) {
        merged = dirty;
        continue;
      }
      const cWideRect both{std::min(merged.fLeft, dirty.fLeft), std::min(merged.fTop, dirty.fTop),
                           std::max(merged.fRight, dirty.fRight), std::max(merged.fBottom, dirty.fBottom)};
      if (area(dirty) + kMergeSlack + area(merged) < area(both)) {
        Invalidate(merged);
        merged = dirty;
      } else {
        merged = both;
      }
    }
  }
  if (!isEmpty(merged)) Invalidate(merged);
}

void rcConsoleView::Invalidate(const cWideRect& r) {
  InvalidateRect(
      {SaturateToInt32(r.fLeft), SaturateToInt32(r.fTop), SaturateToInt32(r.fRight), SaturateToInt32(r.fBottom)});
}

bool rcConsoleView::HandleTextInput(const Wex::cKeyEvent& key) {
  if (!AcceptsInput() || !fInputActive) return false;
  const std::uint8_t byte = key.fCharacter;
  // The action may rebuild the tree and so release this view.
  const ref<rcConsoleView> keep(this);
  if (byte == 8) {
    fEchoBuffer += '\b';
    if (!fLineBuffer.empty()) fLineBuffer.pop_back();
  } else if (byte == 13) {
    fEchoBuffer += '\n';
    fLineBuffer += '\n';
    const std::string line = std::exchange(fLineBuffer, {});
    if (!fSettings.fInputVariable.empty()) {
      fRoot->GetController().SetVariable(*fRoot, fSettings.fInputVariable, line, true);
    }
    if (!fSettings.fInputAction.empty()) PerformAction(*fRoot, fSettings.fInputAction, fSettings.fInputParams);
  } else if (byte >= 32 && byte <= 126) {
    fEchoBuffer += static_cast<char>(byte);
    fLineBuffer += static_cast<char>(byte);
  } else {
    return false;
  }
  WindowStateChanged();
  return true;
}

bool rcConsoleView::KeyDown(const iref<Wex::iGUIView>&, const Wex::cKeyEvent& key, bool) {
  return HandleTextInput(key);
}

void rcConsoleView::OnHostAttached(Wex::rcGUIRoot& host) {
  if (fSettings.fBlinkPeriod > 0) StartTimer(fSettings.fBlinkPeriod, kConsoleBlinkTimer);
  rcView::OnHostAttached(host);
}

void rcConsoleView::OnHostDetached(Wex::rcGUIRoot& host) {
  rcView::OnHostDetached(host);
  if (Wex::iNativeView* view = GetHostView(); view != nullptr && IsKeyHandlerOf(*view)) view->SetKeyHandler(nullptr);
}

void rcConsoleView::OnTimer(Wex::rcScheduler& scheduler, std::int32_t dueTime, std::int32_t now, std::uint32_t id) {
  if (id != kConsoleBlinkTimer || fSettings.fBlinkPeriod <= 0) return;
  const std::int32_t period = fSettings.fBlinkPeriod;
  // The signed difference of the 32-bit clock tells a later time from an earlier one.
  const std::int64_t late = Wex::WrapSub(now, dueTime);
  const std::int32_t next = late < period ? Wex::WrapAdd(dueTime, period) : Wex::WrapAdd(now, period);
  scheduler.AddTask(next, iref<Wex::iSchedulerCallback>(this), kConsoleBlinkTimer);
  fBlinkOn = !fBlinkOn;
  InvalidateChanges();
}

ref<Wex::rcGUIElement> MakeConsoleView(rcRootView& root, const Wex::cRect& bounds, const Description& description) {
  cConsoleSettings settings;
  const std::pair<std::int32_t, std::int32_t> dimensions =
      ReadIntPair(Wex::ValueOf(description, "dimensions"), {80, 40});
  if (dimensions.first <= 0 || dimensions.second <= 0) {
    throw FormatException("Console view has negative or zero dimensions");
  }
  if (std::int64_t{dimensions.first} * dimensions.second > kMaxConsoleCells) {
    throw FormatException("Console view dimensions are too large");
  }
  settings.fColumns = dimensions.first;
  settings.fRows = dimensions.second;
  settings.fFont = root.GetController().GetFont(root, std::string(Wex::ValueOf(description, "font")));
  settings.fMargins = ReadIntPoint(Wex::ValueOf(description, "margins"), {0, 0});
  if (description.contains("cursor")) {
    const Description cursor = Wex::ParseKeyValueMap(Wex::ValueOf(description, "cursor"));
    const std::string character = Wex::Unquote(Wex::ValueOf(cursor, "character"));
    settings.fCursorCharacter = character.empty() ? 0 : static_cast<std::uint8_t>(character.front());
    if (cursor.contains("image")) {
      settings.fCursorImage = root.GetController().GetLayeredImage(root, std::string(Wex::ValueOf(cursor, "image")));
    }
    settings.fCursorOffset = ReadIntPoint(Wex::ValueOf(cursor, "offset"), {0, 0});
    settings.fBlinkPeriod = BlinkPeriod(Wex::EvaluateExpression(Wex::ValueOf(cursor, "blinkRate"), 0.5));
  }
  settings.fOutputIsArray = description.contains("outputArray");
  settings.fOutputName =
      Wex::Unquote(Wex::ValueOf(description, settings.fOutputIsArray ? "outputArray" : "outputVariable"));
  settings.fInputAction = Wex::Unquote(Wex::ValueOf(description, "inputAction"));
  settings.fInputParams = Wex::Unquote(Wex::ValueOf(description, "inputParams"));
  settings.fInputVariable = Wex::Unquote(Wex::ValueOf(description, "inputVariable"));
  settings.fTabSize = std::max(1, Wex::StringToInt(Wex::ValueOf(description, "tabSize"), 8));
  settings.fBackground = ReadColor(Wex::ValueOf(description, "background"), 0);
  const ref<rcConsoleView> view(new rcConsoleView(bounds, root, std::move(settings)));
  root.ReadAutoRefresh(view, description);
  ReadHint(root, view, description);
  return view;
}

}  // namespace Velto
