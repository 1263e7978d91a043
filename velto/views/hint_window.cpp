#include "velto/views/hint_window.h"

#include "gui/native_view.h"
#include "gui/root.h"
#include "platform/front_process.h"

namespace Velto {

namespace {

const Wex::cRGBColor kWhite{255, 255, 255};
const Wex::cRGBColor kBlack{0, 0, 0};

}  // namespace

const ref<Wex::rcFont>& gDefaultFont() {
  static const ref<Wex::rcFont> font(new Wex::rcFont("", 11));
  return font;
}

rcHintWindow::rcHintWindow(std::int32_t extraWidth, std::int32_t height, const Wex::cRGBColor* backgroundColor,
                           Wex::cPoint textOrigin, const Wex::cRGBColor* textColor, const ref<Wex::rcFont>& font)
    : rcWindow({0, 0, 10, 10}, 0, 16, false),
      fExtraWidth(extraWidth),
      fHeight(height),
      fBackgroundColor(backgroundColor != nullptr ? *backgroundColor : kWhite),
      fTextOrigin(textOrigin),
      fTextColor(textColor != nullptr ? *textColor : kBlack),
      fFont(font) {
  SetAlphaValue(0.8f);
  SetDrawer(iref<Wex::iGUIElementDrawer>(this));
  SetListener(iref<Wex::iGUIElementListener>(this));
}

// The window is its own drawer and listener: it goes only after Close, which left nothing to do.
rcHintWindow::~rcHintWindow() = default;

void rcHintWindow::ShowHint(const ref<Wex::rcGUIElement>& view, Wex::cPoint point, const refString& text) {
  const ref<Wex::rcScheduler> scheduler = GetScheduler();
  if (fPending) {
    if (scheduler) scheduler->RemoveTasks(AsCallback(), kShowTimer);
    fPending = false;
  }
  fShown = true;
  fPoint = point;
  fOwner = view;
  fText = text ? text : Wex::rcString::GetEmpty();
  FitText();
  const Wex::cRect current = GetContentRect();
  SetContentRect(
      {point.fX, point.fY, Wex::WrapAdd(point.fX, current.Width()), Wex::WrapAdd(point.fY, current.Height())});
  Show();
  InvalidateAll();
  if (!scheduler) return;
  // One watch for every show in a row.
  scheduler->RemoveTasks(AsCallback(), kWatchTimer);
  scheduler->AddTask(Wex::WrapAdd(Wex::CurrentElementTime(), kWatchInterval), AsCallback(), kWatchTimer);
}

void rcHintWindow::ScheduleHint(const ref<Wex::rcGUIElement>& view, std::int32_t delay, Wex::cPoint point,
                                const refString& text) {
  const ref<Wex::rcScheduler> scheduler = GetScheduler();
  if (fShown || !scheduler || !CanShowFor(view)) return;
  const std::int32_t due = Wex::WrapAdd(Wex::CurrentElementTime(), delay);
  if (!fPending) {
    scheduler->AddTask(due, AsCallback(), kShowTimer);
    fPendingDueTime = due;
    fPending = true;
  } else if (Wex::WrapSub(due, fPendingDueTime) < 0) {
    scheduler->RemoveTasks(AsCallback(), kShowTimer);
    scheduler->AddTask(due, AsCallback(), kShowTimer);
    fPendingDueTime = due;
  }
  fPoint = point;
  fOwner = view;
  fText = text ? text : Wex::rcString::GetEmpty();
}

void rcHintWindow::HideHint(const ref<Wex::rcGUIElement>& view) {
  if (fOwner.Get() != view.Get()) return;
  if (const ref<Wex::rcScheduler> scheduler = GetScheduler()) scheduler->RemoveTasks(AsCallback(), kShowTimer);
  fPending = false;
  fShown = false;
  fOwner = nullptr;
  Hide();
}

void rcHintWindow::HideAnyHint() {
  if (const ref<Wex::rcGUIElement> owner = fOwner) HideHint(owner);
}

void rcHintWindow::UpdateShownText(const ref<Wex::rcGUIElement>& view, const refString& text) {
  if (fOwner.Get() != view.Get() || fText->IsEqual(text)) return;
  fText = text ? text : Wex::rcString::GetEmpty();
  if (!fShown) return;
  FitText();
  InvalidateAll();
}

bool rcHintWindow::CanShowFor(const ref<Wex::rcGUIElement>& view) {
  const ref<Wex::rcExtWindow> window = view ? view->GetHostWindow() : nullptr;
  return window && window->IsVisible() && Wex::IsFrontProcess();
}

void rcHintWindow::FitText() {
  if (!fFont) return;
  const ref<Wex::rcGraphicsContext> context = BeginDrawing();
  if (!context) return;
  const std::int32_t width = context->GetTextWidth(*fFont, fText->GetChars());
  if (width == fTextWidth) return;
  fTextWidth = width;
  const Wex::cPoint topLeft = GetContentRect().TopLeft();
  SetContentRect({topLeft.fX, topLeft.fY, Wex::WrapAdd(topLeft.fX, Wex::WrapAdd(width, fExtraWidth)),
                  Wex::WrapAdd(topLeft.fY, fHeight)});
}

void rcHintWindow::OnTimer(Wex::rcScheduler& scheduler, std::int32_t, std::int32_t now, std::uint32_t id) {
  const ref<rcHintWindow> keep(this);
  const ref<Wex::rcGUIElement> owner = fOwner;
  if (id == kShowTimer) {
    fPending = false;
    // A show that may no longer happen is dropped with its owner.
    if (CanShowFor(owner)) {
      ShowHint(owner, fPoint, fText);
    } else {
      HideHint(owner);
    }
  } else if (id == kWatchTimer && fShown) {
    if (CanShowFor(owner)) {
      scheduler.AddTask(Wex::WrapAdd(now, kWatchInterval), AsCallback(), kWatchTimer);
    } else {
      HideHint(owner);
    }
  }
}

void rcHintWindow::Draw(const iref<Wex::iGUIView>&, Wex::rcGraphicsContext& context, const Wex::cRect& update) {
  if (!fFont) return;
  context.FillRect(update, fBackgroundColor.fRed, fBackgroundColor.fGreen, fBackgroundColor.fBlue);
  context.DrawText(fTextOrigin, fTextColor, *fFont, fText->GetChars());
}

void rcHintWindow::TitleChanged(const iref<Wex::iGUIView>&) {}
void rcHintWindow::FrameChanged(const iref<Wex::iGUIView>&) {}
void rcHintWindow::VisibilityChanged(const iref<Wex::iGUIView>&) {}
void rcHintWindow::ActivationChanged(const iref<Wex::iGUIView>&) {}
void rcHintWindow::HierarchyChanged(const iref<Wex::iGUIView>&) {}

void rcHintWindow::Close() {
  // Closing drops the window's references to itself (its drawer and listener).
  const ref<rcHintWindow> keep(this);
  if (const ref<Wex::rcScheduler> scheduler = GetScheduler()) scheduler->RemoveAllTasksOf(AsCallback());
  HideAnyHint();
  fFont = nullptr;
  fText = Wex::rcString::GetEmpty();
  rcWindow::Close();
}

}  // namespace Velto
