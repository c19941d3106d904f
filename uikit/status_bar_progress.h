// A progress bar living inside one pane of a status bar.
#pragma once

class wxGauge;
class wxStatusBar;

namespace ulk {

class StatusBarProgress {
 public:
  static constexpr int kControlId = 61000;  // as a wx id: WxId(kControlId)

  // Creates the (hidden) bar in the pane. Every other call does nothing
  // before Attach.
  void Attach(wxStatusBar* statusBar, int pane);
  // Follows the pane after the status bar was resized.
  void Reposition();
  void Show(bool show);
  void SetRange(int low, int high);
  void SetPosition(int value);

  wxGauge* gauge() const { return gauge_; }
  int position() const;

 private:
  wxStatusBar* statusBar_ = nullptr;
  wxGauge* gauge_ = nullptr;
  int pane_ = 0;
  int low_ = 0;
};

}  // namespace ulk
