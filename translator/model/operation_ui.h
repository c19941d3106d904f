// How operations talk to the user: the window implements it with message
// boxes, the status bar and the progress bar; ulk-cli with the terminal;
// tests with a script that records what was shown and answers as told.
#pragma once

#include <string>

namespace ulk {

enum class MessageIcon { kError, kExclamation, kQuestion, kInformation };

class OperationUi {
 public:
  virtual ~OperationUi() = default;

  virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;
  // A question with Yes and No buttons; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // Whether a file that is not the program's own may be replaced; asked
  // like any other question unless the caller has a policy of its own.
  virtual bool ConfirmReplace(const std::string& question) { return AskYesNo(question); }

  // Status bar, pane 0.
  virtual void PushStatusText(const std::string& text) = 0;
  virtual void PopStatusText() = 0;

  // The progress bar of long loops.
  virtual void ShowProgress(bool show) { (void)show; }
  virtual void SetProgressRange(int lower, int upper) { (void)lower, (void)upper; }
  virtual void SetProgressPos(int position) { (void)position; }

  // The wait cursor around long work.
  virtual void BeginWait() {}
  virtual void EndWait() {}
};

// Shows the wait cursor for the lifetime of the object.
class WaitCursor {
 public:
  explicit WaitCursor(OperationUi& ui) : ui_(ui) { ui_.BeginWait(); }
  ~WaitCursor() { ui_.EndWait(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  OperationUi& ui_;
};

// Pushes a status text for the lifetime of the object.
class StatusText {
 public:
  StatusText(OperationUi& ui, const std::string& text) : ui_(ui) { ui_.PushStatusText(text); }
  ~StatusText() { ui_.PopStatusText(); }
  StatusText(const StatusText&) = delete;
  StatusText& operator=(const StatusText&) = delete;

 private:
  OperationUi& ui_;
};

}  // namespace ulk
