// Status-bar progress.
#include "uikit/status_bar_progress.h"

#include <algorithm>

#include <wx/gauge.h>
#include <wx/statusbr.h>

#include "uikit/command_id.h"

namespace ulk {

void StatusBarProgress::Attach(wxStatusBar* statusBar, int pane) {
  statusBar_ = statusBar;
  pane_ = pane;
  wxRect rect;
  statusBar_->GetFieldRect(pane_, rect);
  gauge_ = new wxGauge(statusBar_, WxId(kControlId), 100, rect.GetPosition(), rect.GetSize(),
                       wxGA_HORIZONTAL | wxGA_SMOOTH);
  gauge_->Hide();
}

void StatusBarProgress::Reposition() {
  if (!statusBar_ || !gauge_) return;
  wxRect rect;
  if (statusBar_->GetFieldRect(pane_, rect)) gauge_->SetSize(rect);
}

void StatusBarProgress::Show(bool show) {
  if (!gauge_) return;
  if (show) Reposition();
  gauge_->Show(show);
}

void StatusBarProgress::SetRange(int low, int high) {
  if (!gauge_) return;
  low_ = low;
  gauge_->SetRange(std::max(1, high - low));
  gauge_->SetValue(0);
}

void StatusBarProgress::SetPosition(int value) {
  if (!gauge_) return;
  gauge_->SetValue(std::clamp(value - low_, 0, gauge_->GetRange()));
}

int StatusBarProgress::position() const {
  return gauge_ ? gauge_->GetValue() + low_ : 0;
}

}  // namespace ulk
